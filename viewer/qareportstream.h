#ifndef QAREPORTSTREAM_H
#define QAREPORTSTREAM_H

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class DItem;
class DStyle;
class QAReporterData;
class DXmlBatchQueue;

// Reads one report file while the window shows what has arrived. A worker
// thread reads and tokenizes the file into batches of events (a bounded
// queue holds a few, so memory stays flat); the GUI thread replays them
// into the report handler in slices of a few milliseconds between events,
// so that the window never freezes, and grew() says when the record got
// more. The record exists once the report's root and document were read;
// it is complete when finished() comes without an error or a cancel, and
// marked incomplete otherwise, with what was read so far.
class QAReportStream : public QObject
{
    Q_OBJECT

public:
    // Longest time one slice of replay takes on the GUI thread, by default.
    static const int SliceMilliseconds = 8;
    // Pause between two slices, for the rest of the event loop.
    static const int PauseMilliseconds = 4;

    QAReportStream(const QString& path, const QList<DStyle*>& styles, QObject* parent = nullptr);
    ~QAReportStream() override;

    // How long a slice may take; 0 replays a few events per slice (tests
    // see every step).
    void setSliceMilliseconds(int milliseconds);
    void start();
    // Stops reading; what was read so far stays, marked incomplete.
    void cancel();
    bool isFinished() const { return m_finished; }

    // The record being read, null before its tree and document exist. The
    // stream fills it and owns it until it is taken; whoever takes it must
    // keep it while the stream runs.
    QAReporterData* record() const { return m_record; }
    QAReporterData* takeRecord();
    // The items whose element is still open (see DReportModel::extend).
    QList<const DItem*> openItems() const;
    // Why the file was not read to its end; empty when it was.
    QString errorString() const { return m_error; }
    // Bytes of the file whose content is in the record.
    qint64 bytesRead() const { return m_bytesReplayed; }
    qint64 fileSize() const { return m_fileSize; }

signals:
    void grew();
    void finished();

private:
    void readSlice();
    bool replayQueued(const QElapsedTimer& slice);
    void finish(const QString& error);
    void shareRecord();

    class Replay;
    QString m_path;
    std::unique_ptr<DXmlBatchQueue> m_queue;
    std::unique_ptr<Replay> m_replay;
    QTimer m_timer;
    QAReporterData* m_record = nullptr;
    QString m_error;
    qint64 m_fileSize = 0;
    qint64 m_bytesReplayed = 0;
    int m_sliceMilliseconds = SliceMilliseconds;
    bool m_recordTaken = false;
    bool m_finished = false;
};

#endif
