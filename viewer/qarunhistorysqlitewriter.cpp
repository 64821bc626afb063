#include "qarunhistorysqlitewriter.h"

#include "qarunhistorybatch.h"

#include <sqlite3.h>

#include <cstring>

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
    return batch.isEmpty() || (readTests(batch, reason) && insertTests(batch, reason) &&
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

// Gives the batch's rows the ids of the tests known already.
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
        const QByteArray& path = batch.rows().at(row).path;
        sqlite3_bind_text(insert.get(), 1, path.constData(), int(path.size()), SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return fail(reason);
        sqlite3_reset(insert.get());
        batch.setTestId(row, sqlite3_last_insert_rowid(m_db));
    }
    return true;
}

bool QARunHistorySqliteWriter::insertResults(const QARunHistoryBatch& batch, qint64 runId,
                                             qint64 runTime, QString* reason) const
{
    const Statement insert =
        prepare("INSERT INTO case_results (run_id, run_time, test_id, state, seconds, "
                "message_hash) VALUES (?, ?, ?, ?, ?, ?)",
                reason);
    if (!insert)
        return false;
    sqlite3_stmt* statement = insert.get();
    // Bindings outlive sqlite3_reset: the run's are bound once.
    sqlite3_bind_int64(statement, 1, runId);
    sqlite3_bind_int64(statement, 2, runTime);
    for (const QARunHistoryBatch::Row& row : batch.rows()) {
        sqlite3_bind_int64(statement, 3, row.testId);
        sqlite3_bind_int(statement, 4, row.state);
        if (row.seconds >= 0)
            sqlite3_bind_double(statement, 5, row.seconds);
        else
            sqlite3_bind_null(statement, 5);
        if (row.hasMessage)
            sqlite3_bind_int64(statement, 6, row.messageHash);
        else
            sqlite3_bind_null(statement, 6);
        if (sqlite3_step(statement) != SQLITE_DONE)
            return fail(reason);
        sqlite3_reset(statement);
    }
    return true;
}
