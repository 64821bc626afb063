#include "xrdinstallpaths.h"

#include <QDir>
#include <QFileInfo>

XrdInstallPaths::XrdInstallPaths(const QString& appDir, const QString& sourceResources)
    : m_appDir(appDir), m_sourceResources(sourceResources)
{
}

QString XrdInstallPaths::dataDir() const
{
    const QString installed = QDir::cleanPath(m_appDir + QStringLiteral("/../share/xrdview"));
    for (const QString& candidate : {installed, QDir::cleanPath(m_sourceResources)}) {
        if (!candidate.isEmpty() &&
            QFileInfo::exists(candidate + QStringLiteral("/lib/reporterstyle.aml")))
            return candidate;
    }
    return installed;
}

QStringList XrdInstallPaths::translationDirectories() const
{
    return {QDir::cleanPath(m_appDir + QStringLiteral("/../share/xrdview/translations")),
            QDir::cleanPath(m_appDir)};
}

QStringList XrdInstallPaths::pluginCandidates() const
{
    return {QDir::cleanPath(m_appDir + QStringLiteral("/../plugin/") + pluginFileName()),
            QDir::cleanPath(m_appDir + QStringLiteral("/../lib/xrdview/") + pluginFileName())};
}

QString XrdInstallPaths::pluginFileName()
{
    return QStringLiteral("libxrdreporter.so");
}
