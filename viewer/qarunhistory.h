#ifndef QARUNHISTORY_H
#define QARUNHISTORY_H

#include "qareportercase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QARunHistorySchema;
class QSqlDatabase;

// The history of test runs the user opened or CI recorded, kept in an
// SQLite file or a PostgreSQL database: per run its file, totals and the
// state of every case. From it come the trend of the last runs, the flaky
// cases and each case's recent states.
//
// Every object has a database connection of its own, used in the thread
// that opened it. Runs are ordered by their time, then by when they were
// recorded. Every reading returns nothing while the object is closed.
class QARunHistory
{
    Q_DECLARE_TR_FUNCTIONS(QARunHistory)

public:
    struct RunInfo
    {
        QString file;
        QString key;    // empty: runKey(file)
        QDateTime time; // invalid: now
        qint64 passed = 0, failed = 0, inconclusive = 0;
    };
    // One recorded run, as the readings name it.
    struct RunRef
    {
        QString file;
        QDateTime time;
    };
    struct TrendPoint
    {
        RunRef run;
        qint64 passed = 0, failed = 0, inconclusive = 0;
    };
    struct FlakyCase
    {
        QString path;
        int passes = 0;
        int failures = 0;
        double passRate = 0;      // passes / (passes + failures)
        QList<RunRef> failedRuns; // oldest first
    };
    struct CaseHistory
    {
        QList<QAReporterCase::State> states; // oldest first
        RunRef lastPassed;                   // over the whole history; empty file when never
    };
    enum RecordResult { Recorded, AlreadyRecorded, Failed };

    QARunHistory();
    ~QARunHistory();
    QARunHistory(const QARunHistory&) = delete;
    QARunHistory& operator=(const QARunHistory&) = delete;

    // Opens the store at url (see QARunHistorySchema::connect), creating or
    // migrating its tables. On failure the object stays closed and error
    // reads "Cannot open the run history at URL: REASON".
    bool open(const QString& url, QString* error);
    bool isOpen() const;
    void close();

    static QString defaultLocation();
    // What identifies one run file: its canonical path, size and time of
    // modification. Empty when the file does not exist.
    static QString runKey(const QString& file);
    // The first eight bytes of the message's SHA-1, the same in every
    // process and version; the results keep it for each failure message.
    static qint64 messageHash(const QString& message);

    // Records the run with its cases in one transaction. A run whose key
    // is recorded already (by this or any other process) is left alone. A
    // path given twice is kept once, with its worst state.
    RecordResult record(const RunInfo& run, const QList<QAReporterCase>& cases, QString* error);

    // The last runs' totals, oldest first.
    QList<TrendPoint> trend(int lastRuns) const;
    // The cases that both passed and failed in the last runs, most flaky
    // (the most runs of their rarer outcome) first.
    QList<FlakyCase> flaky(int lastRuns) const;
    // Per path, its states in the last runs (a run without it gives none)
    // and the run where it last passed.
    QHash<QString, CaseHistory> caseHistory(const QStringList& paths, int lastRuns) const;

private:
    struct StoredRun;
    QSqlDatabase database() const;
    RecordResult write(const RunInfo& run, const QString& key, const QList<QAReporterCase>& cases,
                       QString* reason);
    bool insertRun(const RunInfo& run, const QString& key, const QDateTime& time, qint64* runId,
                   QString* reason);
    bool storeCases(qint64 runId, const QDateTime& time, const QList<QAReporterCase>& cases,
                    QString* reason);
    // The last count runs, oldest first.
    QList<StoredRun> lastRuns(int count) const;
    // Hands each result of the runs to visit: the run's position in runs,
    // the test's id and the state.
    bool forEachResult(const QList<StoredRun>& runs,
                       const std::function<void(int, qint64, int)>& visit) const;

    QString m_connection;
    std::unique_ptr<QARunHistorySchema> m_schema;
};

#endif
