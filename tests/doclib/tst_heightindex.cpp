// The Fenwick tree of block heights against a plain vector scanned from the
// start, on random heights, appends and updates.
#include "dheightindex.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

// The obvious version: a vector and linear scans.
struct LinearHeights
{
    std::vector<int> heights;

    qint64 offsetOf(int block) const
    {
        qint64 sum = 0;
        for (int i = 0; i < block && i < int(heights.size()); ++i)
            sum += heights[size_t(i)];
        return sum;
    }
    qint64 total() const { return offsetOf(int(heights.size())); }
    int blockAt(qint64 offset) const
    {
        if (heights.empty())
            return -1;
        qint64 end = 0;
        for (int i = 0; i < int(heights.size()); ++i) {
            end += heights[size_t(i)];
            if (offset < end)
                return i;
        }
        return int(heights.size()) - 1;
    }
};

void compareAll(const DHeightIndex& index, const LinearHeights& linear, QRandomGenerator& random)
{
    const int n = int(linear.heights.size());
    QCOMPARE(index.count(), n);
    QCOMPARE(index.total(), linear.total());
    for (int block = 0; block <= n; ++block)
        QCOMPARE(index.offsetOf(block), linear.offsetOf(block));
    // Offsets at block edges, inside blocks, before the start and past the end.
    std::vector<qint64> offsets{-1, 0, linear.total(), linear.total() + 5};
    for (int block = 0; block < n; ++block) {
        offsets.push_back(linear.offsetOf(block));
        offsets.push_back(linear.offsetOf(block + 1) - 1);
    }
    for (int i = 0; i < 50; ++i)
        offsets.push_back(qint64(random.bounded(quint32(linear.total() + 2))));
    for (qint64 offset : offsets)
        QCOMPARE(index.blockAt(offset), linear.blockAt(offset));
}

} // namespace

class TestHeightIndex : public QObject
{
    Q_OBJECT

private slots:
    void matchesLinearScan_data();
    void matchesLinearScan();
    void emptyIndex();
};

void TestHeightIndex::matchesLinearScan_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maxHeight");
    QTest::addColumn<quint32>("seed");
    // Zero heights (closed popups) are common: blocks the offset skips.
    QTest::newRow("one block") << 1 << 40 << 1u;
    QTest::newRow("power of two") << 64 << 40 << 2u;
    QTest::newRow("odd size") << 97 << 300 << 3u;
    QTest::newRow("many zero heights") << 200 << 2 << 4u;
    QTest::newRow("large") << 1500 << 5000 << 5u;
}

void TestHeightIndex::matchesLinearScan()
{
    QFETCH(int, count);
    QFETCH(int, maxHeight);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    auto height = [&]() { return int(random.bounded(maxHeight + 1)); };

    // Built by appends, and the same heights assigned at once.
    DHeightIndex appended;
    LinearHeights linear;
    for (int i = 0; i < count; ++i) {
        linear.heights.push_back(height());
        appended.append(linear.heights.back());
    }
    compareAll(appended, linear, random);
    DHeightIndex assigned;
    assigned.assign(linear.heights);
    compareAll(assigned, linear, random);

    // Estimates replaced by real heights, then more blocks appended.
    for (int i = 0; i < count; ++i) {
        const int block = int(random.bounded(count));
        linear.heights[size_t(block)] = height();
        appended.setHeight(block, linear.heights[size_t(block)]);
        QCOMPARE(appended.height(block), linear.heights[size_t(block)]);
    }
    for (int i = 0; i < count / 3 + 1; ++i) {
        linear.heights.push_back(height());
        appended.append(linear.heights.back());
    }
    compareAll(appended, linear, random);
}

void TestHeightIndex::emptyIndex()
{
    DHeightIndex index;
    QCOMPARE(index.blockAt(0), -1);
    index.append(10);
    index.clear();
    QCOMPARE(index.count(), 0);
    QCOMPARE(index.blockAt(5), -1);
    QCOMPARE(index.offsetOf(3), qint64(0));
}

QTEST_APPLESS_MAIN(TestHeightIndex)
#include "tst_heightindex.moc"
