#include "qaprogressdialog.h"

#include <QCoreApplication>

namespace {
constexpr int eventInterval = 50; // ms
}

QAProgressDialog::QAProgressDialog(const QString& label, const QString& cancelText, int totalSteps,
                                   QWidget* parent, const char* name, bool modal,
                                   Qt::WindowFlags flags)
    : QProgressDialog(label, cancelText, 0, totalSteps, parent, flags)
{
    if (name)
        setObjectName(QString::fromUtf8(name));
    setModal(modal);
    setMinimumDuration(400);
    setAutoClose(false);
    setAutoReset(false);
    // QProgressDialog shows itself after the minimum duration even when no
    // progress came; this one shows only once the work is under way.
    reset();
    m_sinceEvents.start();
}

QAProgressDialog::~QAProgressDialog() = default;

void QAProgressDialog::cancel()
{
    QProgressDialog::cancel();
}

void QAProgressDialog::setProgress(int progress, int totalSteps)
{
    setMaximum(totalSteps);
    setProgress(progress);
}

void QAProgressDialog::setProgress(int progress)
{
    // QProgressDialog handles events itself only when modal.
    setValue(qBound(minimum(), progress, maximum()));
    if (m_sinceEvents.elapsed() >= eventInterval)
        processEventsNow();
}

bool QAProgressDialog::wasCanceled() const
{
    return QProgressDialog::wasCanceled();
}

int QAProgressDialog::totalSteps() const
{
    return maximum();
}

int QAProgressDialog::progress() const
{
    return value();
}

void QAProgressDialog::setLabelText(const QString& text)
{
    QProgressDialog::setLabelText(text);
}

void QAProgressDialog::processEventsNow()
{
    m_sinceEvents.restart();
    QCoreApplication::processEvents();
}
