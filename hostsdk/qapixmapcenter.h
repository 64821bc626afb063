#ifndef QAPIXMAPCENTER_H
#define QAPIXMAPCENTER_H

#include <QCache>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The host's pixmap centre. Pictures are looked up by file name in the
// host's pixmap directories, in the order the directories were given, so a
// host can replace any built-in picture by dropping a file of that name
// there. Lookups and loaded pictures are kept in Qt caches: the same icon is
// asked for once per tree item, and a report tree can have many thousand
// items.
class QAPixmapCenter
{
public:
    QAPixmapCenter();

    void addPixmapDirectory(const QString& directory);
    void setPixmapDirectories(const QStringList& directories);
    QStringList pixmapDirectories() const { return m_directories; }

    // The full path of the first file called fileName in a pixmap
    // directory (an absolute fileName, or a resource path ":/...", is taken
    // as it stands); empty when there is none.
    QString getPathByFileName(const QString& fileName);

    // The picture in the file at path; a null pixmap when it cannot be read.
    QPixmap getPixmapByFilePath(const QString& path);

    // The host's picture called name (a file name, name.png or name.xpm in
    // a pixmap directory), else the built-in picture at builtInPath, a
    // resource path such as ":/pixmaps/testok.xpm". Cached by name.
    QPixmap pixmap(const QString& name, const QString& builtInPath);

    // Forgets every cached lookup and picture, so that files added to the
    // directories since are seen.
    void clearCache();

private:
    QPixmap hostPixmap(const QString& name);

    QStringList m_directories;
    // Costs are in kilobytes of picture data for pictures, one per path.
    QCache<QString, QString> m_paths;  // file name -> full path, or empty
    QCache<QString, QPixmap> m_files;  // full path -> picture
    QCache<QString, QPixmap> m_byName; // picture name -> picture
};

// The process-wide pixmap centre, created on first use.
QAPixmapCenter* pixmapcenter();

#define GETPIX(name, builtInPath) pixmapcenter()->pixmap(name, builtInPath)

#endif
