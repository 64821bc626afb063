#include "xrdsourcelocation.h"

#include <QRegularExpression>

XrdSourceLocation XrdSourceLocation::parse(const QString& text, int fallbackLine)
{
    static const QRegularExpression withLine(QStringLiteral("^\\s*(.*\\S)\\s+line\\s+(\\d+)\\s*$"));
    XrdSourceLocation location;
    const QRegularExpressionMatch match = withLine.match(text);
    if (match.hasMatch()) {
        location.file = match.captured(1);
        location.line = match.captured(2).toInt();
    } else {
        location.file = text.trimmed();
        location.line = qMax(0, fallbackLine);
    }
    return location;
}
