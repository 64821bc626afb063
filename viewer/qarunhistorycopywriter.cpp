#include "qarunhistorycopywriter.h"

#include "qarunhistorybatch.h"

#include "qapostgreslibrary.h"

#include <charconv>
#include <cstring>
#include <memory>

namespace {

const QAPostgresLibrary& libpq()
{
    return QAPostgresLibrary::get();
}

// What COPY is handed at once.
const int CopyChunk = 64 * 1024;
// Looking a path up costs about as much as reading this many tests.
const int LookupsPerTestRead = 8;

struct ResultDeleter
{
    void operator()(PGresult* result) const { libpq().PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

template <typename Number> void appendNumber(QByteArray& buffer, Number value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer.append(digits, end - digits);
}

// A value in COPY's text format: backslash, tab, newline and carriage
// return escaped.
void appendText(QByteArray& buffer, QByteArrayView text)
{
    for (const char c : text) {
        switch (c) {
        case '\\':
            buffer.append("\\\\", 2);
            break;
        case '\t':
            buffer.append("\\t", 2);
            break;
        case '\n':
            buffer.append("\\n", 2);
            break;
        case '\r':
            buffer.append("\\r", 2);
            break;
        default:
            buffer.append(c);
        }
    }
}

} // namespace

QARunHistoryCopyWriter::QARunHistoryCopyWriter(const QVariant& handle)
{
    // The driver's QVariant names the type as libpq declares it.
    if (handle.isValid() && std::strcmp(handle.typeName(), "pg_conn*") == 0)
        m_connection = *static_cast<PGconn* const*>(handle.constData());
}

bool QARunHistoryCopyWriter::write(QARunHistoryBatch& batch, qint64 runId, qint64 runTime,
                                   QString* reason)
{
    if (!m_connection) {
        *reason = tr("the database driver gives no PostgreSQL connection");
        return false;
    }
    if (!libpq().isLoaded()) {
        *reason = tr("the PostgreSQL client library (libpq.so.5) cannot be loaded");
        return false;
    }
    qint64 highestId = 0;
    return batch.isEmpty() ||
           (findTests(batch, &highestId, reason) && insertTests(batch, highestId, reason) &&
            insertResults(batch, runId, runTime, reason));
}

bool QARunHistoryCopyWriter::fail(QString* reason) const
{
    *reason = QString::fromUtf8(libpq().PQerrorMessage(m_connection)).trimmed();
    return false;
}

// Gives the batch's rows the ids of the tests known already; highestId is
// the highest id of all. Few paths against many tests are looked up in
// the index of paths, else every test is read.
bool QARunHistoryCopyWriter::findTests(QARunHistoryBatch& batch, qint64* highestId,
                                       QString* reason) const
{
    const Result highest(libpq().PQexec(m_connection, "SELECT COALESCE(MAX(id), 0) FROM tests"));
    if (libpq().PQresultStatus(highest.get()) != PGRES_TUPLES_OK)
        return fail(reason);
    const char* id = libpq().PQgetvalue(highest.get(), 0, 0);
    std::from_chars(id, id + libpq().PQgetlength(highest.get(), 0, 0), *highestId);
    if (batch.rows().size() * LookupsPerTestRead >= *highestId)
        return selectTests(batch, "SELECT id, path FROM tests", {}, reason);
    // An array literal: each path quoted, its quotes and backslashes escaped.
    QByteArray paths = "{";
    for (const QARunHistoryBatch::Row& row : batch.rows()) {
        paths += paths.size() > 1 ? ",\"" : "\"";
        for (const char c : row.path) {
            if (c == '"' || c == '\\')
                paths += '\\';
            paths += c;
        }
        paths += '"';
    }
    paths += '}';
    return selectTests(batch, "SELECT id, path FROM tests WHERE path = ANY ($1::text[])", paths,
                       reason);
}

// Gives the batch's rows the ids of the tests sql selects (id, path),
// with parameter as its $1 if not null.
bool QARunHistoryCopyWriter::selectTests(QARunHistoryBatch& batch, const char* sql,
                                         const QByteArray& parameter, QString* reason) const
{
    const char* values[] = {parameter.constData()};
    const Result result(libpq().PQexecParams(m_connection, sql, parameter.isNull() ? 0 : 1, nullptr,
                                             values, nullptr, nullptr, 0));
    if (libpq().PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        return fail(reason);
    for (int row = 0, rows = libpq().PQntuples(result.get()); row < rows; ++row) {
        const char* id = libpq().PQgetvalue(result.get(), row, 0);
        qint64 value = 0;
        std::from_chars(id, id + libpq().PQgetlength(result.get(), row, 0), value);
        batch.setTestId(libpq().PQgetvalue(result.get(), row, 1),
                        libpq().PQgetlength(result.get(), row, 1), value);
    }
    return true;
}

// Adds the tests of the rows without one and reads their ids back: those
// above knownId, the highest before. The store's write lock keeps other
// writers from adding tests meanwhile.
bool QARunHistoryCopyWriter::insertTests(QARunHistoryBatch& batch, qint64 knownId,
                                         QString* reason) const
{
    const QList<int> unknown = batch.unknownTests();
    if (unknown.isEmpty())
        return true;
    const auto appendPath = [&](int i, QByteArray& buffer) {
        appendText(buffer, batch.rows().at(unknown.at(i)).path);
        buffer.append('\n');
    };
    return copy("COPY tests (path) FROM STDIN", int(unknown.size()), appendPath, reason) &&
           selectTests(batch, "SELECT id, path FROM tests WHERE id > $1",
                       QByteArray::number(knownId), reason);
}

bool QARunHistoryCopyWriter::insertResults(const QARunHistoryBatch& batch, qint64 runId,
                                           qint64 runTime, QString* reason) const
{
    QByteArray run;
    appendNumber(run, runId);
    run.append('\t');
    appendNumber(run, runTime);
    run.append('\t');
    const auto appendResult = [&](int i, QByteArray& buffer) {
        const QARunHistoryBatch::Row& row = batch.rows().at(i);
        buffer.append(run);
        appendNumber(buffer, row.testId);
        buffer.append('\t');
        appendNumber(buffer, row.state);
        buffer.append('\t');
        if (row.seconds >= 0)
            appendNumber(buffer, row.seconds);
        else
            buffer.append("\\N", 2);
        buffer.append('\t');
        if (row.hasMessage)
            appendNumber(buffer, row.messageHash);
        else
            buffer.append("\\N", 2);
        buffer.append('\n');
    };
    return copy("COPY case_results (run_id, run_time, test_id, state, seconds, message_hash) "
                "FROM STDIN",
                int(batch.rows().size()), appendResult, reason);
}

bool QARunHistoryCopyWriter::copy(const char* sql, int rows,
                                  const std::function<void(int, QByteArray&)>& appendRow,
                                  QString* reason) const
{
    {
        const Result started(libpq().PQexec(m_connection, sql));
        if (libpq().PQresultStatus(started.get()) != PGRES_COPY_IN)
            return fail(reason);
    }
    QByteArray buffer;
    buffer.reserve(CopyChunk + 1024);
    bool sent = true;
    for (int row = 0; sent && row < rows; ++row) {
        appendRow(row, buffer);
        if (buffer.size() >= CopyChunk || row == rows - 1) {
            sent = libpq().PQputCopyData(m_connection, buffer.constData(), int(buffer.size())) == 1;
            buffer.resize(0);
        }
    }
    bool copied = sent || fail(reason);
    // Ending with an error message makes the server abandon the COPY.
    if (libpq().PQputCopyEnd(m_connection, sent ? nullptr : "abandoned") != 1 && copied)
        copied = fail(reason);
    while (Result result{libpq().PQgetResult(m_connection)}) {
        if (copied && libpq().PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
            *reason = QString::fromUtf8(libpq().PQresultErrorMessage(result.get())).trimmed();
            copied = false;
        }
    }
    return copied;
}
