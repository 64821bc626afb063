#ifndef QAFILEUTIL_H
#define QAFILEUTIL_H

#include <QString>

// Path arithmetic on text alone, for paths of any platform: a report
// written on Windows names "D:\work\src\a.c" whatever machine reads it.
class QAFileUtil
{
public:
    // path expressed relative to the folder dir, with the separator path
    // uses ("../src/a.c", "..\src\a.c"). A path that cannot be made
    // relative to dir (another drive, or one of the two is relative and
    // the other not) is returned unchanged. Drive letters compare without
    // case, everything else with case. Linear in the lengths.
    static QString absPathToRelative(const QString& dir, const QString& path);
};

#endif
