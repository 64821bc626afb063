// The viewer window on a generated report of 100 000 test cases, against
// the reader's parse time of the same file in the same run: opening it
// (setFiles to the first painted page, tree filled), switching the
// failed-only filter on and off, next failed test, going to the last tree
// item and clicking a summary link; the longest stretch of the load without
// a progress report, and the memory of the open window. Prints figures only.
#include "benchfiles.h"
#include "benchhost.h"
#include "benchstyles.h"
#include "benchtimer.h"
#include "peakmemory.h"

#include <ddocument.h>
#include <ditemwalk.h>
#include <dlink.h>
#include <dreportwidget.h>
#include <qareporter.h>
#include <qareporterpref.h>
#include <qarlistview.h>
#include <qarpopupmenu.h>
#include <qastudiointerface.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

const double MB = 1e6;

double msOf(const std::function<void()>& work)
{
    return BenchTimer::seconds(work) * 1000;
}

void paint(QAReporter& window, QImage& image)
{
    window.reportView()->viewport()->render(&image);
    window.reportTree()->viewport()->render(&image);
}

DLink* firstLink(DDocument* document)
{
    DLink* link = nullptr;
    DItemWalk::walk(static_cast<DItem*>(document), [&](DItem* item) {
        if (!link && item->kind() == DItem::Link)
            link = static_cast<DLink*>(item);
    });
    return link;
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

    QImage image(QSize(1000, 800), QImage::Format_ARGB32_Premultiplied);
    PeakMemory::reset();
    const qint64 before = PeakMemory::residentBytes();
    // Read before it shows, whatever its size: bench_stream measures the
    // progressive opening.
    QAReporter::setStreamingThreshold(std::numeric_limits<qint64>::max());
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->resize(1000, 800);
    window->show();
    QStringList files{path};
    host.startWatch();
    double loadStretchMs = 0;
    const double openMs = msOf([&] {
        window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
        host.tick();
        loadStretchMs = host.longestGapMs;
        paint(*window, image);
    });
    const double windowMB = (PeakMemory::peakBytes() - before) / MB;

    const double filterOnMs = msOf([&] {
        window->failedtests();
        paint(*window, image);
    });
    const double filterOffMs = msOf([&] {
        window->alltests();
        paint(*window, image);
    });

    const double nextMs = msOf([&] {
        window->nextKO();
        paint(*window, image);
    });
    QTreeWidgetItem* lastItem = nullptr;
    for (QTreeWidgetItemIterator it(window->reportTree()); *it; ++it)
        lastItem = *it;
    window->reportTreeMenu()->targetItem = lastItem;
    const double gotoMs = msOf([&] {
        window->gotoMenu();
        paint(*window, image);
    });
    DLink* summaryLink = firstLink(window->summary());
    const double summaryMs = msOf([&] {
        window->activateHeader(summaryLink);
        paint(*window, image);
    });

    std::printf("window on %d cases (%.1f MB), parse %.0f ms\n", cases, fileMB, parseMs);
    std::printf("  open to first paint  %7.0f ms  %.2f x parse\n", openMs, openMs / parseMs);
    std::printf("  failed only on       %7.0f ms  %.2f x parse\n", filterOnMs,
                filterOnMs / parseMs);
    std::printf("  failed only off      %7.0f ms  %.2f x parse\n", filterOffMs,
                filterOffMs / parseMs);
    std::printf("  next failed          %7.1f ms\n", nextMs);
    std::printf("  go to last item      %7.1f ms\n", gotoMs);
    std::printf("  summary link         %7.1f ms%s\n", summaryMs, summaryLink ? "" : " (none)");
    std::printf("  longest stretch of the load without progress %.0f ms\n", loadStretchMs);
    std::printf("  window memory        %7.1f MB  %.2f x file\n", windowMB, windowMB / fileMB);
    window.reset();
    installReporterPreferences(nullptr);
    return 0;
}
