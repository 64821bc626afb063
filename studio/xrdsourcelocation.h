#ifndef XRDSOURCELOCATION_H
#define XRDSOURCELOCATION_H

#include <QString>

// A place in a source file as a report link names it: "<file> line <N>"
// (read by QALinkTarget).
// Text without " line N" is a file name alone.
class XrdSourceLocation
{
public:
    // fallbackLine is used when the text names no line (0: none).
    static XrdSourceLocation parse(const QString& text, int fallbackLine = 0);

    QString file;
    int line = 0; // 1-based; 0 when unknown
};

#endif
