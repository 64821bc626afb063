#include "qaprogresspulse.h"

#include "qastudiointerface.h"

#include <QCoreApplication>

thread_local QAProgressPulse* QAProgressPulse::s_current = nullptr;

QAProgressPulse::QAProgressPulse(QAStudioInterface* host, const QString& label, int intervalMs)
    : m_previous(s_current), m_host(host), m_intervalMs(intervalMs)
{
    s_current = this;
    m_clock.start();
    if (m_host)
        m_host->progressStart(0, label, QCoreApplication::translate("QAProgressPulse", "Cancel"));
}

QAProgressPulse::~QAProgressPulse()
{
    s_current = m_previous;
    if (m_host)
        m_host->progressEnd();
}

void QAProgressPulse::check()
{
    const qint64 now = m_clock.elapsed();
    if (now - m_lastStepMs < m_intervalMs)
        return;
    m_lastStepMs = now;
    if (m_host)
        m_host->progressStep(++m_steps);
}
