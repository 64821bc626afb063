#ifndef QARUNHISTORYSQLITEWRITER_H
#define QARUNHISTORYSQLITEWRITER_H

#include "qarunhistorybatch.h"

#include <QCoreApplication>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// Stores a run's cases in an SQLite history through the sqlite3 handle of
// Qt's QSQLITE connection, inside the write transaction the store opened:
// each statement prepared once, its values bound natively, without the
// cost of Qt's binding of every value.
class QARunHistorySqliteWriter
{
    Q_DECLARE_TR_FUNCTIONS(QARunHistory)

public:
    // handle: QSqlDriver::handle() of a QSQLITE connection.
    explicit QARunHistorySqliteWriter(const QVariant& handle);

    // Adds the batch's new paths to the tests and its rows to the results
    // of runId. On failure reason says why; the caller rolls back.
    bool write(QARunHistoryBatch& batch, qint64 runId, qint64 runTime, QString* reason);

private:
    struct Finalizer
    {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

    Statement prepare(const char* sql, QString* reason) const;
    Statement prepareResults(int rows, qint64 runId, qint64 runTime, QString* reason) const;
    static void bindResult(sqlite3_stmt* statement, int column, const QARunHistoryBatch::Row& row);
    bool findTests(QARunHistoryBatch& batch, QString* reason) const;
    bool readTests(QARunHistoryBatch& batch, QString* reason) const;
    bool insertTests(QARunHistoryBatch& batch, QString* reason) const;
    bool insertResults(const QARunHistoryBatch& batch, qint64 runId, qint64 runTime,
                       QString* reason) const;
    bool fail(QString* reason) const;

    sqlite3* m_db = nullptr;
};

#endif
