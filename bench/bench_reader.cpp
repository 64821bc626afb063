// Reading speed and memory of the report index reader, against a bare
// QXmlStreamReader loop over the same file (the floor any reader built on
// it pays), on generated reports of 10 000 and 100 000 test cases. Each
// read builds in fresh memory, as the first open of a file in a viewer
// does: between two runs the tree and document are deleted and their memory
// given back, which is timed apart as closing the file. Prints figures
// only; it never fails on a time. "bench_reader --read FILE" reads
// one file once, for profilers.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "benchxml.h"
#include "peakmemory.h"
#include "reportgenerator.h"

#include <ddocument.h>
#include <qafreedmemory.h>
#include <qareporterdatatree.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <cstdio>

namespace {

const int Runs = 3;
const double MB = 1e6;

struct Totals
{
    bool read = false;
    int ok = 0;
    int ko = 0;
    int ne = -1;
    QString error;
};

// What the viewer does per file: read it with the default styles, take the
// tree and the document.
struct Read
{
    Totals totals;
    std::unique_ptr<QAReporterDataTree> tree;
    std::unique_ptr<DDocument> document;

    // Deletes the tree and the document and gives their memory back, as
    // closing the window does.
    void drop()
    {
        tree.reset();
        document.reset();
        QAFreedMemory::giveBack();
    }
};

Read readReport(const QString& path, const BenchStyles& styles)
{
    Read read;
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    read.totals.read = reader.parseFile(path, nullptr);
    read.totals.ok = reader.okTotal();
    read.totals.ko = reader.koTotal();
    read.totals.ne = reader.neTotal();
    if (!read.totals.read)
        read.totals.error = reader.errorString();
    read.tree = reader.takeTree();
    read.document = reader.takeDocument();
    return read;
}

struct Row
{
    int cases = 0;
    qint64 bytes = 0;
    double bareSeconds = 0;
    double readerSeconds = 0;
    double dropSeconds = 0;
    qint64 peakGrowth = -1;
};

Row measure(int cases, const BenchStyles& styles)
{
    Row row;
    row.cases = cases;
    const QString path = BenchFiles::report(cases);
    if (path.isEmpty())
        return row;
    row.bytes = QFileInfo(path).size();

    // Not timed: the reader must agree with what the generator wrote, or
    // its figures mean nothing.
    ReportGenerator generator;
    generator.setCaseCount(cases);
    const Totals totals = readReport(path, styles).totals;
    if (!totals.read) {
        std::printf("%d cases: the reader failed: %s\n", cases, qPrintable(totals.error));
    } else if (totals.ok != generator.okCases() || totals.ko != generator.koCases() ||
               totals.ne != generator.neCases()) {
        std::printf("%d cases: totals differ from the generator's (ok %d/%d, ko %d/%d, "
                    "NE %d/%d)\n",
                    cases, totals.ok, generator.okCases(), totals.ko, generator.koCases(),
                    totals.ne, generator.neCases());
    }

    row.peakGrowth = PeakMemory::growthInNewProcess({QStringLiteral("--peak"), path});
    row.bareSeconds = BenchTimer::bestSeconds(Runs, [&] { BenchXml::bareLoop(path); });
    Read read;
    const BenchTimer::Split split = BenchTimer::bestSplitSeconds(
        Runs, [&] { read = readReport(path, styles); }, [&] { read.drop(); });
    row.readerSeconds = split.work;
    row.dropSeconds = split.teardown;
    return row;
}

void printRow(const Row& row)
{
    if (row.bytes <= 0) {
        std::printf("%9d  (no report)\n", row.cases);
        return;
    }
    const double size = double(row.bytes) / MB;
    const double bare = size / row.bareSeconds;
    const double ours = size / row.readerSeconds;
    const double withDrop = row.bareSeconds / (row.readerSeconds + row.dropSeconds);
    std::printf("%9d %9.1f %10.1f %12.1f %7.2f %8.3f %9.2f %10.1f %10.2f\n", row.cases, size, bare,
                ours, ours / bare, row.dropSeconds, withDrop, double(row.peakGrowth) / MB,
                double(row.peakGrowth) / row.bytes);
}

// xmllint's streaming reader over the same file, for reference. The file
// declares no namespace for XROD, so xmllint reports a namespace error per
// node (sent to /dev/null) and reads on.
void printXmllint(const Row& row)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty() || row.bytes <= 0) {
        std::printf("xmllint --stream: not installed, skipped\n");
        return;
    }
    const QString path = BenchFiles::report(row.cases);
    const double seconds = BenchTimer::bestSeconds(Runs, [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(xmllint, {QStringLiteral("--stream"), QStringLiteral("--noout"), path});
        process.waitForFinished(-1);
    });
    const double size = double(row.bytes) / MB;
    std::printf("xmllint --stream --noout, %d cases: %.1f MB/s (%.2f x the bare loop, "
                "process start included)\n",
                row.cases, size / seconds, (size / seconds) / (size / row.bareSeconds));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchStyles styles;
    const QStringList arguments = app.arguments();
    // "--peak FILE": the memory one read of FILE adds, in a process of its own.
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--peak")) {
        PeakMemory::printGrowthOf([&] { readReport(arguments.at(2), styles); });
        return 0;
    }
    // "--read FILE": one plain read of FILE, for running under a profiler.
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--read")) {
        const Totals totals = readReport(arguments.at(2), styles).totals;
        std::printf("%s: ok %d, ko %d, NE %d%s%s\n", qPrintable(arguments.at(2)), totals.ok,
                    totals.ko, totals.ne,
                    totals.read ? "" : ", failed: ", qPrintable(totals.error));
        return totals.read ? 0 : 1;
    }
    if (!styles.error().isEmpty())
        std::printf("note: %s; reading without styles\n", qPrintable(styles.error()));
    else
        std::printf("styles: %lld from %s\n", qlonglong(styles.styles().size()),
                    qPrintable(styles.path()));
    std::printf("peak memory: measured in a new process per file (%s)\n",
                PeakMemory::canReset() ? "high-water mark reset through /proc/self/clear_refs"
                                       : "in a forked child, wait4");
    std::printf("times: best of %d runs; MB = 10^6 bytes; ratio = reader speed / bare speed; "
                "drop = seconds to delete the tree and document and give their memory back; "
                "+drop = the ratio with the drop counted in the read; peak = resident growth "
                "while reading\n\n",
                Runs);

    std::printf("%9s %9s %10s %12s %7s %8s %9s %10s %10s\n", "cases", "size MB", "bare MB/s",
                "reader MB/s", "ratio", "drop s", "+drop", "peak MB", "peak/size");
    const Row small = measure(10000, styles);
    printRow(small);
    const Row large = measure(100000, styles);
    printRow(large);

    if (small.bytes > 0 && large.bytes > 0) {
        std::printf("\nreader time 100k / 10k: %.2f (size ratio %.2f; linear growth gives "
                    "about the size ratio)\n",
                    large.readerSeconds / small.readerSeconds, double(large.bytes) / small.bytes);
        std::printf("bare loop time 100k / 10k: %.2f\n", large.bareSeconds / small.bareSeconds);
    }
    printXmllint(large);
    std::fflush(stdout);
    return 0;
}
