#include "benchtimer.h"

#include <QElapsedTimer>

#include <limits>

double BenchTimer::seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double BenchTimer::bestSeconds(int runs, const std::function<void()>& work)
{
    return bestSplitSeconds(runs, work, [] {}).work;
}

BenchTimer::Split BenchTimer::bestSplitSeconds(int runs, const std::function<void()>& work,
                                               const std::function<void()>& teardown)
{
    Split best{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    for (int run = 0; run < runs; ++run) {
        best.work = qMin(best.work, seconds(work));
        best.teardown = qMin(best.teardown, seconds(teardown));
    }
    return best;
}
