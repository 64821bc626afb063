#include "qaprogressdevice.h"

#include "qastudiointerface.h"

#include <QCoreApplication>

#include <climits>

namespace {
const qint64 BytesPerStep = 50;
}

QAProgressDevice::QAProgressDevice(QIODevice* source, QAStudioInterface* host, const QString& label)
    : m_source(source), m_host(host)
{
    // QXmlStreamReader reads in blocks: a buffer here would only copy them.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (!m_host || !m_source)
        return;
    m_totalSteps = int(qMin<qint64>(m_source->size() / BytesPerStep, INT_MAX));
    m_host->progressStart(m_totalSteps, label, QCoreApplication::translate("Reporter", "Cancel"));
}

QAProgressDevice::~QAProgressDevice()
{
    if (m_host && m_source)
        m_host->progressEnd();
}

qint64 QAProgressDevice::bytesAvailable() const
{
    return QIODevice::bytesAvailable() + (m_source ? m_source->bytesAvailable() : 0);
}

qint64 QAProgressDevice::readData(char* data, qint64 maxSize)
{
    if (!m_source)
        return -1;
    const qint64 count = m_source->read(data, maxSize);
    if (count <= 0)
        return count;
    m_read += count;
    if (m_host && m_totalSteps > 0) {
        const int step = int(qMin<qint64>(m_read / BytesPerStep, m_totalSteps - 1));
        if (step != m_lastStep) {
            m_lastStep = step;
            m_host->progressStep(step);
        }
    }
    return count;
}

qint64 QAProgressDevice::writeData(const char*, qint64)
{
    return -1;
}
