// Speed and memory of the link index on the generated report of 100 000
// test cases (one source link each): the build time against the reader's
// parse time of the same file, for the report and for its failed-only copy,
// and the index's size. Prints figures only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"

#include <ddocument.h>
#include <qareporterdata.h>
#include <qareporterfilter.h>
#include <qareporterlinkindex.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

const int Runs = 3;
const int Cases = 100000;

std::unique_ptr<QAReporterData> readRecord(const QString& path, const BenchStyles& styles)
{
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    if (!reader.parseFile(path, nullptr)) {
        std::printf("%s: the reader failed: %s\n", qPrintable(path),
                    qPrintable(reader.errorString()));
        return nullptr;
    }
    auto record = std::make_unique<QAReporterData>();
    record->fileName = path;
    record->tree = reader.takeTree().release();
    record->document = reader.takeDocument();
    return record;
}

void measure(const char* label, QAReporterData* record, double parseSeconds)
{
    QAReporterLinkIndex index;
    const double seconds = BenchTimer::bestSeconds(Runs, [&] { index.build({record}); });
    std::printf("%-10s %10lld %12.4f %12.4f\n", label, qlonglong(index.size()), seconds,
                seconds / parseSeconds);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    if (!styles.error().isEmpty())
        std::printf("note: %s; reading without styles\n", qPrintable(styles.error()));
    const QString path = BenchFiles::report(Cases);
    if (path.isEmpty()) {
        std::printf("no report of %d cases\n", Cases);
        return 0;
    }
    std::unique_ptr<QAReporterData> record = readRecord(path, styles);
    if (!record)
        return 0;
    const double parseSeconds = BenchTimer::bestSeconds(Runs, [&] { readRecord(path, styles); });

    QAReporterFilter filter;
    QAReporterFilterCriteria criteria;
    criteria.addPattern(QAReporterFilterCriteria::StateField, QRegularExpression("ko"));
    filter.setCriteria(criteria);
    filter.apply({record.get()});

    std::printf("%d cases; parse: %.3f s; times: best of %d runs\n\n", Cases, parseSeconds, Runs);
    std::printf("%-10s %10s %12s %12s\n", "report", "links", "build s", "build/parse");
    measure("whole", record.get(), parseSeconds);
    if (QAReporterData* filtered = filter.filteredRecords().value(0))
        measure("failed", filtered, parseSeconds);
    return 0;
}
