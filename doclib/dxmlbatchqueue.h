#ifndef DXMLBATCHQUEUE_H
#define DXMLBATCHQUEUE_H

#include <QFuture>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <deque>
#include <memory>

class DXmlEventBatch;
class QThread;

// A worker thread that reads a file and tokenizes it into batches of XML
// events, and the bounded queue that hands them to another thread, which
// replays them while the worker reads on. The first batch is small, so
// that the start of a file shows at once; the worker waits while
// maxBatches are queued, so that a slow reader keeps the memory of a few
// batches only. Small batches let the two threads overlap to the end of
// the file; large ones cost fewer hand-overs.
class DXmlBatchQueue
{
public:
    // The worker's thread ends with the read, or is kept for the next one.
    // A kept thread's next read finds its buffers in memory the allocator
    // already holds, where a new thread takes fresh pages. But the batches
    // freed after a read return to the idle thread's heap and stay there
    // until the thread ends: queues of large batches take their own.
    enum Worker { OwnThread, KeptThread };

    // batchBytes: about how much memory a batch takes (the first one takes
    // at most 64 KiB).
    explicit DXmlBatchQueue(int maxBatches = 6, qsizetype batchBytes = 1024 * 1024,
                            Worker worker = OwnThread);
    ~DXmlBatchQueue();

    void start(const QString& path);
    // Asks the worker to stop and waits for it.
    void stop();
    // The next batch, or null when none is ready yet.
    std::unique_ptr<DXmlEventBatch> take();
    // The next batch, waiting for the worker to make it; null once the
    // worker is done and every batch was taken.
    std::unique_ptr<DXmlEventBatch> next();
    // The worker is done and every batch was taken.
    bool atEnd();
    // Why the worker stopped before the end of the file; empty when it
    // read it all (or was stopped). With the place, "line L, column C: ...".
    QString errorString();

    // Used by the worker's sink.
    bool push(std::unique_ptr<DXmlEventBatch> batch);
    qsizetype batchBytes() const { return m_batchBytes; }

private:
    void run(const QString& path);
    // The first batch waiting, or null; m_mutex is held.
    std::unique_ptr<DXmlEventBatch> popFront();

    const int m_maxBatches;
    const qsizetype m_batchBytes;
    const Worker m_workerKind;
    std::unique_ptr<QThread> m_ownWorker;
    QFuture<void> m_keptWorker;
    bool m_started = false;
    QMutex m_mutex;
    QWaitCondition m_notFull;
    QWaitCondition m_notEmpty;
    std::deque<std::unique_ptr<DXmlEventBatch>> m_batches;
    QString m_error;
    bool m_done = false;
    bool m_stopping = false;
};

#endif
