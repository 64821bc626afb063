#ifndef XRDINSTALLPATHS_H
#define XRDINSTALLPATHS_H

#include <QString>
#include <QStringList>

// Where the program finds what it ships besides itself: the data folder
// (lib/reporterstyle.aml, pictures, dhtml.cfg), the translations and the
// viewer plug-in. The program runs both from the build tree
// (build/studio/xrdview, data in the source tree's resources/, translations
// compiled beside the program) and from an installed prefix (bin/xrdview,
// data and translations in share/xrdview, the plug-in in lib/xrdview). Every
// installed path is relative to the executable, so that a prefix can move.
class XrdInstallPaths
{
public:
    // appDir: the folder of the executable; sourceResources: the source
    // tree's resources folder, tried after the installed layout.
    XrdInstallPaths(const QString& appDir, const QString& sourceResources);

    // The data folder: the first candidate holding lib/reporterstyle.aml;
    // the installed one when none does.
    QString dataDir() const;
    QString homeDir() const { return dataDir(); }
    QString configDirectory() const { return dataDir(); }
    QString pixmapDirectory() const { return dataDir() + QStringLiteral("/pixmaps"); }

    // The folders to look for xrdview_<language>.qm in, in order: the
    // installed prefix, the build tree.
    QStringList translationDirectories() const;

    // The plug-in files to try when the user names none, in order: the
    // build tree, the installed prefix.
    QStringList pluginCandidates() const;

    static QString pluginFileName();

private:
    QString m_appDir;
    QString m_sourceResources;
};

#endif
