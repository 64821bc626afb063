// The HTML export of a generated report of 100 000 test cases, against the
// reader's parse of the same file in the same run: the export of an open
// window (its report and the summary page) and of a report read for the
// export alone (as linked reports are), with the memory each adds and the
// peak of a process that reads and exports one report. Prints figures only.
#include "benchfiles.h"
#include "benchhost.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "peakmemory.h"

#include <ddocument.h>
#include <dexporthtml.h>
#include <qailogmonitor.h>
#include <qaiprogressmonitor.h>
#include <qareporter.h>
#include <qareporterexportcommands.h>
#include <qareporterhtmlexport.h>
#include <qareporterpref.h>
#include <qastudiointerface.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

const double MB = 1e6;

struct Log : QAILogMonitor
{
    void log(const QString&) override {}
    void error(const QString& text) override
    {
        ++errors;
        std::fprintf(stderr, "export error: %s\n", qPrintable(text));
    }
    int errorCount() const override { return errors; }
    void resetError() override { errors = 0; }
    int errors = 0;
};

struct Progress : QAIProgressMonitor
{
    void cancel() override {}
    void setProgress(int, int) override { ++reports; }
    void setProgress(int) override { ++reports; }
    bool wasCanceled() const override { return false; }
    int totalSteps() const override { return 0; }
    int progress() const override { return 0; }
    void setLabelText(const QString&) override {}
    int reports = 0;
};

double sizeOfFolder(const QString& dir)
{
    qint64 bytes = 0;
    for (QDirIterator it(dir, QDir::Files); it.hasNext();) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return bytes / MB;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cases = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString path = BenchFiles::report(cases);
    BenchStyles styles;
    if (path.isEmpty() || !styles.error().isEmpty()) {
        std::fprintf(stderr, "no input: %s\n", qPrintable(styles.error()));
        return 1;
    }
    const double fileMB = QFileInfo(path).size() / MB;
    const double parseMs = BenchTimer::bestSeconds(3,
                                                   [&] {
                                                       QAstXmlRodReader reader;
                                                       reader.handler()->setStyles(styles.styles());
                                                       reader.parseFile(path, nullptr);
                                                   }) *
                           1000;

    BenchHost host;
    QMainWindow hostWindow;
    host.window = &hostWindow;
    host.home = BenchFiles::resourcesFolder();
    installReporterPreferences(std::make_unique<QAReporterPref>(&host));
    installReporterCommands(std::make_unique<QAReporterExportCommands>());

    // A process that reads one report for the export and writes it: the
    // path of every linked report, and of an export without a window.
    QTemporaryDir out;
    Log log;
    Progress progress;
    PeakMemory::reset();
    const qint64 start = PeakMemory::residentBytes();
    double readMs = 0;
    double writeMs = 0;
    {
        std::shared_ptr<DDocument> document;
        readMs = BenchTimer::seconds(
                     [&] { document = QAReporterHTMLExport::loadReportForExport(path); }) *
                 1000;
        DExportHtml exporter(out.filePath("single"), host.configDirectory() + "/dhtml.cfg");
        writeMs =
            BenchTimer::seconds([&] { exporter.generate(document.get(), &progress, &log); }) * 1000;
    }
    const double singlePeakMB = (PeakMemory::peakBytes() - start) / MB;
    const double pageMB = sizeOfFolder(out.filePath("single"));

    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    QStringList files{path};
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    PeakMemory::reset();
    const qint64 beforeExport = PeakMemory::residentBytes();
    int run = 0;
    bool exported = true;
    const double windowExportMs =
        BenchTimer::bestSeconds(3,
                                [&] {
                                    window->exportHTML(out.filePath(QString::number(++run)),
                                                       "index.html", &progress, &log);
                                }) *
        1000;
    const double exportGrowthMB = (PeakMemory::peakBytes() - beforeExport) / MB;

    std::printf("HTML export of %d cases (%.1f MB), parse %.0f ms\n", cases, fileMB, parseMs);
    std::printf("  window export (best of 3)    %7.0f ms  %.2f x parse\n", windowExportMs,
                windowExportMs / parseMs);
    std::printf("  read for export              %7.0f ms  %.2f x parse\n", readMs,
                readMs / parseMs);
    std::printf("  write the page               %7.0f ms  %.2f x parse\n", writeMs,
                writeMs / parseMs);
    std::printf("  read + write, one process    %7.0f ms  %.2f x parse\n", readMs + writeMs,
                (readMs + writeMs) / parseMs);
    std::printf("  page written                 %7.1f MB  %.2f x file\n", pageMB, pageMB / fileMB);
    std::printf("  peak of read + write         %7.1f MB  %.2f x file\n", singlePeakMB,
                singlePeakMB / fileMB);
    std::printf("  memory the window export adds %6.1f MB  %.2f x file\n", exportGrowthMB,
                exportGrowthMB / fileMB);
    std::printf("  progress reports             %7d, errors %d%s\n", progress.reports, log.errors,
                exported ? "" : ", the window export failed");
    window.reset();
    installReporterPreferences(nullptr);
    installReporterCommands(nullptr);
    return log.errors == 0 && exported ? 0 : 1;
}
