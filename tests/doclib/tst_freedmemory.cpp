// Memory freed by a report's objects goes back to the system on request,
// also when a thread that has ended allocated it.
#include "dfreedmemory.h"
#include "residentmemory.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

namespace {

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
        if (!DFreedMemory::canGiveBack() || residentBytes() < 0)
            QSKIP("needs mimalloc and /proc");
    }

    void memoryOfAnEndedThreadGoesBack()
    {
        const qint64 before = residentBytes();
        Blocks blocks;
        std::unique_ptr<QThread> thread(QThread::create([&] { blocks = allocate(200 << 20); }));
        thread->start();
        QVERIFY(thread->wait());
        thread.reset();
        const qint64 grown = residentBytes() - before;
        QVERIFY2(grown > 150 << 20, qPrintable(QString::number(grown)));
        Blocks().swap(blocks);
        DFreedMemory::giveBack();
        const qint64 kept = residentBytes() - before;
        QVERIFY2(kept < grown / 2, qPrintable(QStringLiteral("%1 of %2").arg(kept).arg(grown)));
    }
};

QTEST_GUILESS_MAIN(TestFreedMemory)
#include "tst_freedmemory.moc"
