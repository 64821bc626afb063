#include "xrdconsolelog.h"

#include <cstdio>

namespace {

void writeLine(const QString& text)
{
    QByteArray line = text.toLocal8Bit();
    if (!line.endsWith('\n'))
        line += '\n';
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

} // namespace

void XrdConsoleLog::log(const QString& text)
{
    writeLine(text);
}

void XrdConsoleLog::error(const QString& text)
{
    ++m_errors;
    writeLine(text);
}
