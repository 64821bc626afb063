#include "qapostgreslibrary.h"

#include <QLibrary>

namespace {

template <typename Function> bool resolve(QLibrary& library, const char* name, Function* function)
{
    *function = reinterpret_cast<Function>(library.resolve(name));
    return *function != nullptr;
}

} // namespace

const QAPostgresLibrary& QAPostgresLibrary::get()
{
    static const QAPostgresLibrary library;
    return library;
}

QAPostgresLibrary::QAPostgresLibrary()
{
    QLibrary library(QStringLiteral("pq"), 5);
    if (!library.load())
        return;
    m_loaded =
        resolve(library, "PQexec", &PQexec) && resolve(library, "PQexecParams", &PQexecParams) &&
        resolve(library, "PQresultStatus", &PQresultStatus) &&
        resolve(library, "PQresultErrorMessage", &PQresultErrorMessage) &&
        resolve(library, "PQerrorMessage", &PQerrorMessage) &&
        resolve(library, "PQntuples", &PQntuples) && resolve(library, "PQgetvalue", &PQgetvalue) &&
        resolve(library, "PQgetlength", &PQgetlength) &&
        resolve(library, "PQputCopyData", &PQputCopyData) &&
        resolve(library, "PQputCopyEnd", &PQputCopyEnd) &&
        resolve(library, "PQgetResult", &PQgetResult) && resolve(library, "PQclear", &PQclear);
}
