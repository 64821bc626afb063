#ifndef QAPOSTGRESLIBRARY_H
#define QAPOSTGRESLIBRARY_H

#include <libpq-fe.h>

// The few functions of PostgreSQL's client library that recording a run
// uses, found at run time in the copy that Qt's QPSQL driver loads. The
// program does not link the library: loading it (and what it needs) at
// every start would slow every process that never opens a PostgreSQL
// history.
class QAPostgresLibrary
{
public:
    // The functions, resolved on the first call; null when the library or
    // one of them is missing (isLoaded() false).
    static const QAPostgresLibrary& get();
    bool isLoaded() const { return m_loaded; }

    decltype(&::PQexec) PQexec = nullptr;
    decltype(&::PQexecParams) PQexecParams = nullptr;
    decltype(&::PQresultStatus) PQresultStatus = nullptr;
    decltype(&::PQresultErrorMessage) PQresultErrorMessage = nullptr;
    decltype(&::PQerrorMessage) PQerrorMessage = nullptr;
    decltype(&::PQntuples) PQntuples = nullptr;
    decltype(&::PQgetvalue) PQgetvalue = nullptr;
    decltype(&::PQgetlength) PQgetlength = nullptr;
    decltype(&::PQputCopyData) PQputCopyData = nullptr;
    decltype(&::PQputCopyEnd) PQputCopyEnd = nullptr;
    decltype(&::PQgetResult) PQgetResult = nullptr;
    decltype(&::PQclear) PQclear = nullptr;

private:
    QAPostgresLibrary();
    bool m_loaded = false;
};

#endif
