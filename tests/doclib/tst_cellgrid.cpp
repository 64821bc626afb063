// Table cell placement with spans against a plain occupied-set version, on
// random tables with spans of any int, empty rows and spans past the edges.
#include "dcellgrid.h"

#include <QRandomGenerator>
#include <QTest>

#include <climits>
#include <set>
#include <utility>
#include <vector>

using Rows = std::vector<std::vector<DCellGrid::Span>>;
Q_DECLARE_METATYPE(Rows)

namespace {

// The obvious version: a set of taken places, spans in 64-bit arithmetic.
std::vector<DCellGrid::Placed> reference(const Rows& rows, int maxColumns)
{
    std::set<std::pair<qint64, qint64>> taken;
    std::vector<DCellGrid::Placed> placed;
    const qint64 rowCount = qint64(rows.size());
    for (qint64 r = 0; r < rowCount; ++r) {
        qint64 column = 0;
        for (size_t index = 0; index < rows[size_t(r)].size(); ++index) {
            while (taken.count({r, column}))
                ++column;
            if (column >= maxColumns)
                break;
            const DCellGrid::Span span = rows[size_t(r)][index];
            // Widen one column at a time while asked for, free and inside.
            qint64 columnSpan = 1;
            while (columnSpan < 1 + std::max<qint64>(0, span.columns) &&
                   column + columnSpan < maxColumns && !taken.count({r, column + columnSpan}))
                ++columnSpan;
            const qint64 rowSpan =
                std::min<qint64>(1 + std::max<qint64>(0, span.rows), rowCount - r);
            for (qint64 rr = r; rr < r + rowSpan; ++rr)
                for (qint64 cc = column; cc < column + columnSpan; ++cc)
                    taken.insert({rr, cc});
            placed.push_back({int(r), int(index), int(column), int(rowSpan), int(columnSpan)});
            column += columnSpan;
        }
    }
    return placed;
}

// Mostly small spans, some negative, past the edges or at the int limits.
DCellGrid::Span randomSpan(QRandomGenerator& random)
{
    auto one = [&random]() {
        const int odd[] = {INT_MAX, INT_MIN, int(random.bounded(-3, 0)),
                           int(random.bounded(1, 200))};
        const int pick = int(random.bounded(8));
        return pick < 4 ? odd[pick] : int(random.bounded(0, 3));
    };
    return {one(), one()};
}

// A placed cell as "row/index at column, rows x columns".
QString placed(const DCellGrid::Placed& c)
{
    return QString::asprintf("%d/%d at %d, %dx%d", c.row, c.index, c.column, c.rowSpan,
                             c.columnSpan);
}

} // namespace

class TestCellGrid : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
    void clampedSpanNeverOverflows();
};

void TestCellGrid::matchesReference_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("maxColumns");
    using S = DCellGrid::Span;
    QTest::newRow("plain") << Rows{{S{}, S{}}, {S{}, S{}}} << 64;
    // A cell two columns wide, then one two rows tall: the next row's
    // cells go around it.
    QTest::newRow("spans") << Rows{{S{}, S{}, S{}}, {S{1, 0}, S{}}, {S{}, S{0, 1}, S{}}, {S{}, S{}}}
                           << 64;
    QTest::newRow("empty rows") << Rows{{}, {S{}, S{0, 2}}, {}, {S{}}} << 64;
    QTest::newRow("spans larger than the table")
        << Rows{{S{INT_MAX, INT_MAX}, S{}}, {S{}, S{}}} << 64;
    // The wide cell of the second row stops at the tall cell of the first.
    QTest::newRow("span stops at a span from above")
        << Rows{{S{}, S{}, S{0, 1}}, {S{5, 0}, S{}}} << 64;
    QTest::newRow("column limit") << Rows{{S{}, S{}, S{}, S{}, S{}}, {S{2, 0}, S{5, 0}}} << 3;
    QTest::newRow("no rows") << Rows{} << 64;
    QRandomGenerator random(77);
    for (int t = 0; t < 150; ++t) {
        Rows rows(size_t(random.bounded(0, 9)));
        for (auto& row : rows) {
            const int cells = int(random.bounded(0, 7));
            for (int c = 0; c < cells; ++c)
                row.push_back(randomSpan(random));
        }
        QTest::addRow("random %d", t) << rows << int(random.bounded(1, 10));
    }
}

void TestCellGrid::matchesReference()
{
    QFETCH(Rows, rows);
    QFETCH(int, maxColumns);
    const DCellGrid grid(rows, maxColumns);
    const std::vector<DCellGrid::Placed> expected = reference(rows, maxColumns);
    QCOMPARE(grid.cells().size(), expected.size());
    int columns = 1;
    bool spans = false;
    for (size_t i = 0; i < expected.size(); ++i) {
        const DCellGrid::Placed& got = grid.cells()[i];
        QCOMPARE(placed(got), placed(expected[i]));
        columns = std::max(columns, got.column + got.columnSpan);
        spans = spans || got.rowSpan > 1 || got.columnSpan > 1;
    }
    QCOMPARE(grid.columns(), columns);
    QCOMPARE(grid.hasSpans(), spans);
}

void TestCellGrid::clampedSpanNeverOverflows()
{
    using G = DCellGrid;
    QCOMPARE(QList<int>({G::clampedSpan(INT_MAX, INT_MAX), G::clampedSpan(INT_MAX - 1, INT_MAX),
                         G::clampedSpan(INT_MAX - 2, INT_MAX), G::clampedSpan(INT_MIN, 10),
                         G::clampedSpan(3, 10), G::clampedSpan(9, 10), G::clampedSpan(5, 0)}),
             QList<int>({INT_MAX, INT_MAX, INT_MAX - 1, 1, 4, 10, 1}));
}

QTEST_APPLESS_MAIN(TestCellGrid)
#include "tst_cellgrid.moc"
