#ifndef PEAKMEMORY_H
#define PEAKMEMORY_H

#include <QStringList>

#include <functional>

// Peak resident memory of this process, for benchmarks. On Linux the
// high-water mark (VmHWM) can be brought back to the current resident size
// by writing "5" to /proc/self/clear_refs; where that does not work, the
// work is measured in a forked child instead, whose peak wait4() reports.
class PeakMemory
{
public:
    // Whether resetting the high-water mark works on this system.
    static bool canReset();
    // Returns freed heap pages to the system, then brings the high-water
    // mark down to the current resident size. False when it cannot.
    static bool reset();
    // High-water mark and current resident size, in bytes; -1 when unknown.
    static qint64 peakBytes();
    static qint64 residentBytes();

    // Runs work in a forked child; returns the child's peak resident size
    // in bytes (what it inherited included), or -1 when it failed.
    static qint64 peakOfChild(const std::function<void()>& work);

    // Memory the work added at its peak, in bytes: the high-water mark after
    // the work less the resident size before it, or, without a resettable
    // mark, the same difference taken in a forked child.
    static qint64 growthOf(const std::function<void()>& work);

    // The growth of work done in a new process of this program, started
    // with arguments; that process runs the work through printGrowthOf. A
    // process of its own reuses no memory an allocator kept from earlier
    // work (mimalloc keeps freed pages resident). -1 when it failed.
    static qint64 growthInNewProcess(const QStringList& arguments);
    // In that process: runs work and prints the growth it caused.
    static void printGrowthOf(const std::function<void()>& work);
};

#endif
