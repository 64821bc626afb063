#include "qafolderdefecttracker.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace {

// One argument of a command line as QProcess::splitCommand() reads it back:
// double quotes around text with spaces, a literal quote tripled.
QString quoted(const QString& argument)
{
    const bool plain =
        !argument.isEmpty() && std::none_of(argument.begin(), argument.end(),
                                            [](QChar c) { return c.isSpace() || c == '"'; });
    if (plain)
        return argument;
    QString escaped = argument;
    escaped.replace('"', QStringLiteral("\"\"\""));
    return '"' + escaped + '"';
}

} // namespace

QAFolderDefectTracker::QAFolderDefectTracker(const QString& baseDir, const QString& commandTemplate)
    : TallyvaneInterface("", baseDir.toLocal8Bit().constData(), "", "", "", "defect"),
      m_baseDir(baseDir), m_commandTemplate(commandTemplate)
{
}

short QAFolderDefectTracker::establishConnection()
{
    startOperation();
    if (!m_commandTemplate.isEmpty())
        return 1;
    if (!QDir().mkpath(m_baseDir))
        return fail("Cannot create the defect folder " + m_baseDir.toLocal8Bit() + ".");
    return 1;
}

short QAFolderDefectTracker::createForm()
{
    startOperation();
    m_formOpen = true;
    m_headline.clear();
    m_description.clear();
    m_attachment.clear();
    m_attachmentDescription.clear();
    return 1;
}

short QAFolderDefectTracker::setHeadLine(const char* headline)
{
    startOperation();
    if (!m_formOpen)
        return fail("No defect form is open.");
    m_headline = QString::fromLocal8Bit(headline);
    return 1;
}

short QAFolderDefectTracker::setDescription(const char* description)
{
    startOperation();
    if (!m_formOpen)
        return fail("No defect form is open.");
    m_description = QString::fromLocal8Bit(description);
    return 1;
}

short QAFolderDefectTracker::addFileAttachment(const char* path, const char* description)
{
    startOperation();
    if (!m_formOpen)
        return fail("No defect form is open.");
    const QString file = QString::fromLocal8Bit(path);
    if (!QFileInfo(file).isFile())
        return fail("The file to attach does not exist: " + QByteArray(path));
    m_attachment = file;
    m_attachmentDescription = QString::fromLocal8Bit(description);
    return 1;
}

short QAFolderDefectTracker::showTallyvaneDefectWindow(short)
{
    startOperation();
    if (!m_formOpen)
        return fail("No defect form is open.");
    if (m_editor && !m_editor(m_headline, m_description, m_attachment))
        return fail("The defect report was cancelled; nothing was filed.");
    const short filed = m_commandTemplate.isEmpty() ? fileInFolder() : fileByCommand();
    if (filed)
        m_formOpen = false;
    return filed;
}

short QAFolderDefectTracker::fileInFolder()
{
    const QString dir = createDefectDir();
    if (dir.isEmpty())
        return fail("Cannot create a defect folder in " + m_baseDir.toLocal8Bit() + ".");
    const QString attachmentName = QFileInfo(m_attachment).fileName();
    if (!m_attachment.isEmpty() && !QFile::copy(m_attachment, dir + '/' + attachmentName))
        return fail("Cannot copy the attached file " + m_attachment.toLocal8Bit() + ".");
    QJsonObject index;
    index["headline"] = m_headline;
    index["description"] = m_description;
    index["attachment"] = attachmentName;
    index["created"] = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const QString indexText = QString::fromUtf8(QJsonDocument(index).toJson());
    if (!writeText(dir + "/headline.txt", m_headline) ||
        !writeText(dir + "/description.txt", m_description) ||
        !writeText(dir + "/index.json", indexText))
        return fail("Cannot write the defect into " + dir.toLocal8Bit() + ".");
    m_lastDefectDir = dir;
    return 1;
}

// A new folder named after the time, with a counter when that name is taken.
QString QAFolderDefectTracker::createDefectDir() const
{
    QDir base(m_baseDir);
    if (!base.mkpath(QStringLiteral(".")))
        return QString();
    const QString stem = QDateTime::currentDateTime().toString("'defect-'yyyyMMdd-hhmmss");
    for (int counter = 1; counter < 1000; ++counter) {
        const QString name = counter == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(counter);
        if (!base.exists(name) && base.mkdir(name))
            return base.absoluteFilePath(name);
    }
    return QString();
}

bool QAFolderDefectTracker::writeText(const QString& path, const QString& text) const
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

short QAFolderDefectTracker::fileByCommand()
{
    // The description goes to the command in a file of its own: it is
    // several lines long and may be too long for an argument.
    QTemporaryFile descriptionFile(QDir::tempPath() + "/defect-XXXXXX.txt");
    if (!descriptionFile.open() || descriptionFile.write(m_description.toUtf8()) < 0 ||
        !descriptionFile.flush())
        return fail("Cannot write the description for the defect command.");
    const QStringList arguments = commandArguments(descriptionFile.fileName());
    if (arguments.isEmpty())
        return fail("The defect command is empty.");
    QStringList shown;
    for (const QString& argument : arguments)
        shown << quoted(argument);
    setCmdLine(shown.join(' ').toLocal8Bit());

    QProcess process;
    process.start(arguments.first(), arguments.mid(1));
    if (!process.waitForStarted(m_timeout))
        return fail("Cannot run " + arguments.first().toLocal8Bit() + ": " +
                    process.errorString().toLocal8Bit());
    process.closeWriteChannel();
    if (!process.waitForFinished(m_timeout)) {
        process.kill();
        process.waitForFinished();
        return fail("The defect command did not finish.");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QByteArray errors = process.readAllStandardError().trimmed();
        return fail(errors.isEmpty() ? "The defect command failed with exit code " +
                                           QByteArray::number(process.exitCode()) + "."
                                     : errors);
    }
    return 1;
}

QStringList QAFolderDefectTracker::commandArguments(const QString& descriptionFile) const
{
    QStringList arguments = QProcess::splitCommand(m_commandTemplate);
    for (QString& argument : arguments) {
        argument.replace(QStringLiteral("{headline}"), m_headline);
        argument.replace(QStringLiteral("{description-file}"), descriptionFile);
        argument.replace(QStringLiteral("{description}"), m_description);
        argument.replace(QStringLiteral("{attachment-description}"), m_attachmentDescription);
        argument.replace(QStringLiteral("{attachment}"), m_attachment);
    }
    return arguments;
}
