#ifndef QARUNHISTORYSCHEMA_H
#define QARUNHISTORYSCHEMA_H

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The run history's database: the connection a store URL names, the few
// statements where SQLite and PostgreSQL differ, and the migrations that
// bring a store of any earlier layout to the current one.
//
// Version 1 kept each case's path in every result row. Version 2 keeps the
// paths once, in the table of tests, and adds to each result a hash of its
// failure message and the run's time, which an index of the results by
// test, state and time needs to find where a test last passed.
//
// The SQL is the same for both but for what dialect() and beginWrite()
// decide (a run's cases go in through each client library: see
// QARunHistorySqliteWriter and QARunHistoryCopyWriter); it needs SQLite
// 3.35 (RETURNING) and PostgreSQL 10 (identity columns).
class QARunHistorySchema
{
public:
    enum Backend { SQLite, PostgreSQL };
    static const int CurrentVersion = 2;

    // Adds and opens the connection of that name to the store at url:
    // empty for defaultLocation, "sqlite:PATH" or a plain path for an
    // SQLite file, "postgresql://[user[:password]@][host][:port]/dbname"
    // (also "postgres://", "?host=/socket/dir" for a Unix socket). On
    // failure the connection is closed and reason says why.
    static QSqlDatabase connect(const QString& url, const QString& connectionName, QString* reason);
    // url as it may be shown: without its password.
    static QString displayUrl(const QString& url);
    // The SQLite file an empty URL stands for.
    static QString defaultLocation();

    explicit QARunHistorySchema(Backend backend) : m_backend(backend) {}
    static Backend backendOf(const QSqlDatabase& db);

    // Starts a transaction that no other writer of the store runs beside:
    // two processes recording at once take turns.
    bool beginWrite(QSqlDatabase& db, QString* reason) const;
    // Brings the store to targetVersion, each migration in a transaction of
    // its own. Refuses a store of a later version than this program knows.
    bool migrate(QSqlDatabase& db, QString* reason, int targetVersion = CurrentVersion) const;

private:
    QStringList migrationTo(int version) const;
    bool migrateOnce(QSqlDatabase& db, int targetVersion, bool* done, QString* reason) const;
    QString dialect(QString sql) const;

    Backend m_backend;
};

#endif
