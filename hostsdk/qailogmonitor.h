#ifndef QAILOGMONITOR_H
#define QAILOGMONITOR_H

#include <QString>

// Receives the messages and errors of a long operation.
class QAILogMonitor
{
public:
    virtual ~QAILogMonitor() = default;
    virtual void log(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    virtual int errorCount() const = 0;
    virtual void resetError() = 0;
};

#endif
