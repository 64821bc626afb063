#ifndef QAREPORTERSAVEAS_H
#define QAREPORTERSAVEAS_H

#include <QCoreApplication>
#include <QString>

#include <functional>

class QAReporter;
class QFileInfo;
class QWidget;

// Saves a copy of each report file of a viewer window under a name the user
// chooses, one file dialog per report, in the window's order. Only the
// report file itself is copied, byte for byte; the files it refers to are
// not, and nothing inside the copy changes. Every problem is reported in a
// warning box and the next report follows; the window is left as it was.
class QAReporterSaveAs
{
    Q_DECLARE_TR_FUNCTIONS(QAReporter)

public:
    // Asks for the destination of one report; an empty result cancels it.
    using Chooser = std::function<QString(QWidget* parent, const QString& caption,
                                          const QString& directory, const QString& filter)>;

    explicit QAReporterSaveAs(QAReporter* window);

    // The save file dialog by default.
    void setChooser(const Chooser& chooser) { m_chooser = chooser; }

    void run();

private:
    void saveReport(const QFileInfo& source);
    void copy(const QFileInfo& source, const QFileInfo& destination);
    void warn(const QString& text);

    QAReporter* m_window;
    QString m_title;
    Chooser m_chooser;
};

#endif
