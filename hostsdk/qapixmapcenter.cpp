#include "qapixmapcenter.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Room for thousands of file lookups and a few megabytes of pictures: far
// more than a host's icons, so nothing is evicted in practice, yet bounded.
const qsizetype PathCacheEntries = 4096;
const qsizetype PictureCacheKilobytes = 8 * 1024;

qsizetype costOf(const QPixmap& picture)
{
    const qint64 bytes = qint64(picture.width()) * picture.height() * picture.depth() / 8;
    return qsizetype(qMax<qint64>(1, bytes / 1024));
}

} // namespace

QAPixmapCenter::QAPixmapCenter()
    : m_paths(PathCacheEntries), m_files(PictureCacheKilobytes), m_byName(PictureCacheKilobytes)
{
}

void QAPixmapCenter::addPixmapDirectory(const QString& directory)
{
    m_directories.append(directory);
    clearCache();
}

void QAPixmapCenter::setPixmapDirectories(const QStringList& directories)
{
    m_directories = directories;
    clearCache();
}

void QAPixmapCenter::clearCache()
{
    m_paths.clear();
    m_files.clear();
    m_byName.clear();
}

QString QAPixmapCenter::getPathByFileName(const QString& fileName)
{
    if (fileName.isEmpty())
        return QString();
    if (const QString* cached = m_paths.object(fileName))
        return *cached;

    QString found;
    if (QDir::isAbsolutePath(fileName)) {
        if (QFileInfo(fileName).isFile())
            found = fileName;
    } else {
        for (const QString& directory : std::as_const(m_directories)) {
            const QFileInfo candidate(QDir(directory), fileName);
            if (candidate.isFile()) {
                found = candidate.absoluteFilePath();
                break;
            }
        }
    }
    m_paths.insert(fileName, new QString(found));
    return found;
}

QPixmap QAPixmapCenter::getPixmapByFilePath(const QString& path)
{
    if (path.isEmpty())
        return QPixmap();
    if (const QPixmap* cached = m_files.object(path))
        return *cached;
    const QPixmap picture(path);
    m_files.insert(path, new QPixmap(picture), costOf(picture));
    return picture;
}

QPixmap QAPixmapCenter::hostPixmap(const QString& name)
{
    for (const QString& fileName : {name, name + ".png", name + ".xpm"}) {
        const QPixmap picture = getPixmapByFilePath(getPathByFileName(fileName));
        if (!picture.isNull())
            return picture;
    }
    return QPixmap();
}

QPixmap QAPixmapCenter::pixmap(const QString& name, const QString& builtInPath)
{
    if (const QPixmap* cached = m_byName.object(name))
        return *cached;

    QPixmap picture = hostPixmap(name);
    if (picture.isNull())
        picture = getPixmapByFilePath(builtInPath);
    m_byName.insert(name, new QPixmap(picture), costOf(picture));
    return picture;
}

QAPixmapCenter* pixmapcenter()
{
    static QAPixmapCenter* center = new QAPixmapCenter;
    return center;
}
