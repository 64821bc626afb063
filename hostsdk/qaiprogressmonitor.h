#ifndef QAIPROGRESSMONITOR_H
#define QAIPROGRESSMONITOR_H

#include <QString>

// Progress of a long operation, reported by the operation and read by
// whoever shows it.
class QAIProgressMonitor
{
public:
    virtual ~QAIProgressMonitor() = default;
    virtual void cancel() = 0;
    virtual void setProgress(int progress, int totalSteps) = 0;
    virtual void setProgress(int progress) = 0;
    virtual bool wasCanceled() const = 0;
    virtual int totalSteps() const = 0;
    virtual int progress() const = 0;
    virtual void setLabelText(const QString& text) = 0;
};

#endif
