#include "dhtmlpictures.h"

#include "dhtmlfilename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "qailogmonitor.h"

void DHtmlPictures::clear()
{
    m_found.clear();
    m_missing.clear();
    m_fileNames.clear();
}

QString DHtmlPictures::locate(const QString& source, const QStringList& folders)
{
    // Names with NUL or other controls name no real file.
    for (QChar ch : source)
        if (ch.unicode() < 0x20)
            return QString();
    // Like the view: an absolute name as it is, else the first folder
    // holding it.
    const QFileInfo direct(source);
    if (direct.isAbsolute())
        return direct.isFile() ? direct.absoluteFilePath() : QString();
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo candidate(QDir(folder), source);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

QString DHtmlPictures::add(const QString& source, const QStringList& folders)
{
    const auto known = m_fileNames.constFind(source);
    if (known != m_fileNames.cend())
        return *known;
    const QString path = source.isEmpty() ? QString() : locate(source, folders);
    QString fileName;
    if (path.isEmpty()) {
        m_missing.append(source);
    } else {
        fileName = DHtmlFileName::keepingExtension(source);
        // A copy must never take the place of a page or of the stylesheet:
        // such a name gets a neutral extension (the '/' makes it count as
        // changed, so it carries the hash of the source).
        static const QStringList pageTypes{"html", "htm", "xhtml", "css", "js"};
        if (pageTypes.contains(QFileInfo(fileName).suffix().toLower()))
            fileName = DHtmlFileName::make(source + QLatin1Char('/'), QStringLiteral(".img"));
        m_found.append({source, path, fileName});
    }
    m_fileNames.insert(source, fileName);
    return fileName;
}

bool DHtmlPictures::copyFile(const QString& from, const QString& to, QString& error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
        return false;
    }
    // A new file replaces whatever is there at once.
    DHtmlFileName::dropLink(to);
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) {
        error = out.errorString();
        return false;
    }
    QByteArray chunk;
    while (!(chunk = in.read(1 << 16)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            error = out.errorString();
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        error = in.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}

bool DHtmlPictures::copyTo(const QString& dir, QAILogMonitor* log) const
{
    bool ok = true;
    const QDir target(dir);
    for (const Picture& picture : m_found) {
        const QString to = target.filePath(picture.fileName);
        QString error;
        if (copyFile(picture.path, to, error))
            continue;
        ok = false;
        if (log)
            log->error(QStringLiteral("HTML export: cannot copy the picture %1 to %2: %3")
                           .arg(picture.path, to, error));
    }
    return ok;
}
