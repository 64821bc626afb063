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
    double best = std::numeric_limits<double>::infinity();
    for (int run = 0; run < runs; ++run) {
        const double taken = seconds(work);
        if (taken < best)
            best = taken;
    }
    return best;
}
