// Opening a large report progressively in the viewer window: the time to
// the first painted page, the longest stall of the event loop while the
// report loads (a 5 ms timer records its own lateness; with --act the
// benchmark also scrolls a page, goes to the next failed test and searches
// every half second, as a user would), the time until the whole report is
// read, against a bare QXmlStreamReader loop over the same file in the
// same run, and the peak memory of the window against the file size.
// "bench_stream [CASES]" (default 720 000 cases, about 500 MB); prints
// figures only.
#include "benchfiles.h"
#include "benchhost.h"
#include "benchtimer.h"
#include "benchxml.h"
#include "peakmemory.h"

#include <dreportwidget.h>
#include <qareporter.h>
#include <qareporterpref.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMainWindow>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

const double MB = 1e6;

// The longest lateness of a timer that should fire every interval.
class StallWatch : public QObject
{
public:
    explicit StallWatch(int interval) : m_interval(interval)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const double late = m_clock.nsecsElapsed() / 1e6 - m_interval;
            longestMs = std::max(longestMs, late);
            m_clock.start();
        });
    }
    void start()
    {
        m_clock.start();
        m_timer.start(m_interval);
    }
    void stop() { m_timer.stop(); }

    double longestMs = 0;

private:
    int m_interval;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const bool acting = arguments.contains(QStringLiteral("--act"));
    const int cases =
        argc > 1 && !arguments.at(1).startsWith(QLatin1Char('-')) ? std::atoi(argv[1]) : 720000;
    const QString path = BenchFiles::report(cases);
    if (path.isEmpty()) {
        std::fprintf(stderr, "no input\n");
        return 1;
    }
    const double fileMB = QFileInfo(path).size() / MB;
    const double bareMs = BenchTimer::seconds([&] { BenchXml::bareLoop(path); }) * 1000;

    BenchHost host;
    QMainWindow hostWindow;
    host.window = &hostWindow;
    host.home = BenchFiles::resourcesFolder();
    installReporterPreferences(std::make_unique<QAReporterPref>(&host));

    PeakMemory::reset();
    const qint64 before = PeakMemory::residentBytes();
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->resize(1000, 800);
    window->show();
    DReportWidget* view = window->reportView();
    QImage image(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QStringList files{path};

    StallWatch stalls(5);
    QElapsedTimer clock;
    double firstPageMs = -1;
    int userActions = 0;
    QTimer firstPage;
    QObject::connect(&firstPage, &QTimer::timeout, [&] {
        if (firstPageMs < 0 && !view->documents().isEmpty()) {
            view->viewport()->render(&image);
            firstPageMs = clock.nsecsElapsed() / 1e6;
        }
    });
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(view, &pageDown);
        window->nextKO();
        view->search(QRegularExpression(QStringLiteral("zero-length")));
        ++userActions;
    });

    clock.start();
    stalls.start();
    firstPage.start(1);
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    if (acting)
        user.start(500);
    while (window->isStreaming())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double loadMs = clock.nsecsElapsed() / 1e6;
    stalls.stop();
    user.stop();
    firstPage.stop();
    const double windowMB = (PeakMemory::peakBytes() - before) / MB;

    std::printf("progressive opening of %d cases (%.1f MB)\n", cases, fileMB);
    std::printf("  bare QXmlStreamReader loop   %8.0f ms\n", bareMs);
    std::printf("  first page painted           %8.0f ms\n", firstPageMs);
    std::printf("  whole report read            %8.0f ms  %.2f x the bare loop\n", loadMs,
                loadMs / bareMs);
    std::printf("  longest event-loop stall     %8.1f ms  (%d user actions while loading)\n",
                stalls.longestMs, userActions);
    std::printf("  window memory at its peak    %8.1f MB  %.2f x file\n", windowMB,
                windowMB / fileMB);
    window.reset();
    installReporterPreferences(nullptr);
    return 0;
}
