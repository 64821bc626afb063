// Speed of the host's output pane with large output: 100 000 lines written
// with log(), then the same written in pieces with append() (each line in
// three parts, as a process's output arrives), in a shown widget, and the
// time of the next paint. Prints figures only; it never fails on a time.
#include <qastoutputwidget.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>

namespace {

constexpr int lineCount = 100000;

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

double paintMs(QAStOutputWidget& output)
{
    QElapsedTimer timer;
    timer.start();
    QImage image(output.size(), QImage::Format_ARGB32);
    output.render(&image);
    return msSince(timer);
}

void run(const char* title, void (*write)(QAStOutputWidget&, int))
{
    QAStOutputWidget output;
    output.resize(800, 600);
    output.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < lineCount; ++i)
        write(output, i);
    const double writeMs = msSince(timer);
    QApplication::processEvents();
    std::printf("%-28s %8.1f ms for %d lines (%.2f us/line), %d blocks, paint %.1f ms\n", title,
                writeMs, lineCount, writeMs * 1000 / lineCount, output.blockCount(),
                paintMs(output));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    run("log(line)", [](QAStOutputWidget& output, int i) {
        output.log(QStringLiteral("PASS suite.case_%1 (0.001 s)").arg(i));
    });
    run("append(part) x3", [](QAStOutputWidget& output, int i) {
        output.append(QStringLiteral("PASS "));
        output.append(QStringLiteral("suite.case_%1").arg(i));
        output.append(QStringLiteral(" (0.001 s)\n"));
    });
    return 0;
}
