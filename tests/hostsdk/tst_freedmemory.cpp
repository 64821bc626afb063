// The programs' heap: its large mappings are marked for huge pages, and
// memory freed by a report's objects goes back to the system on request,
// also when a thread that has ended allocated it.
#include "qafreedmemory.h"
#include "residentmemory.h"

#include <QFile>
#include <QTest>

#include <memory>
#include <thread>
#include <vector>

namespace {

// The VmFlags line of the mapping that holds address, empty when none does.
QByteArray mappingFlags(const void* address)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    const quintptr at = quintptr(address);
    bool inside = false;
    // Read whole: the file's size reads as zero.
    const QList<QByteArray> lines = smaps.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const int dash = line.indexOf('-');
        const int space = line.indexOf(' ');
        bool isStart = false;
        bool isEnd = false;
        const quintptr start = line.left(dash).toULongLong(&isStart, 16);
        const quintptr end = line.mid(dash + 1, space - dash - 1).toULongLong(&isEnd, 16);
        if (dash > 0 && dash < space && isStart && isEnd)
            inside = start <= at && at < end;
        else if (inside && line.startsWith("VmFlags:"))
            return line.trimmed();
    }
    return {};
}

// Many small blocks, as a report's items and strings are.
using Blocks = std::vector<std::unique_ptr<char[]>>;

Blocks allocate(qint64 bytes)
{
    Blocks blocks;
    for (qint64 made = 0; made < bytes; made += 96) {
        blocks.emplace_back(new char[96]);
        blocks.back()[0] = 1; // touched, so that it is resident
    }
    return blocks;
}

} // namespace

class TestFreedMemory : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!QAFreedMemory::canGiveBack() || residentBytes() < 0)
            QSKIP("needs mimalloc and /proc");
    }

    void heapMappingsAskForHugePages()
    {
        if (!QFile::exists(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled")))
            QSKIP("the system has no transparent huge pages");
        const Blocks blocks = allocate(64 << 20);
        const QByteArray flags = mappingFlags(blocks.back().get());
        QVERIFY2(flags.split(' ').contains("hg"), flags.constData());
    }

    void memoryOfAnEndedThreadGoesBack()
    {
        const qint64 before = residentBytes();
        Blocks blocks;
        // Joined, the thread has run its exit handlers, where the allocator
        // lets go of its heap (a QThread's wait() may return before).
        std::thread([&] { blocks = allocate(200 << 20); }).join();
        const qint64 grown = residentBytes() - before;
        QVERIFY2(grown > 150 << 20, qPrintable(QString::number(grown)));
        Blocks().swap(blocks);
        QAFreedMemory::giveBack();
        const qint64 kept = residentBytes() - before;
        QVERIFY2(kept < grown / 2, qPrintable(QStringLiteral("%1 of %2").arg(kept).arg(grown)));
    }
};

QTEST_GUILESS_MAIN(TestFreedMemory)
#include "tst_freedmemory.moc"
