#include "files.h"
#include "qareporterdata.h"
#include "qareporterhistorystore.h"
#include "qareporterloader.h"
#include "qarunhistory.h"
#include "qarunhistoryschema.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using State = QAReporterCase::State;
const QDateTime firstRun(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC);

// "a:P b:F c:I": cases by path and state; failed ones get a message.
QList<QAReporterCase> casesOf(const QString& spec)
{
    QList<QAReporterCase> cases;
    for (const QString& token : spec.split(' ', Qt::SkipEmptyParts)) {
        QAReporterCase testCase;
        testCase.path = token.section(':', 0, 0);
        testCase.state = State(QStringLiteral("PFI").indexOf(token.section(':', 1)));
        if (testCase.state == QAReporterCase::Failed)
            testCase.message = "failed: " + testCase.path;
        cases << testCase;
    }
    return cases;
}

// Run n, n minutes after the first, its totals counted from spec.
QARunHistory::RecordResult recordRun(QARunHistory& history, int n, const QString& spec,
                                     const QString& key = {})
{
    QARunHistory::RunInfo run;
    run.file = QStringLiteral("run%1.xml").arg(n);
    run.key = key.isEmpty() ? QStringLiteral("key%1").arg(n) : key;
    run.time = firstRun.addSecs(60 * n);
    for (const QAReporterCase& testCase : casesOf(spec))
        ++(testCase.state == QAReporterCase::Passed   ? run.passed
           : testCase.state == QAReporterCase::Failed ? run.failed
                                                      : run.inconclusive);
    QString error;
    const QARunHistory::RecordResult result = history.record(run, casesOf(spec), &error);
    if (result == QARunHistory::Failed)
        qWarning() << error;
    return result;
}

// Works on the store through a connection of its own, as another program.
void withStore(const QString& url, const std::function<void(QSqlDatabase&)>& work)
{
    {
        QString reason;
        QSqlDatabase db = QARunHistorySchema::connect(url, QStringLiteral("raw"), &reason);
        QVERIFY2(db.isOpen(), qPrintable(reason));
        work(db);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

} // namespace

class TestRunHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void recordsRunsOnce();
    void flakyCases();
    void caseHistories();
    void pathsReadBackVerbatim();
    void migratesVersion1();
    void refusesStores();
    void concurrentRecorders();
    void flakyAcrossFormats();

private:
    bool openHistory(QARunHistory& history);
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_url;
};

void TestRunHistory::initTestCase_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("sqlite") << false;
    if (qEnvironmentVariableIsSet("XRD_TEST_PG_URL"))
        QTest::newRow("postgresql") << true;
}

void TestRunHistory::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_url = m_folder->filePath(QStringLiteral("history.sqlite"));
    QFETCH_GLOBAL(bool, postgres);
    if (!postgres)
        return;
    m_url = qEnvironmentVariable("XRD_TEST_PG_URL");
    withStore(m_url, [](QSqlDatabase& db) {
        QSqlQuery query(db);
        QVERIFY(query.exec("DROP SCHEMA public CASCADE") && query.exec("CREATE SCHEMA public"));
    });
}

bool TestRunHistory::openHistory(QARunHistory& history)
{
    QString error;
    const bool opened = history.open(m_url, &error);
    if (!opened)
        qWarning() << error;
    return opened;
}

void TestRunHistory::recordsRunsOnce()
{
    QARunHistory history;
    QVERIFY(openHistory(history));
    // Recorded out of time order: the trend follows the runs' times.
    QCOMPARE(recordRun(history, 2, "a:P b:P c:I b:F"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 1, "a:P b:P"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 3, "a:F"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 9, "a:P", "key1"), QARunHistory::AlreadyRecorded);
    const QList<QARunHistory::TrendPoint> trend = history.trend(2);
    QCOMPARE(trend.size(), 2);
    QCOMPARE(trend.at(0).run.file, "run2.xml");
    QCOMPARE(trend.at(0).run.time, firstRun.addSecs(120));
    QCOMPARE((QList<qint64>{trend.at(0).passed, trend.at(0).failed, trend.at(0).inconclusive}),
             (QList<qint64>{2, 1, 1}));
    QCOMPARE(trend.at(1).run.file, "run3.xml");
    QCOMPARE(history.trend(10).size(), 3);
    // A path given twice is kept once, with its worst state.
    QCOMPARE(history.caseHistory({"b"}, 3)["b"].states,
             QList<State>({QAReporterCase::Passed, QAReporterCase::Failed}));

    // A file is recorded again only once it changed.
    QFile file(m_folder->filePath("results.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<testsuites/>") > 0);
    file.flush();
    const QARunHistory::RunInfo run{file.fileName(), {}, firstRun, 1, 0, 0};
    QCOMPARE(history.record(run, casesOf("a:P"), nullptr), QARunHistory::Recorded);
    QCOMPARE(history.record(run, casesOf("a:P"), nullptr), QARunHistory::AlreadyRecorded);
    QVERIFY(file.write("\n") > 0 && file.flush());
    QCOMPARE(history.record(run, casesOf("a:P"), nullptr), QARunHistory::Recorded);
    QString error;
    QARunHistory::RunInfo gone;
    gone.file = "gone.xml";
    QCOMPARE(history.record(gone, {}, &error), QARunHistory::Failed);
    QVERIFY2(error.startsWith("Cannot record gone.xml in the run history: "), qPrintable(error));

    // The hash of a message is its SHA-1's first bytes; no time is NULL.
    QCOMPARE(QARunHistory::messageHash("abc"), qint64(0xa9993e364706816aULL));
    withStore(m_url, [](QSqlDatabase& db) {
        QSqlQuery query("SELECT message_hash, seconds FROM case_results "
                        "JOIN runs ON runs.id = run_id WHERE file = 'run3.xml'",
                        db);
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), QARunHistory::messageHash("failed: a"));
        QVERIFY(query.value(1).isNull());
    });
}

// Runs 1 to 4 as the flaky list and the histories read them.
void recordFlakySeries(QARunHistory& history)
{
    QCOMPARE(recordRun(history, 1, "a:P b:F c:P d:F e:P"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 2, "a:F b:F c:F d:P e:I"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 3, "a:P b:F c:P d:F e:P"), QARunHistory::Recorded);
    QCOMPARE(recordRun(history, 4, "a:F b:F c:P d:F e:P"), QARunHistory::Recorded);
}

void TestRunHistory::flakyCases()
{
    QARunHistory history;
    QVERIFY(openHistory(history));
    recordFlakySeries(history);
    const QList<QARunHistory::FlakyCase> all = history.flaky(4);
    QCOMPARE(all.size(), 3);
    QCOMPARE(all.at(0).path, "a");
    QCOMPARE(all.at(0).failedRuns.size(), 2);
    QCOMPARE(all.at(0).failedRuns.at(1).file, "run4.xml");
    QCOMPARE(all.at(0).passRate, 0.5);
    QCOMPARE(all.at(1).path, "d");
    QCOMPARE(all.at(1).failures, 3);
    QCOMPARE(all.at(1).passRate, 0.25);
    QCOMPARE(all.at(2).path, "c");
    QCOMPARE(all.at(2).failedRuns.at(0).time, firstRun.addSecs(120));

    const QList<QARunHistory::FlakyCase> last = history.flaky(2);
    QCOMPARE(last.size(), 1);
    QCOMPARE(last.at(0).path, "a");
    QCOMPARE(last.at(0).passes, 1);
}

void TestRunHistory::caseHistories()
{
    QARunHistory history;
    QVERIFY(openHistory(history));
    recordFlakySeries(history);
    QCOMPARE(recordRun(history, 5, "b:F d:F"), QARunHistory::Recorded);
    // Older than every run: e passed later, b never did.
    QCOMPARE(recordRun(history, 0, "b:P e:P"), QARunHistory::Recorded);
    const QHash<QString, QARunHistory::CaseHistory> histories =
        history.caseHistory({"a", "b", "d", "e", "unknown"}, 3);
    QCOMPARE(histories.size(), 5);
    const QList<State> passedFailed = {QAReporterCase::Passed, QAReporterCase::Failed};
    QCOMPARE(histories["a"].states, passedFailed);
    QCOMPARE(histories["a"].lastPassed.file, "run3.xml");
    QCOMPARE(histories["a"].lastPassed.time, firstRun.addSecs(180));
    QCOMPARE(histories["b"].states.size(), 3);
    QCOMPARE(histories["b"].lastPassed.file, "run0.xml");
    QCOMPARE(histories["d"].lastPassed.file, "run2.xml");
    QCOMPARE(histories["e"].lastPassed.file, "run4.xml");
    QVERIFY(histories["unknown"].states.isEmpty());
    QVERIFY(histories["unknown"].lastPassed.file.isEmpty());
}

void TestRunHistory::pathsReadBackVerbatim()
{
    // What COPY's text format and an array literal escape, and more than
    // ASCII. The first run's many other paths make the second one look its
    // few paths up one by one.
    const QStringList paths = {"suite\tcase",          "two\nlines",
                               "back\\slash\\n",       "cr\rlf",
                               "\"quoted\", {braced}", QStringLiteral("gr\u00fc\u00dfe \u2713")};
    QStringList others = {"new\tone"};
    for (int i = 0; i < 100; ++i)
        others << QStringLiteral("other%1").arg(i);
    QARunHistory history;
    QVERIFY(openHistory(history));
    for (int run = 1; run <= 2; ++run) {
        QList<QAReporterCase> cases;
        for (const QString& path : paths + (run == 1 ? others.mid(1) : others.mid(0, 1))) {
            cases << QAReporterCase();
            cases.last().path = path;
            cases.last().state = State(run % 2);
        }
        QString error;
        QCOMPARE(
            history.record({"run.xml", QString::number(run), firstRun.addSecs(run)}, cases, &error),
            QARunHistory::Recorded);
    }
    const QHash<QString, QARunHistory::CaseHistory> histories =
        history.caseHistory(paths + others.mid(0, 2), 2);
    for (const QString& path : paths) {
        QCOMPARE(histories[path].states,
                 QList<State>({QAReporterCase::Failed, QAReporterCase::Passed}));
        QCOMPARE(histories[path].lastPassed.time, firstRun.addSecs(2));
    }
    QCOMPARE(histories["new\tone"].states, QList<State>({QAReporterCase::Passed}));
    QCOMPARE(histories["other0"].states, QList<State>({QAReporterCase::Failed}));
    withStore(m_url, [&](QSqlDatabase& db) {
        QSqlQuery query("SELECT COUNT(*) FROM tests", db);
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), paths.size() + others.size());
    });
}

void TestRunHistory::migratesVersion1()
{
    withStore(m_url, [](QSqlDatabase& db) {
        QString reason;
        QVERIFY2(QARunHistorySchema(QARunHistorySchema::backendOf(db)).migrate(db, &reason, 1),
                 qPrintable(reason));
        QSqlQuery query(db);
        const qint64 time = firstRun.toMSecsSinceEpoch();
        QVERIFY(query.exec(QStringLiteral("INSERT INTO runs (file, run_key, run_time, passed, "
                                          "failed, inconclusive) VALUES ('run1.xml', 'key1', %1, "
                                          "2, 0, 0), ('run2.xml', 'key2', %2, 1, 1, 0)")
                               .arg(time)
                               .arg(time + 60000)));
        QVERIFY(
            query.exec("INSERT INTO results (run_id, path, state, seconds) VALUES "
                       "(1, 'a', 0, 0.5), (1, 'b', 0, NULL), (2, 'a', 1, 1.5), (2, 'b', 0, 2)"));
    });
    QARunHistory history;
    QVERIFY(openHistory(history));
    QCOMPARE(history.trend(5).size(), 2);
    QCOMPARE(history.trend(5).at(1).failed, 1);
    QHash<QString, QARunHistory::CaseHistory> histories = history.caseHistory({"a", "b"}, 5);
    QCOMPARE(histories["a"].lastPassed.file, "run1.xml");
    QCOMPARE(histories["b"].lastPassed.file, "run2.xml");
    QCOMPARE(recordRun(history, 2, "a:F", "key2"), QARunHistory::AlreadyRecorded);
    QCOMPARE(recordRun(history, 3, "a:P b:P"), QARunHistory::Recorded);
    histories = history.caseHistory({"a", "b"}, 5);
    QCOMPARE(histories["a"].states, QList<State>({QAReporterCase::Passed, QAReporterCase::Failed,
                                                  QAReporterCase::Passed}));
    QCOMPARE(histories["b"].lastPassed.file, "run3.xml");
    QCOMPARE(history.flaky(3).size(), 1);
}

void TestRunHistory::refusesStores()
{
    QARunHistory history;
    QVERIFY(openHistory(history));
    history.close();
    withStore(m_url, [](QSqlDatabase& db) {
        QVERIFY(QSqlQuery(db).exec("UPDATE schema_version SET version = 99"));
    });
    QString error;
    QVERIFY(!history.open(m_url, &error));
    QCOMPARE(error, "Cannot open the run history at " + m_url +
                        ": its schema version 99 is newer than this program's (2)");
    QVERIFY(!history.isOpen());
    QVERIFY(history.trend(5).isEmpty());
    QCOMPARE(recordRun(history, 1, "a:P"), QARunHistory::Failed);

    QFETCH_GLOBAL(bool, postgres);
    const QString unopenable = postgres ? QString(m_url).replace("/postgres?", "/no_such_database?")
                                        : m_folder->filePath("missing/history.sqlite");
    QVERIFY(!history.open(unopenable, &error));
    QVERIFY2(error.startsWith("Cannot open the run history at " + unopenable + ": ") &&
                 error.size() > unopenable.size() + 35,
             qPrintable(error));
    QVERIFY(history.caseHistory({"a"}, 5).isEmpty() && history.flaky(5).isEmpty());
}

void TestRunHistory::concurrentRecorders()
{
    // Two writers open a new store and record at once, each its own runs
    // and the same shared ones.
    const int runs = 15;
    QString cases;
    for (int i = 0; i < 300; ++i)
        cases += QStringLiteral("case%1:%2 ").arg(i).arg(i % 7 == 0 ? 'F' : 'P');
    int outcomes[2][3] = {};
    auto writer = [&](int id) {
        QARunHistory history;
        if (!openHistory(history))
            return;
        for (int n = 0; n < runs; ++n) {
            ++outcomes[id][recordRun(history, n + 100 * (id + 1), cases,
                                     QStringLiteral("own%1-%2").arg(id).arg(n))];
            ++outcomes[id][recordRun(history, n, cases)];
        }
    };
    std::unique_ptr<QThread> threads[] = {std::unique_ptr<QThread>(QThread::create(writer, 0)),
                                          std::unique_ptr<QThread>(QThread::create(writer, 1))};
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        QVERIFY(thread->wait(120000));
    QCOMPARE(outcomes[0][QARunHistory::Recorded] + outcomes[1][QARunHistory::Recorded], 3 * runs);
    QCOMPARE(outcomes[0][QARunHistory::AlreadyRecorded] +
                 outcomes[1][QARunHistory::AlreadyRecorded],
             runs);
    QARunHistory history;
    QVERIFY(openHistory(history));
    QCOMPARE(history.trend(1000).size(), 3 * runs);
    const QHash<QString, QARunHistory::CaseHistory> histories =
        history.caseHistory({"case0", "case299"}, 1000);
    QCOMPARE(histories["case0"].states.size(), 3 * runs);
    QCOMPARE(histories["case299"].states.size(), 3 * runs);
}

QTEST_GUILESS_MAIN(TestRunHistory)
#include "tst_runhistory.moc"

// The same tests run as JUnit XML, then as a report, then as JUnit again:
// matched by path whatever the format, the one that flipped is flaky.
void TestRunHistory::flakyAcrossFormats()
{
    const QByteArray junit =
        "<testsuites><testsuite name=\"S\" tests=\"2\"><testcase classname=\"C\" name=\"t1\"/>"
        "<testcase classname=\"C\" name=\"t2\"><failure message=\"m\"/></testcase>"
        "</testsuite></testsuites>";
    auto node = [](const char* type, const char* name, const char* state, const QByteArray& in) {
        return QByteArray("<XROD:NODE type=\"") + type + "\" name=\"" + name + "\" state=\"" +
               state + "\" sum=\"1\"><TAG/>" + in + "</XROD:NODE>";
    };
    const QByteArray xrod =
        "<XROD>" +
        node("workspace", "ws", "ko",
             node("suite", "S", "ko",
                  node("test", "C", "ko",
                       node("testcase", "t1", "ko", {}) + node("testcase", "t2", "ko", {})))) +
        "</XROD>";
    QAReporterHistoryStore store;
    QString error;
    QVERIFY2(store.open(m_url, &error), qPrintable(error));
    const QList<QByteArray> runs{junit, xrod, junit};
    for (int run = 0; run < runs.size(); ++run) {
        const QString path =
            m_folder->filePath(QString("run%1.%2").arg(run).arg(run == 1 ? "xrd" : "xml"));
        QVERIFY(writeFile(path, runs[run]));
        QFile(path).setFileTime(firstRun.addSecs(60 * run), QFileDevice::FileModificationTime);
        QList<QAReporterData*> records;
        QAReporterLoader(nullptr, {}).load({path}, records);
        QCOMPARE(records.size(), 1);
        QCOMPARE(store.record(*records.first(), &error), QARunHistory::Recorded);
        qDeleteAll(records);
    }
    const QList<QARunHistory::FlakyCase> flaky = store.history().flaky(3);
    QCOMPARE(flaky.size(), 1);
    QCOMPARE(flaky.first().path, QString("S/C/t1"));
    QCOMPARE(flaky.first().passes, 2);
    QCOMPARE(flaky.first().failures, 1);
    QCOMPARE(flaky.first().failedRuns.first().file, m_folder->filePath("run1.xrd"));
}
