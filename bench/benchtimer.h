#ifndef BENCHTIMER_H
#define BENCHTIMER_H

#include <functional>

// Wall-clock timing for benchmarks: the best of several runs, which is the
// figure least disturbed by other work on the machine.
class BenchTimer
{
public:
    // Seconds taken by one run of work.
    static double seconds(const std::function<void()>& work);
    // The shortest of runs runs of work, in seconds.
    static double bestSeconds(int runs, const std::function<void()>& work);

    struct Split
    {
        double work = 0;
        double teardown = 0;
    };
    // runs runs of work, each followed by teardown (which undoes it, so
    // that every run starts from the same state), timed apart: the shortest
    // of each.
    static Split bestSplitSeconds(int runs, const std::function<void()>& work,
                                  const std::function<void()>& teardown);
};

#endif
