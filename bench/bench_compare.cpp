// Speed of comparing runs and grouping failures, as ratios to the time
// the same files take to read (targets: comparing two runs of 100 000
// cases at most 0.3 x reading both, grouping 20 000 failures at most 0.2 x
// reading their report). Prints figures only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"

#include <qareportercases.h>
#include <qareportercomparison.h>
#include <qareporterdata.h>
#include <qareporterfailuregroups.h>
#include <qareporterloader.h>

#include <QCoreApplication>

#include <cstdio>

namespace {

const int Runs = 3;
const int Cases = 100000;

QList<QAReporterData*> load(const QStringList& files, const BenchStyles& styles)
{
    QList<QAReporterData*> records;
    QAReporterLoader(nullptr, styles.styles()).load(files, records);
    return records;
}

// The best time to read the files, and their records read once more.
QList<QAReporterData*> timedLoad(const QStringList& files, const BenchStyles& styles,
                                 double* seconds)
{
    *seconds = BenchTimer::bestSeconds(Runs, [&] { qDeleteAll(load(files, styles)); });
    return load(files, styles);
}

void measureComparison(const BenchStyles& styles)
{
    const QString earlier = BenchFiles::report(Cases, 0.1, 1);
    const QString current = BenchFiles::report(Cases, 0.1, 2);
    double readSeconds = 0;
    const QList<QAReporterData*> records = timedLoad({earlier, current}, styles, &readSeconds);
    if (records.size() != 2) {
        std::printf("the generated reports could not be read\n");
        return;
    }
    int newFailures = 0;
    const double compareSeconds = BenchTimer::bestSeconds(Runs, [&] {
        QAReporterComparison comparison(QAReporterCases::collect(*records[0]),
                                        QAReporterCases::collect(*records[1]));
        newFailures = int(comparison.entries(QAReporterComparison::NewFailures).size());
    });
    std::printf("compare   2 x %d cases: read %.3f s, compare %.3f s, ratio %.2f (%d new "
                "failures)\n",
                Cases, readSeconds, compareSeconds, compareSeconds / readSeconds, newFailures);
    qDeleteAll(records);
}

void measureGrouping(const BenchStyles& styles)
{
    const QString report = BenchFiles::report(Cases, 0.2, 3);
    double readSeconds = 0;
    const QList<QAReporterData*> records = timedLoad({report}, styles, &readSeconds);
    if (records.size() != 1) {
        std::printf("the generated report could not be read\n");
        return;
    }
    int groups = 0;
    int failures = 0;
    const double groupSeconds = BenchTimer::bestSeconds(Runs, [&] {
        const QList<QAReporterCase> cases = QAReporterCases::collect(*records[0]);
        const auto grouped = QAReporterFailureGroups::group(cases);
        groups = int(grouped.size());
        failures = 0;
        for (const auto& group : grouped)
            failures += int(group.cases.size());
    });
    std::printf("group     %d failures of %d cases: read %.3f s, group %.3f s, ratio %.2f "
                "(%d groups)\n",
                failures, Cases, readSeconds, groupSeconds, groupSeconds / readSeconds, groups);
    qDeleteAll(records);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    std::printf("times: best of %d runs\n", Runs);
    measureComparison(styles);
    measureGrouping(styles);
    return 0;
}
