#include "xrdsourcelocation.h"

#include "qalinktarget.h"

XrdSourceLocation XrdSourceLocation::parse(const QString& text, int fallbackLine)
{
    const QALinkTarget target = QALinkTarget::parse(text);
    XrdSourceLocation location;
    if (target.isSource()) {
        location.file = target.file();
        location.line = target.lineNumber();
    } else {
        location.file = text.trimmed();
        location.line = qMax(0, fallbackLine);
    }
    return location;
}
