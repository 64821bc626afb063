#include "qarunhistorysqlitewriter.h"

#include "qarunhistorybatch.h"

#include <sqlite3.h>

#include <cstring>

namespace {

// Rows of one insert of results: fewer statements to run, each well below
// SQLite's bound values (32 766).
const int RowsPerInsert = 64;
// The values bound per row of results.
const int ResultValues = 4;
// Looking a path up costs about as much as reading this many tests.
const int LookupsPerTestRead = 8;

} // namespace

void QARunHistorySqliteWriter::Finalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

QARunHistorySqliteWriter::QARunHistorySqliteWriter(const QVariant& handle)
{
    if (handle.isValid() && std::strcmp(handle.typeName(), "sqlite3*") == 0)
        m_db = *static_cast<sqlite3* const*>(handle.constData());
}

bool QARunHistorySqliteWriter::write(QARunHistoryBatch& batch, qint64 runId, qint64 runTime,
                                     QString* reason)
{
    if (!m_db) {
        *reason = tr("the database driver gives no SQLite handle");
        return false;
    }
    return batch.isEmpty() || (findTests(batch, reason) && insertTests(batch, reason) &&
                               insertResults(batch, runId, runTime, reason));
}

QARunHistorySqliteWriter::Statement QARunHistorySqliteWriter::prepare(const char* sql,
                                                                      QString* reason) const
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
        fail(reason);
    return Statement(statement);
}

bool QARunHistorySqliteWriter::fail(QString* reason) const
{
    *reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

// Gives the batch's rows the ids of the tests known already. Few paths
// against many tests are looked up in the index of paths, else every test
// is read.
bool QARunHistorySqliteWriter::findTests(QARunHistoryBatch& batch, QString* reason) const
{
    const Statement highest = prepare("SELECT MAX(id) FROM tests", reason);
    if (!highest || sqlite3_step(highest.get()) != SQLITE_ROW)
        return fail(reason);
    if (batch.rows().size() * LookupsPerTestRead >= sqlite3_column_int64(highest.get(), 0))
        return readTests(batch, reason);
    const Statement select = prepare("SELECT id FROM tests WHERE path = ?", reason);
    if (!select)
        return false;
    for (int row = 0; row < batch.rows().size(); ++row) {
        const QByteArrayView path = batch.rows().at(row).path;
        sqlite3_bind_text(select.get(), 1, path.constData(), int(path.size()), SQLITE_STATIC);
        const int status = sqlite3_step(select.get());
        if (status == SQLITE_ROW)
            batch.setTestId(row, sqlite3_column_int64(select.get(), 0));
        else if (status != SQLITE_DONE)
            return fail(reason);
        sqlite3_reset(select.get());
    }
    return true;
}

bool QARunHistorySqliteWriter::readTests(QARunHistoryBatch& batch, QString* reason) const
{
    const Statement select = prepare("SELECT id, path FROM tests", reason);
    if (!select)
        return false;
    int status;
    while ((status = sqlite3_step(select.get())) == SQLITE_ROW) {
        const auto* path = reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 1));
        batch.setTestId(path, sqlite3_column_bytes(select.get(), 1),
                        sqlite3_column_int64(select.get(), 0));
    }
    return status == SQLITE_DONE || fail(reason);
}

// Adds the tests of the rows without one. The store's write lock keeps
// other writers from adding the same paths meanwhile.
bool QARunHistorySqliteWriter::insertTests(QARunHistoryBatch& batch, QString* reason) const
{
    const QList<int> unknown = batch.unknownTests();
    if (unknown.isEmpty())
        return true;
    const Statement insert = prepare("INSERT INTO tests (path) VALUES (?)", reason);
    if (!insert)
        return false;
    for (int row : unknown) {
        const QByteArrayView path = batch.rows().at(row).path;
        sqlite3_bind_text(insert.get(), 1, path.constData(), int(path.size()), SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return fail(reason);
        sqlite3_reset(insert.get());
        batch.setTestId(row, sqlite3_last_insert_rowid(m_db));
    }
    return true;
}

// Adds the rows to the results of runId, RowsPerInsert rows a statement.
bool QARunHistorySqliteWriter::insertResults(const QARunHistoryBatch& batch, qint64 runId,
                                             qint64 runTime, QString* reason) const
{
    const QList<QARunHistoryBatch::Row>& rows = batch.rows();
    const int count = int(rows.size());
    const int tail = count % RowsPerInsert;
    Statement full, last;
    if (count >= RowsPerInsert && !(full = prepareResults(RowsPerInsert, runId, runTime, reason)))
        return false;
    if (tail > 0 && !(last = prepareResults(tail, runId, runTime, reason)))
        return false;
    for (int first = 0; first < count; first += RowsPerInsert) {
        sqlite3_stmt* statement = count - first >= RowsPerInsert ? full.get() : last.get();
        for (int i = 0; i < RowsPerInsert && first + i < count; ++i)
            bindResult(statement, 3 + ResultValues * i, rows.at(first + i));
        if (sqlite3_step(statement) != SQLITE_DONE)
            return fail(reason);
        sqlite3_reset(statement);
    }
    return true;
}

// An insert of that many rows of results, the run's values bound: each
// row binds its test, state, time and message hash (ResultValues values,
// from the third on).
QARunHistorySqliteWriter::Statement QARunHistorySqliteWriter::prepareResults(int rows, qint64 runId,
                                                                             qint64 runTime,
                                                                             QString* reason) const
{
    QByteArray sql = "INSERT INTO case_results (run_id, run_time, test_id, state, seconds, "
                     "message_hash) VALUES (?1, ?2, ?, ?, ?, ?)";
    for (int i = 1; i < rows; ++i)
        sql += ", (?1, ?2, ?, ?, ?, ?)";
    Statement statement = prepare(sql.constData(), reason);
    // Bindings outlive sqlite3_reset: the run's are bound once.
    if (statement) {
        sqlite3_bind_int64(statement.get(), 1, runId);
        sqlite3_bind_int64(statement.get(), 2, runTime);
    }
    return statement;
}

void QARunHistorySqliteWriter::bindResult(sqlite3_stmt* statement, int column,
                                          const QARunHistoryBatch::Row& row)
{
    sqlite3_bind_int64(statement, column, row.testId);
    sqlite3_bind_int(statement, column + 1, row.state);
    if (row.seconds >= 0)
        sqlite3_bind_double(statement, column + 2, row.seconds);
    else
        sqlite3_bind_null(statement, column + 2);
    if (row.hasMessage)
        sqlite3_bind_int64(statement, column + 3, row.messageHash);
    else
        sqlite3_bind_null(statement, column + 3);
}
