#include "benchfiles.h"

#include "junitgenerator.h"
#include "reportgenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

// Bumped whenever the generator's output changes, so that stale cached
// reports are not measured.
const int GeneratorVersion = 1;

QString sourceDirFromCMakeCache(const QDir& buildDir)
{
    QFile cache(buildDir.filePath(QStringLiteral("CMakeCache.txt")));
    if (!cache.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QByteArray key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    while (!cache.atEnd()) {
        const QByteArray line = cache.readLine().trimmed();
        if (line.startsWith(key))
            return QString::fromLocal8Bit(line.mid(key.size()));
    }
    return QString();
}

} // namespace

QString BenchFiles::cacheDirectory()
{
    QString path = qEnvironmentVariable("XRD_BENCH_CACHE");
    if (path.isEmpty())
        path = QCoreApplication::applicationDirPath() + QStringLiteral("/bench-cache");
    QDir().mkpath(path);
    return QDir::cleanPath(path);
}

QString BenchFiles::report(int cases, double failShare, quint64 seed)
{
    const QString name = QStringLiteral("report_%1cases_fail%2_seed%3_v%4.xrd")
                             .arg(cases)
                             .arg(failShare, 0, 'f', 3)
                             .arg(seed)
                             .arg(GeneratorVersion);
    const QString path = QDir(cacheDirectory()).filePath(name);
    if (QFileInfo::exists(path))
        return path;

    // Written under a temporary name and renamed, so that programs running
    // side by side never read a half-written report.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    ReportGenerator generator;
    generator.setCaseCount(cases);
    generator.setFailShare(failShare);
    generator.setSeed(seed);
    if (!generator.write(&file) || !file.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(generator.errorString()));
        return QString();
    }
    return path;
}

QString BenchFiles::junit(int cases, quint64 seed)
{
    const QString name =
        QStringLiteral("junit_%1cases_seed%2_v%3.xml").arg(cases).arg(seed).arg(GeneratorVersion);
    const QString path = QDir(cacheDirectory()).filePath(name);
    if (QFileInfo::exists(path))
        return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    JUnitGenerator generator;
    generator.setCaseCount(cases);
    generator.setSeed(seed);
    if (!generator.write(&file) || !file.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(generator.errorString()));
        return QString();
    }
    return path;
}

QString BenchFiles::sourceFile(const QString& relativePath)
{
    QStringList roots;
    const QString fromEnvironment = qEnvironmentVariable("XRD_SOURCE_DIR");
    if (!fromEnvironment.isEmpty())
        roots << fromEnvironment;
    for (QDir dir(QCoreApplication::applicationDirPath());;) {
        roots << dir.path();
        const QString fromCache = sourceDirFromCMakeCache(dir);
        if (!fromCache.isEmpty())
            roots << fromCache;
        if (!dir.cdUp())
            break;
    }
    for (const QString& root : roots) {
        const QString candidate = QDir(root).filePath(relativePath);
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

QString BenchFiles::resourcesFolder()
{
    const QString config = sourceFile(QStringLiteral("resources/dhtml.cfg"));
    return config.isEmpty() ? QString() : QFileInfo(config).absolutePath();
}
