#ifndef BENCHFILES_H
#define BENCHFILES_H

#include <QString>

// Inputs shared by every benchmark program: generated reports kept in a
// cache directory of the build folder, made once and reused, and files of
// the source tree.
class BenchFiles
{
public:
    // The cache directory: $XRD_BENCH_CACHE, else "bench-cache" beside the
    // benchmark programs (in the build folder). Created when missing.
    static QString cacheDirectory();

    // Path of the generated report of that many cases, generating it on the
    // first request. Empty when it cannot be written.
    static QString report(int cases, double failShare = 0.1, quint64 seed = 1);

    // Path of the generated JUnit XML file of that many cases, generated
    // on the first request like report(). Empty when it cannot be written.
    static QString junit(int cases, quint64 seed = 1);

    // Path of a file of the source tree ("resources/lib/reporterstyle.aml"),
    // found through $XRD_SOURCE_DIR, the folders above the programs, or the
    // build folder's CMake cache. Empty when not found.
    static QString sourceFile(const QString& relativePath);
    // The source tree's resources folder (styles, pictures, dhtml.cfg), as
    // a benchmark host's home; empty when not found.
    static QString resourcesFolder();
};

#endif
