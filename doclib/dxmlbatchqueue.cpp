#include "dxmlbatchqueue.h"

#include "dxmleventbatch.h"
#include "dxmltokenizer.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <limits>

namespace {

// Cuts the events into batches: a small first one, larger ones after.
class BatchingSink : public DXmlSink
{
public:
    static constexpr qsizetype FirstBatchBytes = 64 * 1024;

    BatchingSink(DXmlBatchQueue* queue, const DXmlTokenizer* tokenizer)
        : m_queue(queue), m_tokenizer(tokenizer), m_batch(newBatch())
    {
    }

    bool startElement(QStringView name, const DXmlAttributes& attributes) override
    {
        m_batch->startElement(name, attributes);
        return afterEvent();
    }
    bool endElement(QStringView name) override
    {
        m_batch->endElement(name);
        return afterEvent();
    }
    bool characters(QStringView text, bool whitespace) override
    {
        m_batch->characters(text, whitespace);
        return afterEvent();
    }

    bool flush()
    {
        if (m_batch->eventCount() == 0)
            return true;
        m_batch->setInputEnd(m_tokenizer->bytesRead());
        const bool taken = m_queue->push(std::move(m_batch));
        m_batch = newBatch();
        m_limit = m_queue->batchBytes();
        return taken;
    }

private:
    std::unique_ptr<DXmlEventBatch> newBatch() const
    {
        return std::make_unique<DXmlEventBatch>(m_tokenizer);
    }
    bool afterEvent() { return m_batch->byteSize() < m_limit || flush(); }

    DXmlBatchQueue* m_queue;
    const DXmlTokenizer* m_tokenizer;
    std::unique_ptr<DXmlEventBatch> m_batch;
    qsizetype m_limit = qMin(FirstBatchBytes, m_queue->batchBytes());
};

// The threads kept between reads, in a pool apart from the others that
// never makes a read wait for a thread: a thread blocked on a read could
// otherwise hold up the reads it waits for.
QThreadPool* keptThreads()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(std::numeric_limits<int>::max());
        return threads;
    }();
    return pool;
}

} // namespace

DXmlBatchQueue::DXmlBatchQueue(int maxBatches, qsizetype batchBytes, Worker worker)
    : m_maxBatches(maxBatches), m_batchBytes(batchBytes), m_workerKind(worker)
{
}

DXmlBatchQueue::~DXmlBatchQueue()
{
    stop();
}

void DXmlBatchQueue::start(const QString& path)
{
    if (m_workerKind == KeptThread) {
        m_keptWorker = QtConcurrent::run(keptThreads(), [this, path] { run(path); });
    } else {
        m_ownWorker.reset(QThread::create([this, path] { run(path); }));
        m_ownWorker->start(QThread::LowPriority);
    }
    m_started = true;
}

void DXmlBatchQueue::run(const QString& path)
{
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("QAReporter", "The file %1 cannot be read: %2.")
                    .arg(path, file.errorString());
    } else {
        DXmlTokenizer reader(&file, nullptr);
        BatchingSink sink(this, &reader);
        reader.setSink(&sink);
        const bool read = reader.run();
        // The events read before an error are handed over too: a report
        // cut short shows up to where it ends.
        const bool stopped = reader.error() == DXmlTokenizer::Stopped || !sink.flush();
        if (!read && !stopped)
            error = reader.errorString();
    }
    QMutexLocker lock(&m_mutex);
    m_error = error;
    m_done = true;
    m_notEmpty.wakeAll();
}

bool DXmlBatchQueue::push(std::unique_ptr<DXmlEventBatch> batch)
{
    QMutexLocker lock(&m_mutex);
    while (!m_stopping && int(m_batches.size()) >= m_maxBatches)
        m_notFull.wait(&m_mutex);
    if (m_stopping)
        return false;
    m_batches.push_back(std::move(batch));
    m_notEmpty.wakeAll();
    return true;
}

std::unique_ptr<DXmlEventBatch> DXmlBatchQueue::take()
{
    QMutexLocker lock(&m_mutex);
    return popFront();
}

std::unique_ptr<DXmlEventBatch> DXmlBatchQueue::next()
{
    QMutexLocker lock(&m_mutex);
    while (m_batches.empty() && !m_done && m_started)
        m_notEmpty.wait(&m_mutex);
    return popFront();
}

std::unique_ptr<DXmlEventBatch> DXmlBatchQueue::popFront()
{
    if (m_batches.empty())
        return nullptr;
    std::unique_ptr<DXmlEventBatch> batch = std::move(m_batches.front());
    m_batches.pop_front();
    m_notFull.wakeAll();
    return batch;
}

bool DXmlBatchQueue::atEnd()
{
    QMutexLocker lock(&m_mutex);
    return m_done && m_batches.empty();
}

QString DXmlBatchQueue::errorString()
{
    QMutexLocker lock(&m_mutex);
    return m_error;
}

void DXmlBatchQueue::stop()
{
    if (!m_started)
        return;
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_notFull.wakeAll();
    }
    if (m_ownWorker)
        m_ownWorker->wait();
    m_ownWorker.reset();
    m_keptWorker.waitForFinished();
    m_started = false;
}
