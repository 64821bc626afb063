#include "qaprogressdevice.h"

#include "qaprogressreport.h"

QAProgressDevice::QAProgressDevice(QIODevice* source, QAStudioInterface* host, const QString& label)
    : m_source(source)
{
    // QXmlStreamReader reads in blocks: a buffer here would only copy them.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (m_source)
        m_report = std::make_unique<QAProgressReport>(host, m_source->size(), label);
}

QAProgressDevice::~QAProgressDevice() = default;

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
    m_report->setBytesRead(m_read);
    return count;
}

qint64 QAProgressDevice::writeData(const char*, qint64)
{
    return -1;
}
