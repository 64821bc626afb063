#include "peakmemory.h"

#include <qafreedmemory.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// How a process started by growthInNewProcess reports its figure.
const char GrowthKey[] = "peak growth: ";

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
qint64 statusBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith(key))
            continue;
        const QList<QByteArray> parts = line.mid(key.size()).simplified().split(' ');
        bool ok = false;
        const qint64 kilobytes = parts.value(0).toLongLong(&ok);
        return ok ? kilobytes * 1024 : -1;
    }
    return -1;
}

bool clearRefs()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5", 1) == 1;
}

// Gives freed heap memory back to the system: glibc's through malloc_trim,
// mimalloc's (when it is the allocator) through QAFreedMemory.
void trimHeap()
{
#ifdef Q_OS_LINUX
    malloc_trim(0);
#endif
    QAFreedMemory::giveBack();
}

} // namespace

qint64 PeakMemory::peakBytes()
{
    return statusBytes("VmHWM");
}

qint64 PeakMemory::residentBytes()
{
    return statusBytes("VmRSS");
}

bool PeakMemory::reset()
{
    trimHeap();
    return clearRefs();
}

// The mark only counts as reset when it really came down: grow the resident
// size by a few megabytes, free them, reset and compare.
bool PeakMemory::canReset()
{
    static const bool works = [] {
        const qint64 before = peakBytes();
        if (before < 0)
            return false;
        const int size = 32 * 1024 * 1024;
        {
            QByteArray ballast(size, 'x');
            if (peakBytes() < 0)
                return false;
        }
        if (!reset())
            return false;
        return peakBytes() < residentBytes() + size / 2;
    }();
    return works;
}

qint64 PeakMemory::peakOfChild(const std::function<void()>& work)
{
#ifdef Q_OS_LINUX
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    struct rusage usage = {};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return qint64(usage.ru_maxrss) * 1024;
#else
    Q_UNUSED(work);
    return -1;
#endif
}

qint64 PeakMemory::growthOf(const std::function<void()>& work)
{
    if (canReset() && reset()) {
        const qint64 before = residentBytes();
        work();
        const qint64 peak = peakBytes();
        return before >= 0 && peak >= 0 ? peak - before : -1;
    }
    trimHeap();
    const qint64 base = peakOfChild([] {});
    const qint64 peak = peakOfChild(work);
    return base >= 0 && peak >= 0 ? qMax<qint64>(0, peak - base) : -1;
}

qint64 PeakMemory::growthInNewProcess(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(GrowthKey))
            return line.mid(int(sizeof(GrowthKey)) - 1).toLongLong();
    }
    return -1;
}

void PeakMemory::printGrowthOf(const std::function<void()>& work)
{
    std::printf("%s%lld\n", GrowthKey, qlonglong(growthOf(work)));
}
