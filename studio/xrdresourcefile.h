#ifndef XRDRESOURCEFILE_H
#define XRDRESOURCEFILE_H

#include <QList>
#include <QString>

#include <memory>

class QAResGroup;
class QAResProducer;

// The saved settings of the plug-ins: one XML resource file under the
// user's configuration folder. Its root group holds what each producer
// gives for the tag "REPORTER". It is written through QSaveFile, so a crash
// or a full disk while saving leaves the previous file whole.
class XrdResourceFile
{
public:
    explicit XrdResourceFile(const QString& path);

    // resources.xml in the application's configuration folder.
    static QString defaultPath();
    static const char* rootTag();

    QString path() const { return m_path; }

    // The root group read back; null when there is no file or nothing
    // could be read from it.
    std::unique_ptr<QAResGroup> read();
    bool write(const QList<QAResProducer*>& producers);
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
};

#endif
