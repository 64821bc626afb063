#ifndef XRDCONSOLEPROGRESS_H
#define XRDCONSOLEPROGRESS_H

#include "qaiprogressmonitor.h"

#include <QString>

// The progress monitor of a command-line run: a line on standard error
// each time the label changes or another tenth of the work is done, so a
// script's log shows the work going on without being flooded. Nothing
// cancels a command-line run but a signal.
class XrdConsoleProgress : public QAIProgressMonitor
{
public:
    void cancel() override { m_canceled = true; }
    void setProgress(int progress, int totalSteps) override;
    void setProgress(int progress) override;
    bool wasCanceled() const override { return m_canceled; }
    int totalSteps() const override { return m_total; }
    int progress() const override { return m_progress; }
    void setLabelText(const QString& text) override;

private:
    QString m_label;
    int m_total = 0;
    int m_progress = 0;
    int m_lastTenth = -1;
    bool m_canceled = false;
};

#endif
