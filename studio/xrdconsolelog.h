#ifndef XRDCONSOLELOG_H
#define XRDCONSOLELOG_H

#include "qailogmonitor.h"

// The log monitor of a command-line run: messages and errors go to
// standard error, one per line, since standard output carries the results.
class XrdConsoleLog : public QAILogMonitor
{
public:
    void log(const QString& text) override;
    void error(const QString& text) override;
    int errorCount() const override { return m_errors; }
    void resetError() override { m_errors = 0; }

private:
    int m_errors = 0;
};

#endif
