#include "qapixmapcenter.h"

#include <QDir>
#include <QFileInfo>

QAPixmapCenter::QAPixmapCenter() = default;

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
    m_builtIn.clear();
}

QString QAPixmapCenter::getPathByFileName(const QString& fileName)
{
    if (fileName.isEmpty())
        return QString();
    const auto cached = m_paths.constFind(fileName);
    if (cached != m_paths.constEnd())
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
    m_paths.insert(fileName, found);
    return found;
}

QPixmap QAPixmapCenter::getPixmapByFilePath(const QString& path)
{
    if (path.isEmpty())
        return QPixmap();
    auto cached = m_files.find(path);
    if (cached == m_files.end())
        cached = m_files.insert(path, QPixmap(path));
    return *cached;
}

QPixmap QAPixmapCenter::pixmap(const QString& name, const char* const* xpm)
{
    const auto cached = m_builtIn.constFind(name);
    if (cached != m_builtIn.constEnd())
        return *cached;

    QPixmap picture;
    for (const QString& fileName : {name, name + ".png", name + ".xpm"}) {
        const QString path = getPathByFileName(fileName);
        if (!path.isEmpty()) {
            picture = getPixmapByFilePath(path);
            if (!picture.isNull())
                break;
        }
    }
    if (picture.isNull() && xpm)
        picture = QPixmap(xpm);
    m_builtIn.insert(name, picture);
    return picture;
}

QAPixmapCenter* pixmapcenter()
{
    static QAPixmapCenter* center = new QAPixmapCenter;
    return center;
}
