// Speed and memory of the report view on generated reports of 10 000 and
// 100 000 test cases, against the reader's parse time of the same file:
// time to the first painted page, moving to the last item and back,
// searching a text found only at the end, page-by-page scrolling (slowest
// and median frame) and the memory the view adds to its documents. Prints
// figures only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "peakmemory.h"

#include <ditems.h>
#include <ditemwalk.h>
#include <dreportwidget.h>
#include <dreportwidget_p.h>
#include <qareporterdatatree.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const double MB = 1e6;

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

struct Figures
{
    int cases = 0;
    double fileMB = 0;
    double parseMs = 0;
    double firstPaintMs = 0;
    double moveLastMs = 0;
    double moveBackMs = 0;
    double searchMs = 0;
    bool searchFound = false;
    int frames = 0;
    double slowestFrameMs = 0;
    double medianFrameMs = 0;
    double p99FrameMs = 0;
    int framesOver16 = 0;
    double idleSlowestMs = 0;
    double idleMedianMs = 0;
    double viewMB = 0;
    double emptyViewMB = 0;
    double firstPageMB = 0;
    int blocks = 0;
};

void paint(DReportWidget& view, QImage& image)
{
    view.viewport()->render(&image);
}

Figures measure(int cases, const BenchStyles& styles, int maxFrames)
{
    Figures figures;
    figures.cases = cases;
    const QString path = BenchFiles::report(cases);
    figures.fileMB = QFileInfo(path).size() / MB;

    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    QElapsedTimer timer;
    timer.start();
    if (!reader.parseFile(path, nullptr)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(path),
                     qPrintable(reader.errorString()));
        return figures;
    }
    figures.parseMs = msSince(timer);
    std::unique_ptr<DDocument> doc(reader.takeDocument());
    reader.takeTree(); // dropped at once

    // The last item in document order, and the last title's text (unique:
    // it names the last case) to search for.
    const DItem* last = nullptr;
    const DItem* lastTitle = nullptr;
    DItemWalk::walk(static_cast<const DItem*>(doc.get()), [&](const DItem* item) {
        last = item;
        if (item->kind() == DItem::Title)
            lastTitle = item;
    });
    QString needle;
    DItemWalk::walk(lastTitle, [&](const DItem* item) {
        if (item->kind() == DItem::Text)
            needle += static_cast<const DText*>(item)->text();
    });

    // The benchmark's own paint target, made before measuring: not the view's.
    QImage image(QSize(1000, 800), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PeakMemory::reset();
    const qint64 before = PeakMemory::residentBytes();
    {
        DReportWidget view;
        DReportWidgetPrivate& parts = *view.parts();
        view.resize(1000, 800);
        view.show();

        paint(view, image);
        figures.emptyViewMB = (PeakMemory::peakBytes() - before) / MB;
        timer.restart();
        view.setDocument(doc.get(), true);
        paint(view, image);
        figures.firstPaintMs = msSince(timer);
        figures.firstPageMB = (PeakMemory::peakBytes() - before) / MB;
        figures.blocks = parts.model.blockCount();

        timer.restart();
        view.moveTo(last);
        paint(view, image);
        figures.moveLastMs = msSince(timer);
        timer.restart();
        view.moveTo(doc->first());
        paint(view, image);
        figures.moveBackMs = msSince(timer);

        timer.restart();
        figures.searchFound =
            view.search(QRegularExpression(QRegularExpression::escape(needle) + "\\b"));
        paint(view, image);
        figures.searchMs = msSince(timer);
        view.clearSelection();

        parts.scrollToTop();
        paint(view, image);
        std::vector<double> frames;
        double scrollMs = 0;
        qint64 previous = -1;
        while (int(frames.size()) < maxFrames && parts.topOffset() != previous) {
            previous = parts.topOffset();
            timer.restart();
            parts.scrollBy(view.viewport()->height());
            scrollMs += msSince(timer);
            paint(view, image);
            frames.push_back(msSince(timer));
        }
        timer.restart();
        for (int i = 0; i < 20; ++i)
            paint(view, image);
        std::fprintf(stderr, "%d cases: repaint of a laid-out page %.2f ms\n", cases,
                     msSince(timer) / 20);
        // The same with the event loop run between frames (outside the
        // timing), as between a user's key presses: the view lays out the
        // next page while idle.
        parts.scrollToTop();
        QCoreApplication::processEvents();
        std::vector<double> idleFrames;
        previous = -1;
        while (int(idleFrames.size()) < maxFrames && parts.topOffset() != previous) {
            previous = parts.topOffset();
            timer.restart();
            parts.scrollBy(view.viewport()->height());
            paint(view, image);
            idleFrames.push_back(msSince(timer));
            QCoreApplication::processEvents();
        }
        std::sort(idleFrames.begin(), idleFrames.end());
        if (!idleFrames.empty()) {
            figures.idleSlowestMs = idleFrames.back();
            figures.idleMedianMs = idleFrames[idleFrames.size() / 2];
        }
        std::sort(frames.begin(), frames.end());
        figures.frames = int(frames.size());
        std::fprintf(stderr,
                     "%d cases: scrolling (laying out the new top block) %.1f ms of %d frames\n",
                     cases, scrollMs, figures.frames);
        if (!frames.empty()) {
            figures.slowestFrameMs = frames.back();
            figures.medianFrameMs = frames[frames.size() / 2];
            figures.p99FrameMs = frames[frames.size() * 99 / 100];
            figures.framesOver16 =
                int(frames.end() - std::upper_bound(frames.begin(), frames.end(), 16.0));
        }
        figures.viewMB = (PeakMemory::peakBytes() - before) / MB;
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchStyles styles;
    if (!styles.error().isEmpty())
        std::fprintf(stderr, "styles: %s\n", qPrintable(styles.error()));
    const int maxFrames = argc > 1 ? QByteArray(argv[1]).toInt() : 4000;

    std::vector<Figures> all;
    for (int cases : {10000, 100000})
        all.push_back(measure(cases, styles, maxFrames));

    std::printf("%-34s %14s %14s\n", "report view", "10 000 cases", "100 000 cases");
    auto row = [&](const char* name, auto value, const char* format) {
        std::printf("%-34s", name);
        for (const Figures& f : all) {
            char cell[64];
            std::snprintf(cell, sizeof cell, format, value(f));
            std::printf(" %14s", cell);
        }
        std::printf("\n");
    };
    row(
        "file size (MB)", [](const Figures& f) { return f.fileMB; }, "%.1f");
    row(
        "blocks", [](const Figures& f) { return f.blocks; }, "%d");
    row(
        "reader parse (ms)", [](const Figures& f) { return f.parseMs; }, "%.0f");
    row(
        "setDocument + first paint (ms)", [](const Figures& f) { return f.firstPaintMs; }, "%.1f");
    row(
        "  ratio to parse (target <= 0.5)",
        [](const Figures& f) { return f.firstPaintMs / f.parseMs; }, "%.3f");
    row(
        "moveTo last item (ms)", [](const Figures& f) { return f.moveLastMs; }, "%.2f");
    row(
        "moveTo first item back (ms)", [](const Figures& f) { return f.moveBackMs; }, "%.2f");
    row(
        "search, match at the end (ms)", [](const Figures& f) { return f.searchMs; }, "%.1f");
    row(
        "  found", [](const Figures& f) { return f.searchFound ? "yes" : "no"; }, "%s");
    row(
        "pages scrolled", [](const Figures& f) { return f.frames; }, "%d");
    row(
        "slowest frame (ms)", [](const Figures& f) { return f.slowestFrameMs; }, "%.2f");
    row(
        "median frame (ms)", [](const Figures& f) { return f.medianFrameMs; }, "%.2f");
    row(
        "99th percentile frame (ms)", [](const Figures& f) { return f.p99FrameMs; }, "%.2f");
    row(
        "frames over 16 ms", [](const Figures& f) { return f.framesOver16; }, "%d");
    row(
        "slowest frame, idle between (ms)", [](const Figures& f) { return f.idleSlowestMs; },
        "%.2f");
    row(
        "median frame, idle between (ms)", [](const Figures& f) { return f.idleMedianMs; }, "%.2f");
    row(
        "view memory, empty view shown (MB)", [](const Figures& f) { return f.emptyViewMB; },
        "%.1f");
    row(
        "view memory, first page (MB)", [](const Figures& f) { return f.firstPageMB; }, "%.1f");
    row(
        "view memory (MB)", [](const Figures& f) { return f.viewMB; }, "%.1f");
    row(
        "  ratio to file size (target <= 1)", [](const Figures& f) { return f.viewMB / f.fileMB; },
        "%.3f");
    if (all.size() == 2 && all[0].firstPaintMs > 0)
        std::printf("first paint 100k / 10k: %.2f (linear would be 10)\n",
                    all[1].firstPaintMs / all[0].firstPaintMs);
    return 0;
}
