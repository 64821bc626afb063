#ifndef QAPROGRESSDIALOG_H
#define QAPROGRESSDIALOG_H

#include "qaiprogressmonitor.h"

#include <QElapsedTimer>
#include <QProgressDialog>

// A progress dialog that a long operation drives as its progress monitor.
// The operation runs in the GUI thread, so setting the progress also lets
// the dialog handle its events (at most every 50 ms), which is how a click
// on the cancel button is noticed: wasCanceled() turns true.
class QAProgressDialog : public QProgressDialog, public QAIProgressMonitor
{
    Q_OBJECT

public:
    QAProgressDialog(const QString& label, const QString& cancelText, int totalSteps,
                     QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                     Qt::WindowFlags flags = {});
    ~QAProgressDialog() override;

    void cancel() override;
    void setProgress(int progress, int totalSteps) override;
    void setProgress(int progress) override;
    bool wasCanceled() const override;
    int totalSteps() const override;
    int progress() const override;
    void setLabelText(const QString& text) override;

private:
    void processEventsNow();

    QElapsedTimer m_sinceEvents;
};

#endif
