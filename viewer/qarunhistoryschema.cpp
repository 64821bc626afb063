#include "qarunhistoryschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

namespace {

// The result code SQLite gives for a file another connection has locked.
const int SqliteBusy = 5;

// Any number: the advisory lock PostgreSQL writers of the store take turns on.
const char* const PostgresWriteLock = "SELECT pg_advisory_xact_lock(7882836876)";

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(QARunHistory)
};

// postgresql://[user[:password]@][host][:port]/dbname[?key=value&...]
const QRegularExpression& postgresPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^postgres(?:ql)?://(?:([^:@/]*)(?::([^@/]*))?@)?([^:/?]*)(?::(\\d+))?/"
                       "([^?]*)(?:\\?(.*))?$"));
    return pattern;
}

bool isPostgresUrl(const QString& url)
{
    return url.startsWith(QLatin1String("postgresql:")) ||
           url.startsWith(QLatin1String("postgres:"));
}

QString decoded(const QString& part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QSqlDatabase connectPostgres(const QString& url, const QString& connectionName, QString* reason)
{
    const QRegularExpressionMatch match = postgresPattern().match(url);
    if (!match.hasMatch()) {
        *reason = Texts::tr("not a PostgreSQL URL of the form "
                            "postgresql://[user[:password]@][host][:port]/dbname");
        return {};
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    if (!db.isValid()) {
        *reason = Texts::tr("the Qt SQL driver QPSQL is not available");
        return db;
    }
    db.setUserName(decoded(match.captured(1)));
    db.setPassword(decoded(match.captured(2)));
    db.setHostName(decoded(match.captured(3)));
    if (!match.captured(4).isEmpty())
        db.setPort(match.captured(4).toInt());
    db.setDatabaseName(decoded(match.captured(5)));
    const QStringList options = match.captured(6).split(QLatin1Char('&'), Qt::SkipEmptyParts);
    for (const QString& option : options) {
        const QString key = option.section(QLatin1Char('='), 0, 0);
        const QString value = decoded(option.section(QLatin1Char('='), 1));
        if (key == QLatin1String("host"))
            db.setHostName(value);
        else if (key == QLatin1String("port"))
            db.setPort(value.toInt());
        else if (key == QLatin1String("user"))
            db.setUserName(value);
        else if (key == QLatin1String("password"))
            db.setPassword(value);
    }
    if (!db.open()) {
        *reason = db.lastError().text();
        return db;
    }
    // Creating what exists already ("IF NOT EXISTS") is no news to print.
    QSqlQuery(db).exec(QStringLiteral("SET client_min_messages TO WARNING"));
    return db;
}

// Two connections switching a new file to the write-ahead log at once: the
// one that loses is told the file is locked at once, without the busy
// timeout's wait, and tries again.
bool enableWal(QSqlQuery& query)
{
    const int attempts = 100;
    for (int attempt = 1;; ++attempt) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return true;
        const bool busy = (query.lastError().nativeErrorCode().toInt() & 0xff) == SqliteBusy;
        if (!busy || attempt == attempts)
            return false;
        QThread::msleep(20);
    }
}

QSqlDatabase connectSqlite(const QString& url, const QString& connectionName, QString* reason)
{
    QString path = url;
    if (url.isEmpty()) {
        path = QARunHistorySchema::defaultLocation();
        QDir().mkpath(QFileInfo(path).absolutePath());
    } else if (url.startsWith(QLatin1String("sqlite:"))) {
        path = url.mid(7);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    if (!db.isValid()) {
        *reason = Texts::tr("the Qt SQL driver QSQLITE is not available");
        return db;
    }
    db.setDatabaseName(path);
    // Writers take turns (see beginWrite): one may wait for another's
    // recording of a large run.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=60000"));
    if (!db.open()) {
        *reason = db.lastError().text();
        return db;
    }
    // The write-ahead log lets readers go on while a run is recorded.
    QSqlQuery query(db);
    const bool set = enableWal(query) && query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (!set) {
        *reason = query.lastError().text();
        db.close();
    }
    return db;
}

bool execAll(QSqlQuery& query, const QStringList& statements)
{
    for (const QString& sql : statements) {
        if (!query.exec(sql))
            return false;
    }
    return true;
}

} // namespace

QSqlDatabase QARunHistorySchema::connect(const QString& url, const QString& connectionName,
                                         QString* reason)
{
    QSqlDatabase db = isPostgresUrl(url) ? connectPostgres(url, connectionName, reason)
                                         : connectSqlite(url, connectionName, reason);
    if (!db.isOpen() && reason->isEmpty())
        *reason = Texts::tr("the database cannot be opened");
    return db;
}

QString QARunHistorySchema::displayUrl(const QString& url)
{
    QString shown = url;
    const QRegularExpressionMatch match = postgresPattern().match(url);
    if (match.hasMatch() && match.capturedLength(2) > 0)
        shown.replace(match.capturedStart(2), match.capturedLength(2), QStringLiteral("***"));
    return shown.isEmpty() ? defaultLocation() : shown;
}

QString QARunHistorySchema::defaultLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.sqlite");
}

QARunHistorySchema::Backend QARunHistorySchema::backendOf(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL") ? PostgreSQL : SQLite;
}

QString QARunHistorySchema::dialect(QString sql) const
{
    // The only difference in the tables: how a 64-bit key numbers itself.
    return sql.replace(QLatin1String("%ID%"), m_backend == SQLite
                                                  ? QLatin1String("INTEGER PRIMARY KEY")
                                                  : QLatin1String("BIGINT GENERATED BY DEFAULT "
                                                                  "AS IDENTITY PRIMARY KEY"));
}

bool QARunHistorySchema::beginWrite(QSqlDatabase& db, QString* reason) const
{
    QSqlQuery query(db);
    const bool begun = m_backend == SQLite
                           ? query.exec(QStringLiteral("BEGIN IMMEDIATE"))
                           : execAll(query, {QStringLiteral("BEGIN"), PostgresWriteLock});
    if (!begun) {
        *reason = query.lastError().text();
        if (m_backend == PostgreSQL)
            query.exec(QStringLiteral("ROLLBACK"));
    }
    return begun;
}

QStringList QARunHistorySchema::migrationTo(int version) const
{
    QStringList statements;
    // A state is a QAReporterCase::State: 0 passed, 1 failed, 2 inconclusive.
    // Times are milliseconds since 1970 (UTC).
    if (version == 1) {
        statements = {
            "CREATE TABLE runs (id %ID%, file TEXT NOT NULL, run_key TEXT NOT NULL UNIQUE, "
            "run_time BIGINT NOT NULL, passed BIGINT NOT NULL, failed BIGINT NOT NULL, "
            "inconclusive BIGINT NOT NULL)",
            "CREATE INDEX runs_by_time ON runs (run_time, id)",
            "CREATE TABLE results (run_id BIGINT NOT NULL, path TEXT NOT NULL, "
            "state INTEGER NOT NULL, seconds DOUBLE PRECISION)",
            "CREATE INDEX results_by_run ON results (run_id)"};
    } else if (version == 2) {
        statements = {
            "CREATE TABLE tests (id %ID%, path TEXT NOT NULL UNIQUE)",
            "INSERT INTO tests (path) SELECT DISTINCT path FROM results ORDER BY path",
            "CREATE TABLE case_results (run_id BIGINT NOT NULL, run_time BIGINT NOT NULL, "
            "test_id BIGINT NOT NULL, state INTEGER NOT NULL, seconds DOUBLE PRECISION, "
            "message_hash BIGINT)",
            "INSERT INTO case_results (run_id, run_time, test_id, state, seconds) "
            "SELECT r.run_id, u.run_time, t.id, r.state, r.seconds FROM results r "
            "JOIN runs u ON u.id = r.run_id JOIN tests t ON t.path = r.path",
            "DROP TABLE results", "CREATE INDEX case_results_by_run ON case_results (run_id)",
            // A test's latest run in a state, found without reading its
            // other runs: the run where it last passed.
            "CREATE INDEX case_results_by_test ON case_results (test_id, state, run_time, run_id)"};
    }
    for (QString& sql : statements)
        sql = dialect(sql);
    return statements;
}

bool QARunHistorySchema::migrate(QSqlDatabase& db, QString* reason, int targetVersion) const
{
    bool done = false;
    while (!done) {
        if (!migrateOnce(db, targetVersion, &done, reason))
            return false;
    }
    return true;
}

// One migration, or none when the store is at targetVersion already; done
// tells which.
bool QARunHistorySchema::migrateOnce(QSqlDatabase& db, int targetVersion, bool* done,
                                     QString* reason) const
{
    if (!beginWrite(db, reason))
        return false;
    QSqlQuery query(db);
    int version = 0;
    bool ok = query.exec(QStringLiteral(
                  "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) &&
              query.exec(QStringLiteral("SELECT version FROM schema_version"));
    if (ok && query.next())
        version = query.value(0).toInt();
    query.finish();
    if (ok && version > CurrentVersion) {
        *reason = Texts::tr("its schema version %1 is newer than this program's (%2)")
                      .arg(version)
                      .arg(CurrentVersion);
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    *done = ok && version >= targetVersion;
    if (ok && !*done) {
        const QString setVersion = version == 0 ? "INSERT INTO schema_version (version) VALUES (%1)"
                                                : "UPDATE schema_version SET version = %1";
        ok = execAll(query, migrationTo(version + 1) << setVersion.arg(version + 1));
    }
    if (!ok || !query.exec(QStringLiteral("COMMIT"))) {
        *reason = query.lastError().text();
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}
