// Speed and memory of the failed-tests filter on generated reports of
// 50 000 and 100 000 test cases: the filter time against the reader's parse
// time of the same file in the same run, the filter's peak memory against
// the file size, and how the time grows when the report doubles. Prints
// figures only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "peakmemory.h"

#include <ddocument.h>
#include <qareporterdata.h>
#include <qareporterfilter.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

const int Runs = 3;
const double MB = 1e6;

// What the viewer keeps of a file, read with the default styles.
std::unique_ptr<QAReporterData> readRecord(const QString& path, const BenchStyles& styles)
{
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    if (!reader.parseFile(path, nullptr)) {
        std::printf("%s: the reader failed: %s\n", qPrintable(path),
                    qPrintable(reader.errorString()));
        return nullptr;
    }
    return reader.takeRecord(path);
}

QAReporterFilterCriteria failedOnly()
{
    QAReporterFilterCriteria criteria;
    criteria.addPattern(QAReporterFilterCriteria::StateField, QRegularExpression("ko"));
    return criteria;
}

// The best time of the filter's apply alone; the filtered records are
// destroyed outside the timing, as the viewer does on its next assembly.
double bestFilterSeconds(QAReporterData* record)
{
    double best = -1;
    for (int run = 0; run < Runs; ++run) {
        QAReporterFilter filter;
        filter.setCriteria(failedOnly());
        QElapsedTimer timer;
        timer.start();
        filter.apply({record});
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (best < 0 || seconds < best)
            best = seconds;
    }
    return best;
}

struct Row
{
    int cases = 0;
    qint64 bytes = 0;
    double parseSeconds = 0;
    double filterSeconds = 0;
    qint64 peakGrowth = -1;
    qsizetype keptNodes = 0;
};

qsizetype nodeCount(QAReporterDataTree* tree)
{
    qsizetype count = 0;
    tree->iterator()->toRoot();
    while (tree->next(PreOrder))
        ++count;
    return count;
}

Row measure(int cases, const BenchStyles& styles)
{
    Row row;
    row.cases = cases;
    const QString path = BenchFiles::report(cases);
    if (path.isEmpty())
        return row;
    std::unique_ptr<QAReporterData> record = readRecord(path, styles);
    if (!record)
        return row;
    row.bytes = QFileInfo(path).size();

    row.parseSeconds = BenchTimer::bestSeconds(Runs, [&] { readRecord(path, styles); });
    row.filterSeconds = bestFilterSeconds(record.get());
    row.peakGrowth = PeakMemory::growthOf([&] {
        QAReporterFilter filter;
        filter.setCriteria(failedOnly());
        filter.apply({record.get()});
    });
    QAReporterFilter filter;
    filter.setCriteria(failedOnly());
    filter.apply({record.get()});
    if (!filter.filteredRecords().isEmpty())
        row.keptNodes = nodeCount(filter.filteredRecords().first()->tree);
    return row;
}

void printRow(const Row& row)
{
    if (row.bytes <= 0) {
        std::printf("%9d  (no report)\n", row.cases);
        return;
    }
    std::printf("%9d %9.1f %10.3f %10.3f %14.3f %9.1f %10.3f %10lld\n", row.cases,
                double(row.bytes) / MB, row.parseSeconds, row.filterSeconds,
                row.filterSeconds / row.parseSeconds, double(row.peakGrowth) / MB,
                double(row.peakGrowth) / double(row.bytes), qlonglong(row.keptNodes));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    if (!styles.error().isEmpty())
        std::printf("note: %s; reading without styles\n", qPrintable(styles.error()));
    std::printf("filter: failed tests only (state pattern \"ko\"); times: best of %d runs; "
                "MB = 10^6 bytes\npeak: resident growth while filtering (%s)\n\n",
                Runs,
                PeakMemory::canReset() ? "high-water mark reset" : "measured in a forked child");
    std::printf("%9s %9s %10s %10s %14s %9s %10s %10s\n", "cases", "size MB", "parse s", "filter s",
                "filter/parse", "peak MB", "peak/size", "kept nodes");
    const Row half = measure(50000, styles);
    printRow(half);
    const Row full = measure(100000, styles);
    printRow(full);

    if (full.bytes > 0 && full.parseSeconds > 0)
        std::printf("\nfilter time / parse time, 100 000 cases: %.3f (target: at most 0.5)\n",
                    full.filterSeconds / full.parseSeconds);
    if (half.filterSeconds > 0 && full.filterSeconds > 0)
        std::printf("filter time 100 000 / 50 000 cases: %.2f (linear: 2.0, within 30 %%: "
                    "1.4 to 2.6)\n",
                    full.filterSeconds / half.filterSeconds);
    if (full.bytes > 0)
        std::printf("filter peak memory / file size, 100 000 cases: %.3f\n",
                    double(full.peakGrowth) / double(full.bytes));
    return 0;
}
