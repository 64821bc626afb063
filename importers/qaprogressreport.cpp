#include "qaprogressreport.h"

#include "qastudiointerface.h"

#include <QCoreApplication>

#include <climits>

namespace {
const qint64 BytesPerStep = 50;
}

QAProgressReport::QAProgressReport(QAStudioInterface* host, qint64 totalBytes, const QString& label)
    : m_host(host)
{
    if (!m_host)
        return;
    m_totalSteps = int(qMin<qint64>(totalBytes / BytesPerStep, INT_MAX));
    m_host->progressStart(m_totalSteps, label, QCoreApplication::translate("Reporter", "Cancel"));
}

QAProgressReport::~QAProgressReport()
{
    if (m_host)
        m_host->progressEnd();
}

void QAProgressReport::setBytesRead(qint64 bytes)
{
    if (!m_host || m_totalSteps <= 0)
        return;
    const int step = int(qMin<qint64>(bytes / BytesPerStep, m_totalSteps - 1));
    if (step != m_lastStep) {
        m_lastStep = step;
        m_host->progressStep(step);
    }
}
