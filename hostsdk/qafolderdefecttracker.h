#ifndef QAFOLDERDEFECTTRACKER_H
#define QAFOLDERDEFECTTRACKER_H

#include "tallyvaneinterface.h"

#include <QString>
#include <QStringList>

#include <functional>

// A defect tracker client that needs no tracking tool: each defect becomes
// a folder under a base directory, holding headline.txt, description.txt,
// a copy of the attached file and index.json (headline, description,
// attachment, created).
//
// With a command template set, a defect is handed to that command instead,
// for instance
//   tracker-cli new --title {headline} --body-file {description-file} --attach {attachment}
// The template is split into arguments by QProcess::splitCommand() (double
// quotes group words, a tripled quote is a literal one), and the
// placeholders {headline}, {description}, {description-file}, {attachment}
// and {attachment-description} are replaced inside each argument, so a
// value with spaces stays one argument. The command run is then the
// client's command line, and its error output the error message when it
// fails.
class QAFolderDefectTracker : public TallyvaneInterface
{
public:
    explicit QAFolderDefectTracker(const QString& baseDir,
                                   const QString& commandTemplate = QString());

    QString baseDir() const { return m_baseDir; }
    QString commandTemplate() const { return m_commandTemplate; }
    // The folder of the last defect filed, empty before the first one.
    QString lastDefectDir() const { return m_lastDefectDir; }
    // Milliseconds a command may run before it counts as failed (default 60 s).
    void setCommandTimeout(int milliseconds) { m_timeout = milliseconds; }
    // Shown the headline and description (and the attachment) before the
    // defect is filed; may change them, and returns false to cancel the
    // filing. None by default: the defect is filed as it was filled.
    using Editor =
        std::function<bool(QString& headline, QString& description, const QString& attachment)>;
    void setEditor(const Editor& editor) { m_editor = editor; }

    short establishConnection() override;
    short createForm() override;
    short setHeadLine(const char* headline) override;
    short setDescription(const char* description) override;
    short addFileAttachment(const char* path, const char* description) override;
    short showTallyvaneDefectWindow(short modal) override;

private:
    short fileInFolder();
    short fileByCommand();
    QString createDefectDir() const;
    bool writeText(const QString& path, const QString& text) const;
    QStringList commandArguments(const QString& descriptionFile) const;

    QString m_baseDir;
    QString m_commandTemplate;
    QString m_lastDefectDir;
    int m_timeout = 60000;
    Editor m_editor;
    bool m_formOpen = false;
    QString m_headline;
    QString m_description;
    QString m_attachment;
    QString m_attachmentDescription;
};

#endif
