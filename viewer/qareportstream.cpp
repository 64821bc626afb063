#include "qareportstream.h"

#include "ddocument.h"
#include "dxmlbatchqueue.h"
#include "dxmleventbatch.h"
#include "qareporterdata.h"
#include "qastxmlrodhandler.h"
#include "qastxmlrodreader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QThreadPool>

// The reader the batches are replayed into, and the batch being replayed.
class QAReportStream::Replay
{
public:
    QAstXmlRodReader reader;
    std::unique_ptr<DXmlEventBatch> batch;

    QAstXmlRodHandler* handler() { return reader.handler(); }
};

QAReportStream::QAReportStream(const QString& path, const QList<DStyle*>& styles, QObject* parent)
    : QObject(parent), m_path(path), m_queue(std::make_unique<DXmlBatchQueue>()),
      m_replay(std::make_unique<Replay>()), m_fileSize(QFileInfo(path).size())
{
    QAstXmlRodHandler* handler = m_replay->handler();
    handler->setStyles(styles);
    handler->setSourceName(path);
    m_timer.setInterval(PauseMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &QAReportStream::readSlice);
}

QAReportStream::~QAReportStream()
{
    if (m_queue)
        m_queue->stop();
    if (!m_recordTaken)
        delete m_record;
}

void QAReportStream::setSliceMilliseconds(int milliseconds)
{
    m_sliceMilliseconds = milliseconds;
    // Slices of a few events follow each other without a pause.
    m_timer.setInterval(milliseconds == 0 ? 0 : PauseMilliseconds);
}

void QAReportStream::start()
{
    m_replay->handler()->startDocument();
    m_queue->start(m_path);
    m_timer.start();
}

QAReporterData* QAReportStream::takeRecord()
{
    m_recordTaken = m_record != nullptr;
    return m_record;
}

void QAReportStream::cancel()
{
    if (m_finished)
        return;
    const QLocale locale;
    finish(QCoreApplication::translate("QAReporter", "Reading was cancelled after %1 of %2.")
               .arg(locale.formattedDataSize(bytesRead()), locale.formattedDataSize(m_fileSize)));
}

QList<const DItem*> QAReportStream::openItems() const
{
    return m_finished ? QList<const DItem*>() : m_replay->handler()->openItems();
}

void QAReportStream::readSlice()
{
    QElapsedTimer slice;
    slice.start();
    const bool replayed = replayQueued(slice);
    if (m_finished)
        return;
    shareRecord();
    if (replayed && m_record)
        emit grew();
    // Whoever took the signal may have cancelled.
    if (!m_finished && !m_replay->batch && m_queue->atEnd())
        finish(m_queue->errorString());
}

// False when the handler refused what it was given (the stream is then
// finished).
bool QAReportStream::replayQueued(const QElapsedTimer& slice)
{
    QAstXmlRodHandler* handler = m_replay->handler();
    // Slices of 0 ms replay one handful of events each, however fast the
    // machine: hasExpired(0) would wait for the clock's first millisecond.
    auto timeUp = [this, &slice] {
        return m_sliceMilliseconds == 0 || slice.hasExpired(m_sliceMilliseconds);
    };
    bool replayed = false;
    // A slice replays a few events at least, however short it is.
    for (bool first = true; first || !timeUp(); first = false) {
        if (!m_replay->batch) {
            m_replay->batch = m_queue->take();
            if (!m_replay->batch)
                break;
            handler->setDocumentLocator(m_replay->batch.get());
        }
        replayed = true;
        if (!m_replay->batch->replay(m_replay->reader.handlerSink(), timeUp)) {
            finish(handler->errorString().trimmed());
            return false;
        }
        if (m_replay->batch->isReplayed()) {
            m_bytesReplayed = m_replay->batch->inputEnd();
            m_replay->batch.reset();
        }
    }
    return replayed;
}

void QAReportStream::shareRecord()
{
    QAstXmlRodHandler* handler = m_replay->handler();
    if (!m_record && handler->tree() && handler->document()) {
        m_record = new QAReporterData;
        m_record->fileName = m_path;
        m_record->tree = handler->shareTree();
        m_record->document.reset(handler->shareDocument());
    }
    if (!m_record)
        return;
    m_record->types = handler->types();
    m_record->okCount = handler->okTotal();
    m_record->koCount = handler->koTotal();
    m_record->neCount = handler->neTotal();
}

void QAReportStream::finish(const QString& error)
{
    if (m_finished)
        return;
    m_timer.stop();
    m_queue->stop();
    QAstXmlRodHandler* handler = m_replay->handler();
    handler->setDocumentLocator(nullptr);
    m_replay->batch.reset();
    m_error = error;
    if (m_error.isEmpty() && !handler->endDocument())
        m_error = handler->errorString();
    if (!m_error.isEmpty())
        handler->endOpenNodes();
    shareRecord();
    if (m_record)
        m_record->complete = m_error.isEmpty();
    m_finished = true;
    // The reader's pools, stacks and buffers go before whoever waits for
    // the end builds more on the record: it is a large report's peak. They
    // go on another thread: the pools hold a string of most node names, and
    // letting go of them all took tens of milliseconds on a 500 MB report.
    // The strings are shared with the record, whose reference counts are
    // atomic; nothing else of the record is touched.
    QThreadPool::globalInstance()->start([replay = m_replay.release()] { delete replay; });
    m_queue.reset();
    emit grew();
    emit finished();
}
