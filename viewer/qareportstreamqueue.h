#ifndef QAREPORTSTREAMQUEUE_H
#define QAREPORTSTREAMQUEUE_H

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <deque>
#include <memory>

class DXmlEventBatch;
class QThread;

// A worker thread that reads a file and tokenizes it into batches of XML
// events, and the bounded queue that hands them to another thread. The
// first batch is small, so that the start of a file shows at once; the
// worker waits while MaxBatches are queued, so that a slow reader keeps
// the memory of a few batches only.
class QAReportStreamQueue
{
public:
    static const int MaxBatches = 6;

    QAReportStreamQueue();
    ~QAReportStreamQueue();

    void start(const QString& path);
    // Asks the worker to stop and waits for it.
    void stop();
    // The next batch, or null when none is ready yet.
    std::unique_ptr<DXmlEventBatch> take();
    // The worker is done and every batch was taken.
    bool atEnd();
    // Why the worker stopped before the end of the file; empty when it
    // read it all (or was stopped). With the place, "line L, column C: ...".
    QString errorString();

    // Used by the worker's sink.
    bool push(std::unique_ptr<DXmlEventBatch> batch);

private:
    void run(const QString& path);

    std::unique_ptr<QThread> m_thread;
    QMutex m_mutex;
    QWaitCondition m_notFull;
    std::deque<std::unique_ptr<DXmlEventBatch>> m_batches;
    QString m_error;
    bool m_done = false;
    bool m_stopping = false;
};

#endif
