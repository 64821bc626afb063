#include "qafileutil.h"

#include <QStringList>

namespace {

struct SplitPath
{
    QString root; // "", "/", "C:", "C:/" (drive letters in upper case)
    QStringList parts;
};

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

SplitPath split(const QString& path)
{
    SplitPath result;
    int start = 0;
    if (path.size() >= 2 && path.at(0).isLetter() && path.at(1) == QLatin1Char(':')) {
        result.root = QString(path.at(0).toUpper()) + QLatin1Char(':');
        start = 2;
    }
    if (start < path.size() && isSeparator(path.at(start))) {
        result.root += QLatin1Char('/');
        ++start;
    }
    QString part;
    for (int i = start; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path.at(i))) {
            const bool canGoUp =
                !result.parts.isEmpty() && result.parts.last() != QLatin1String("..");
            if (part == QLatin1String("..") && canGoUp)
                result.parts.removeLast();
            else if (!part.isEmpty() && part != QLatin1String("."))
                result.parts.append(part);
            part.clear();
        } else {
            part += path.at(i);
        }
    }
    return result;
}

} // namespace

QString QAFileUtil::absPathToRelative(const QString& dir, const QString& path)
{
    const SplitPath from = split(dir);
    const SplitPath to = split(path);
    if (from.root != to.root || !from.root.endsWith(QLatin1Char('/')))
        return path;
    int common = 0;
    while (common < from.parts.size() && common < to.parts.size() &&
           from.parts.at(common) == to.parts.at(common))
        ++common;
    QStringList parts;
    for (int i = common; i < from.parts.size(); ++i)
        parts << QStringLiteral("..");
    for (int i = common; i < to.parts.size(); ++i)
        parts << to.parts.at(i);
    const QChar separator = path.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    return parts.isEmpty() ? QStringLiteral(".") : parts.join(separator);
}
