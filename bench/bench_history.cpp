// Speed of the run history: recording a run of 100 000 cases against the
// import of the same JUnit file (targets: SQLite <= 0.5 x the import,
// PostgreSQL <= 1.0 x), and the flaky list over ten runs of 10 000 and of
// 20 000 cases (linear growth doubles the time). SQLite stores go to a
// temporary folder; PostgreSQL is measured when XRD_BENCH_PG_URL names a
// scratch database, whose public schema is dropped first. Prints figures
// only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"

#include <qareporterdata.h>
#include <qaresultimporter.h>
#include <qarunhistory.h>
#include <qarunhistoryschema.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const int Runs = 3;
const int RecordCases = 100000;
const int FlakyRuns = 10;

quint64 mixed(quint64 value)
{
    // splitmix64, as the JUnit generator draws its cases.
    value += 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

// The cases of a run as the generated JUnit file names them (suites of
// fifty, classes of ten). One in ten is unstable and fails in about half
// the runs; one in fifty is inconclusive.
QList<QAReporterCase> generatedCases(int count, int run)
{
    QList<QAReporterCase> cases;
    cases.reserve(count);
    for (int index = 0; index < count; ++index) {
        const QString suite = QStringLiteral("com.example.module%1").arg(index / 50);
        QAReporterCase testCase;
        testCase.path = QStringLiteral("%1/%1.Feature%2Test/checksCase%3")
                            .arg(suite)
                            .arg(index % 50 / 10)
                            .arg(index);
        const quint64 draw = mixed(quint64(index));
        if (draw % 10 == 3 && mixed(draw + quint64(run)) % 2 == 0) {
            testCase.state = QAReporterCase::Failed;
            testCase.message =
                QStringLiteral("expected: <%1> but was: <%2>").arg(draw % 97).arg(run);
        } else if (draw % 50 == 7) {
            testCase.state = QAReporterCase::Inconclusive;
        }
        testCase.seconds = double(draw % 1000) / 1000;
        cases << testCase;
    }
    return cases;
}

QARunHistory::RunInfo runInfo(int run)
{
    QARunHistory::RunInfo info;
    info.file = QStringLiteral("run%1.xml").arg(run);
    info.key = QStringLiteral("bench-%1").arg(run);
    info.time = QDateTime(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC).addSecs(60 * run);
    return info;
}

// A store to measure in: a new SQLite file, or the PostgreSQL database
// emptied.
QString freshStore(const QString& pgUrl, const QTemporaryDir& folder, const QString& name)
{
    if (pgUrl.isEmpty())
        return folder.filePath(name + QStringLiteral(".sqlite"));
    {
        QString reason;
        QSqlDatabase db = QARunHistorySchema::connect(pgUrl, QStringLiteral("wipe"), &reason);
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("DROP SCHEMA public CASCADE")) ||
            !query.exec(QStringLiteral("CREATE SCHEMA public")))
            std::printf("cannot empty %s: %s\n", qPrintable(pgUrl), qPrintable(reason));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("wipe"));
    return pgUrl;
}

bool record(QARunHistory& history, int run, const QList<QAReporterCase>& cases)
{
    QString error;
    if (history.record(runInfo(run), cases, &error) == QARunHistory::Recorded)
        return true;
    std::printf("run %d not recorded: %s\n", run, qPrintable(error));
    return false;
}

// Recording times: the first run into an empty store (every test new),
// then the best of the next runs (tests known).
void measureRecord(const QString& backend, const QString& url, double importSeconds)
{
    QARunHistory history;
    QString error;
    if (!history.open(url, &error)) {
        std::printf("%s: %s\n", qPrintable(backend), qPrintable(error));
        return;
    }
    const QList<QAReporterCase> cases = generatedCases(RecordCases, 0);
    int run = 0;
    const double first = BenchTimer::seconds([&] { record(history, run++, cases); });
    const double next = BenchTimer::bestSeconds(Runs, [&] { record(history, run++, cases); });
    std::printf("%-10s %8d %12.3f %8.2f %12.3f %8.2f\n", qPrintable(backend), RecordCases, first,
                first / importSeconds, next, next / importSeconds);
}

double measureFlaky(const QString& url, int cases)
{
    QARunHistory history;
    QString error;
    if (!history.open(url, &error)) {
        std::printf("%s\n", qPrintable(error));
        return 0;
    }
    for (int run = 0; run < FlakyRuns; ++run)
        record(history, run, generatedCases(cases, run));
    int found = 0;
    const double seconds =
        BenchTimer::bestSeconds(Runs, [&] { found = history.flaky(FlakyRuns).size(); });
    std::printf("  %6d cases x %d runs: %8.3f s, %d flaky\n", cases, FlakyRuns, seconds, found);
    return seconds;
}

void measureFlakyGrowth(const QString& backend, const QString& pgUrl, const QTemporaryDir& folder)
{
    std::printf("\nflaky list over the last %d runs, %s:\n", FlakyRuns, qPrintable(backend));
    const double small = measureFlaky(freshStore(pgUrl, folder, QStringLiteral("flaky10k")), 10000);
    const double large = measureFlaky(freshStore(pgUrl, folder, QStringLiteral("flaky20k")), 20000);
    if (small > 0)
        std::printf("  20 000 / 10 000: %.2f (linear: about 2)\n", large / small);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    const QString junit = BenchFiles::junit(RecordCases);
    QTemporaryDir folder;
    if (junit.isEmpty() || !folder.isValid()) {
        std::printf("cannot write the generated files\n");
        return 1;
    }
    bool imported = false;
    const double importSeconds = BenchTimer::bestSeconds(Runs, [&] {
        imported = QAResultImporter::import(junit, styles.styles(), nullptr, nullptr) != nullptr;
    });
    if (!imported)
        std::printf("the import of %s failed\n", qPrintable(junit));
    std::printf("times: best of %d runs; import of %d cases: %.3f s\n\n", Runs, RecordCases,
                importSeconds);
    std::printf("%-10s %8s %12s %8s %12s %8s\n", "record", "cases", "first s", "ratio", "next s",
                "ratio");
    const QString pgUrl = qEnvironmentVariable("XRD_BENCH_PG_URL");
    measureRecord(QStringLiteral("SQLite"), freshStore({}, folder, QStringLiteral("record")),
                  importSeconds);
    if (!pgUrl.isEmpty())
        measureRecord(QStringLiteral("PostgreSQL"), freshStore(pgUrl, folder, {}), importSeconds);
    measureFlakyGrowth(QStringLiteral("SQLite"), {}, folder);
    if (!pgUrl.isEmpty())
        measureFlakyGrowth(QStringLiteral("PostgreSQL"), pgUrl, folder);
    std::fflush(stdout);
    return 0;
}
