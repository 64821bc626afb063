// Writing speed and memory of the report writer, on generated reports of
// 10 000 and 100 000 test cases read first (not timed), against reading the
// same file. Prints figures only; it never fails on a time. The written
// files go to the benchmark cache directory and are removed.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "peakmemory.h"

#include <ddocument.h>
#include <qareporterdata.h>
#include <qareporterdatatree.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>
#include <qaxrodwriter.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

const int Runs = 3;
const double MB = 1e6;

std::unique_ptr<QAReporterData> readReport(const QString& path, const BenchStyles& styles)
{
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    if (!reader.parseFile(path, nullptr)) {
        std::printf("%s: not read: %s\n", qPrintable(path), qPrintable(reader.errorString()));
        return nullptr;
    }
    return reader.takeRecord(path);
}

struct Row
{
    int cases = 0;
    qint64 inputBytes = 0;
    qint64 outputBytes = 0;
    double readSeconds = 0;
    double writeSeconds = 0;
    qint64 peakGrowth = -1;
};

Row measure(int cases, const BenchStyles& styles)
{
    Row row;
    row.cases = cases;
    const QString input = BenchFiles::report(cases);
    if (input.isEmpty())
        return row;
    row.inputBytes = QFileInfo(input).size();
    const auto record = readReport(input, styles);
    if (!record)
        return row;
    const QString output = QDir(BenchFiles::cacheDirectory()).filePath("bench_writer_out.xrd");
    QString error;
    auto write = [&] {
        if (!QAXrodWriter::writeFile(output, {record.get()}, &error))
            std::printf("%d cases: not written: %s\n", cases, qPrintable(error));
    };

    write();
    row.outputBytes = QFileInfo(output).size();
    // Not timed: the written file must read back to the same totals, or
    // its figures mean nothing.
    const auto copy = readReport(output, styles);
    if (!copy || copy->okCount != record->okCount || copy->koCount != record->koCount ||
        copy->neCount != record->neCount)
        std::printf("%d cases: the written file does not read back to the same totals\n", cases);

    row.peakGrowth = PeakMemory::growthOf(write);
    row.writeSeconds = BenchTimer::bestSeconds(Runs, write);
    row.readSeconds = BenchTimer::bestSeconds(Runs, [&] { readReport(input, styles); });
    QFile::remove(output);
    return row;
}

void printRow(const Row& row)
{
    if (row.outputBytes <= 0) {
        std::printf("%9d  (no report)\n", row.cases);
        return;
    }
    std::printf("%9d %9.1f %9.1f %11.1f %11.1f %10.1f\n", row.cases, row.inputBytes / MB,
                row.outputBytes / MB, row.inputBytes / MB / row.readSeconds,
                row.outputBytes / MB / row.writeSeconds, row.peakGrowth / MB);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    std::printf("times: best of %d runs; MB = 10^6 bytes; peak = resident growth while "
                "writing (the read report excluded)\n\n",
                Runs);
    std::printf("%9s %9s %9s %11s %11s %10s\n", "cases", "in MB", "out MB", "read MB/s",
                "write MB/s", "peak MB");
    const Row small = measure(10000, styles);
    printRow(small);
    const Row large = measure(100000, styles);
    printRow(large);
    if (small.outputBytes > 0 && large.outputBytes > 0)
        std::printf("\nwrite time 100k / 10k: %.2f (size ratio %.2f; linear growth gives about "
                    "the size ratio)\n",
                    large.writeSeconds / small.writeSeconds,
                    double(large.outputBytes) / small.outputBytes);
    std::fflush(stdout);
    return 0;
}
