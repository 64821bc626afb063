#ifndef QARUNHISTORYCOPYWRITER_H
#define QARUNHISTORYCOPYWRITER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVariant>

#include <functional>

class QARunHistoryBatch;
struct pg_conn;

// Stores a run's cases in a PostgreSQL history through the libpq connection
// of Qt's QPSQL driver, inside the write transaction the store opened: new
// tests and results go in with COPY ... FROM STDIN in text format, instead
// of the statements with literal values the driver would send.
class QARunHistoryCopyWriter
{
    Q_DECLARE_TR_FUNCTIONS(QARunHistory)

public:
    // handle: QSqlDriver::handle() of a QPSQL connection.
    explicit QARunHistoryCopyWriter(const QVariant& handle);

    // Adds the batch's new paths to the tests and its rows to the results
    // of runId. On failure reason says why; the caller rolls back.
    bool write(QARunHistoryBatch& batch, qint64 runId, qint64 runTime, QString* reason);

private:
    bool findTests(QARunHistoryBatch& batch, qint64* highestId, QString* reason) const;
    bool selectTests(QARunHistoryBatch& batch, const char* sql, const QByteArray& parameter,
                     QString* reason) const;
    bool insertTests(QARunHistoryBatch& batch, qint64 knownId, QString* reason) const;
    bool insertResults(const QARunHistoryBatch& batch, qint64 runId, qint64 runTime,
                       QString* reason) const;
    // Runs the COPY statement sql with rows rows, each appended in text
    // format by appendRow.
    bool copy(const char* sql, int rows, const std::function<void(int, QByteArray&)>& appendRow,
              QString* reason) const;
    bool fail(QString* reason) const;

    pg_conn* m_connection = nullptr;
};

#endif
