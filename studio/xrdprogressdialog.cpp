#include "xrdprogressdialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr qint64 updateIntervalMs = 50;
constexpr qint64 showAfterMs = 400;
} // namespace

XrdProgressDialog::XrdProgressDialog(QWidget* parent) : QObject(parent), m_parent(parent) {}

XrdProgressDialog::~XrdProgressDialog()
{
    delete m_dialog.data();
}

void XrdProgressDialog::start(int totalSteps, const QString& label, const QString& cancelLabel)
{
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setWindowTitle(QStringLiteral("xrdview"));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumWidth(380);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        // Shown by step() on its own clock, not by the dialog's estimate.
        m_dialog->setMinimumDuration(INT_MAX);
        connect(m_dialog, &QProgressDialog::canceled, this, &XrdProgressDialog::cancel);
    }
    m_label = label;
    m_total = qMax(0, totalSteps);
    m_dialog->setLabelText(label);
    m_dialog->setCancelButtonText(cancelLabel.isEmpty() ? tr("Cancel") : cancelLabel);
    m_dialog->setRange(0, m_total);
    m_dialog->setValue(0);
    m_dialog->hide();
    m_running = true;
    m_canceled = false;
    m_sinceStart.start();
    m_sinceUpdate.start();
}

void XrdProgressDialog::step(int step)
{
    if (!m_running || m_canceled || m_sinceUpdate.elapsed() < updateIntervalMs)
        return;
    m_sinceUpdate.restart();
    if (m_sinceStart.elapsed() < showAfterMs)
        return;
    if (!m_dialog->isVisible())
        m_dialog->show();
    if (m_total > 0)
        m_dialog->setValue(qBound(0, step, m_total));
    // The dialog is window-modal: only it takes input meanwhile.
    QCoreApplication::processEvents();
}

void XrdProgressDialog::end()
{
    m_running = false;
    if (m_dialog)
        m_dialog->hide();
}

void XrdProgressDialog::cancel()
{
    if (!m_running)
        return;
    m_canceled = true;
    m_dialog->hide();
    emit canceled(m_label);
}
