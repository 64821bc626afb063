#include "qarunhistory.h"

#include "qarunhistorybatch.h"
#include "qarunhistorycopywriter.h"
#include "qarunhistoryschema.h"
#include "qarunhistorysqlitewriter.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>

#include <algorithm>
#include <utility>

namespace {

// Values of one "IN (...)" list.
const int ValuesPerList = 500;

QString placeholders(int rows, int columns)
{
    const QString row =
        QLatin1Char('(') + QStringLiteral("?, ").repeated(columns - 1) + QStringLiteral("?)");
    QStringList all;
    all.reserve(rows);
    for (int i = 0; i < rows; ++i)
        all << row;
    return all.join(QStringLiteral(", "));
}

QDateTime timeOf(const QVariant& msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs.toLongLong(), Qt::UTC);
}

// Runs sql once per chunk of values, its "%1" replaced by as many bound
// placeholders, and hands each row to visit.
bool selectIn(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const QSqlQuery&)>& visit)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    for (int first = 0; first < values.size(); first += ValuesPerList) {
        const int count = qMin(ValuesPerList, int(values.size()) - first);
        if (!query.prepare(sql.arg(placeholders(1, count))))
            return false;
        for (int i = 0; i < count; ++i)
            query.bindValue(i, values.at(first + i));
        if (!query.exec())
            return false;
        while (query.next())
            visit(query);
    }
    return true;
}

QAtomicInt connectionCount;

} // namespace

struct QARunHistory::StoredRun
{
    qint64 id = 0;
    TrendPoint point;
};

QARunHistory::QARunHistory()
    : m_connection(QStringLiteral("xrd-run-history-%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{
}

QARunHistory::~QARunHistory()
{
    close();
}

bool QARunHistory::open(const QString& url, QString* error)
{
    close();
    QString reason;
    {
        QSqlDatabase db = QARunHistorySchema::connect(url, m_connection, &reason);
        if (db.isOpen()) {
            auto schema = std::make_unique<QARunHistorySchema>(QARunHistorySchema::backendOf(db));
            if (schema->migrate(db, &reason))
                m_schema = std::move(schema);
        }
    }
    if (m_schema)
        return true;
    close();
    if (error)
        *error = tr("Cannot open the run history at %1: %2")
                     .arg(QARunHistorySchema::displayUrl(url), reason);
    return false;
}

bool QARunHistory::isOpen() const
{
    return m_schema != nullptr;
}

void QARunHistory::close()
{
    m_schema.reset();
    if (!QSqlDatabase::contains(m_connection))
        return;
    database().close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase QARunHistory::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString QARunHistory::defaultLocation()
{
    return QARunHistorySchema::defaultLocation();
}

QString QARunHistory::runKey(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    return QStringLiteral("%1|%2|%3")
        .arg(info.canonicalFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch());
}

qint64 QARunHistory::messageHash(const QString& message)
{
    const QByteArray digest = QCryptographicHash::hash(message.toUtf8(), QCryptographicHash::Sha1);
    return qFromBigEndian<qint64>(digest.constData());
}

QARunHistory::RecordResult QARunHistory::record(const RunInfo& run,
                                                const QList<QAReporterCase>& cases, QString* error)
{
    QString reason;
    RecordResult result = Failed;
    const QString key = run.key.isEmpty() ? runKey(run.file) : run.key;
    if (!isOpen())
        reason = tr("the run history is not open");
    else if (key.isEmpty())
        reason = tr("no such file");
    else
        result = write(run, key, cases, &reason);
    if (result == Failed && error)
        *error = tr("Cannot record %1 in the run history: %2").arg(run.file, reason);
    return result;
}

QARunHistory::RecordResult QARunHistory::write(const RunInfo& run, const QString& key,
                                               const QList<QAReporterCase>& cases, QString* reason)
{
    QSqlDatabase db = database();
    if (!m_schema->beginWrite(db, reason))
        return Failed;
    const QDateTime time = run.time.isValid() ? run.time : QDateTime::currentDateTimeUtc();
    qint64 runId = 0;
    const bool written = insertRun(run, key, time, &runId, reason) &&
                         (runId == 0 || storeCases(runId, time, cases, reason));
    QSqlQuery query(db);
    if (written && query.exec(QStringLiteral("COMMIT")))
        return runId == 0 ? AlreadyRecorded : Recorded;
    if (written)
        *reason = query.lastError().text();
    query.exec(QStringLiteral("ROLLBACK"));
    return Failed;
}

// Adds the run, leaving runId 0 when its key is recorded already.
bool QARunHistory::insertRun(const RunInfo& run, const QString& key, const QDateTime& time,
                             qint64* runId, QString* reason)
{
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("INSERT INTO runs (file, run_key, run_time, passed, failed, inconclusive) "
                       "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (run_key) DO NOTHING RETURNING id"));
    const QVariantList values = {run.file,   key,        time.toMSecsSinceEpoch(),
                                 run.passed, run.failed, run.inconclusive};
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        *reason = query.lastError().text();
        return false;
    }
    *runId = query.next() ? query.value(0).toLongLong() : 0;
    return true;
}

// Adds the cases' new paths to the tests and the cases to the results of
// runId, through the client library under the connection's driver.
bool QARunHistory::storeCases(qint64 runId, const QDateTime& time,
                              const QList<QAReporterCase>& cases, QString* reason)
{
    QARunHistoryBatch batch(cases);
    const QSqlDatabase db = database();
    const QVariant handle = db.driver()->handle();
    if (QARunHistorySchema::backendOf(db) == QARunHistorySchema::SQLite)
        return QARunHistorySqliteWriter(handle).write(batch, runId, time.toMSecsSinceEpoch(),
                                                      reason);
    return QARunHistoryCopyWriter(handle).write(batch, runId, time.toMSecsSinceEpoch(), reason);
}

QList<QARunHistory::StoredRun> QARunHistory::lastRuns(int count) const
{
    QList<StoredRun> runs;
    if (!isOpen() || count <= 0)
        return runs;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, file, run_time, passed, failed, inconclusive "
                                 "FROM runs ORDER BY run_time DESC, id DESC LIMIT ?"));
    query.bindValue(0, count);
    if (!query.exec())
        return runs;
    while (query.next()) {
        StoredRun run;
        run.id = query.value(0).toLongLong();
        run.point.run = {query.value(1).toString(), timeOf(query.value(2))};
        run.point.passed = query.value(3).toLongLong();
        run.point.failed = query.value(4).toLongLong();
        run.point.inconclusive = query.value(5).toLongLong();
        runs.prepend(run);
    }
    return runs;
}

bool QARunHistory::forEachResult(const QList<StoredRun>& runs,
                                 const std::function<void(int, qint64, int)>& visit) const
{
    QHash<qint64, int> positions;
    QVariantList ids;
    for (const StoredRun& run : runs) {
        positions.insert(run.id, ids.size());
        ids << run.id;
    }
    return selectIn(database(),
                    QStringLiteral("SELECT run_id, test_id, state FROM case_results "
                                   "WHERE run_id IN %1"),
                    ids, [&](const QSqlQuery& query) {
                        visit(positions.value(query.value(0).toLongLong()),
                              query.value(1).toLongLong(), query.value(2).toInt());
                    });
}

QList<QARunHistory::TrendPoint> QARunHistory::trend(int lastRunCount) const
{
    QList<TrendPoint> points;
    for (const StoredRun& run : lastRuns(lastRunCount))
        points << run.point;
    return points;
}

QList<QARunHistory::FlakyCase> QARunHistory::flaky(int lastRunCount) const
{
    struct Tally
    {
        int passes = 0;
        int failures = 0;
        QList<int> failedRuns; // positions in runs
    };
    const QList<StoredRun> runs = lastRuns(lastRunCount);
    QHash<qint64, Tally> tallies;
    forEachResult(runs, [&](int run, qint64 test, int state) {
        if (state == QAReporterCase::Passed) {
            ++tallies[test].passes;
        } else if (state == QAReporterCase::Failed) {
            Tally& tally = tallies[test];
            ++tally.failures;
            tally.failedRuns << run;
        }
    });
    QVariantList flakyIds;
    for (auto it = tallies.cbegin(); it != tallies.cend(); ++it) {
        if (it->passes > 0 && it->failures > 0)
            flakyIds << it.key();
    }
    QList<FlakyCase> cases;
    selectIn(database(), QStringLiteral("SELECT id, path FROM tests WHERE id IN %1"), flakyIds,
             [&](const QSqlQuery& query) {
                 Tally& tally = tallies[query.value(0).toLongLong()];
                 FlakyCase flakyCase;
                 flakyCase.path = query.value(1).toString();
                 flakyCase.passes = tally.passes;
                 flakyCase.failures = tally.failures;
                 flakyCase.passRate = double(tally.passes) / (tally.passes + tally.failures);
                 std::sort(tally.failedRuns.begin(), tally.failedRuns.end());
                 for (int position : std::as_const(tally.failedRuns))
                     flakyCase.failedRuns << runs.at(position).point.run;
                 cases << flakyCase;
             });
    std::sort(cases.begin(), cases.end(), [](const FlakyCase& a, const FlakyCase& b) {
        const int rarerA = qMin(a.passes, a.failures);
        const int rarerB = qMin(b.passes, b.failures);
        if (rarerA != rarerB)
            return rarerA > rarerB;
        if (a.failures != b.failures)
            return a.failures > b.failures;
        return a.path < b.path;
    });
    return cases;
}

QHash<QString, QARunHistory::CaseHistory> QARunHistory::caseHistory(const QStringList& paths,
                                                                    int lastRunCount) const
{
    QHash<QString, CaseHistory> histories;
    if (!isOpen())
        return histories;
    QHash<qint64, QString> byTest;
    for (const QString& path : paths)
        histories.insert(path, {});
    // The run where a test last passed comes from the index of the results
    // by test, state and time.
    const QString passed = QString::number(int(QAReporterCase::Passed));
    selectIn(
        database(),
        QStringLiteral("SELECT t.id, t.path, u.file, u.run_time FROM tests t "
                       "LEFT JOIN runs u ON u.id = (SELECT c.run_id FROM case_results c "
                       "WHERE c.test_id = t.id AND c.state = ") +
            passed +
            QStringLiteral(" ORDER BY c.run_time DESC, c.run_id DESC LIMIT 1) "
                           "WHERE t.path IN %1"),
        QVariantList(paths.cbegin(), paths.cend()), [&](const QSqlQuery& query) {
            const QString path = query.value(1).toString();
            if (!query.value(2).isNull())
                histories[path].lastPassed = {query.value(2).toString(), timeOf(query.value(3))};
            byTest.insert(query.value(0).toLongLong(), path);
        });
    if (byTest.isEmpty())
        return histories;
    QHash<qint64, QList<std::pair<int, int>>> marks;
    forEachResult(lastRuns(lastRunCount), [&](int run, qint64 test, int state) {
        if (byTest.contains(test))
            marks[test] << std::make_pair(run, state);
    });
    for (auto it = marks.begin(); it != marks.end(); ++it) {
        std::sort(it->begin(), it->end());
        QList<QAReporterCase::State>& states = histories[byTest.value(it.key())].states;
        for (const auto& mark : *it)
            states << QAReporterCase::State(mark.second);
    }
    return histories;
}
