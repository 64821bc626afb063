// Import speed and memory of JUnit XML results: a bare QXmlStreamReader
// loop over a generated file against the whole import (record built:
// tree, document, totals), best of three runs, on a file of about 10 MB and
// one of about 100 MB. Each import builds its record in fresh memory, as
// the first open of a file in a viewer does: between two runs the record is
// deleted and its memory given back to the system, which is timed apart as
// closing the file. Prints figures only; it never fails on a time.
// "bench_import --read FILE" imports one file once, for profilers. Peak
// memory is measured in a new process per file.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "benchxml.h"
#include "junitgenerator.h"
#include "peakmemory.h"

#include <qafreedmemory.h>
#include <qareporterdata.h>
#include <qaresultimporter.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cstdio>

namespace {

const int Runs = 3;
const double MB = 1e6;
// About 275 bytes of file per case on average: 30 000 cases make ~8 MB,
// 360 000 cases ~100 MB.
const int SmallCases = 30000;
const int LargeCases = 360000;

struct Totals
{
    bool read = false;
    qint64 ok = 0;
    qint64 ko = 0;
    qint64 ne = -1;
    QString error;
};

// What the viewer does per file; the record goes at once, as closing the
// window would drop it.
Totals importFile(const QString& path, const BenchStyles& styles)
{
    Totals totals;
    std::unique_ptr<QAReporterData> record =
        QAResultImporter::import(path, styles.styles(), nullptr, &totals.error);
    if (!record)
        return totals;
    totals.read = true;
    totals.ok = record->okCount;
    totals.ko = record->koCount;
    totals.ne = record->neCount;
    return totals;
}

struct Row
{
    int cases = 0;
    qint64 bytes = 0;
    double bareSeconds = 0;
    double importSeconds = 0;
    double dropSeconds = 0;
    qint64 peakGrowth = -1;
};

Row measure(int cases, const BenchStyles& styles)
{
    Row row;
    row.cases = cases;
    const QString path = BenchFiles::junit(cases);
    if (path.isEmpty())
        return row;
    row.bytes = QFileInfo(path).size();

    // Not timed: the import must agree with what the generator wrote.
    JUnitGenerator generator;
    generator.setCaseCount(cases);
    const Totals totals = importFile(path, styles);
    if (!totals.read)
        std::printf("%d cases: the import failed: %s\n", cases, qPrintable(totals.error));
    else if (totals.ok != generator.passedCases() || totals.ko != generator.failedCases() ||
             qMax<qint64>(totals.ne, 0) != generator.skippedCases())
        std::printf("%d cases: totals differ from the generator's\n", cases);

    row.peakGrowth = PeakMemory::growthInNewProcess({QStringLiteral("--peak"), path});
    row.bareSeconds = BenchTimer::bestSeconds(Runs, [&] { BenchXml::bareLoop(path); });
    std::unique_ptr<QAReporterData> record;
    const BenchTimer::Split split = BenchTimer::bestSplitSeconds(
        Runs, [&] { record = QAResultImporter::import(path, styles.styles(), nullptr, nullptr); },
        [&] {
            record.reset();
            QAFreedMemory::giveBack();
        });
    row.importSeconds = split.work;
    row.dropSeconds = split.teardown;
    return row;
}

void printRow(const Row& row)
{
    if (row.bytes <= 0) {
        std::printf("%9d  (no file)\n", row.cases);
        return;
    }
    const double size = double(row.bytes) / MB;
    const double bare = size / row.bareSeconds;
    const double ours = size / row.importSeconds;
    const double withDrop = row.bareSeconds / (row.importSeconds + row.dropSeconds);
    std::printf("%9d %9.1f %10.1f %12.1f %7.2f %8.3f %9.2f %10.1f %10.2f\n", row.cases, size, bare,
                ours, ours / bare, row.dropSeconds, withDrop, double(row.peakGrowth) / MB,
                double(row.peakGrowth) / row.bytes);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    const QStringList arguments = app.arguments();
    // "--peak FILE": the memory one import of FILE adds, in a process of its own.
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--peak")) {
        PeakMemory::printGrowthOf([&] { importFile(arguments.at(2), styles); });
        return 0;
    }
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--read")) {
        const Totals totals = importFile(arguments.at(2), styles);
        std::printf("%s: ok %lld, ko %lld, NE %lld%s%s\n", qPrintable(arguments.at(2)),
                    qlonglong(totals.ok), qlonglong(totals.ko), qlonglong(totals.ne),
                    totals.read ? "" : ", failed: ", qPrintable(totals.error));
        return totals.read ? 0 : 1;
    }
    if (!styles.error().isEmpty())
        std::printf("note: %s; importing without styles\n", qPrintable(styles.error()));
    std::printf("times: best of %d runs; MB = 10^6 bytes; ratio = import speed / bare speed; "
                "drop = seconds to delete the record and give its memory back; +drop = the "
                "ratio with the drop counted in the import; peak = resident growth while "
                "importing; targets: ratio >= 1.0, peak/size <= 5.1\n\n",
                Runs);
    std::printf("%9s %9s %10s %12s %7s %8s %9s %10s %10s\n", "cases", "size MB", "bare MB/s",
                "import MB/s", "ratio", "drop s", "+drop", "peak MB", "peak/size");
    const Row small = measure(SmallCases, styles);
    printRow(small);
    const Row large = measure(LargeCases, styles);
    printRow(large);
    if (small.bytes > 0 && large.bytes > 0)
        std::printf("\nimport time large / small: %.2f (size ratio %.2f; linear growth gives "
                    "about the size ratio)\n",
                    large.importSeconds / small.importSeconds, double(large.bytes) / small.bytes);
    std::fflush(stdout);
    return 0;
}
