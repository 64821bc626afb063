#include "ditems.h"
#include "dstyle.h"
#include "qareporterdata.h"
#include "qareportersummary.h"

#include <QtTest>

#include <memory>

namespace {

using Counts = QList<qint64>; // failed, passed, inconclusive (-1: not counted)

// Records made from counts: record i is "/reports/file<i>.xrd", tagged "doc<i>".
struct Records
{
    explicit Records(const QList<Counts>& counts)
    {
        for (const Counts& count : counts) {
            auto* record = new QAReporterData;
            const QString index = QString::number(list.size());
            record->fileName = "/reports/file" + index + ".xrd";
            record->document = std::make_shared<DDocument>(QString(), "doc" + index);
            record->koCount = count.at(0);
            record->okCount = count.at(1);
            record->neCount = count.at(2);
            list.append(record);
        }
    }
    ~Records() { qDeleteAll(list); }
    QList<QAReporterData*> list;
};

// The text a cell shows: its own text, or the text under it.
QString cellText(const DItem* cell)
{
    if (cell->kind() == DItem::CellText)
        return static_cast<const DCellText*>(cell)->text();
    const DItem* item = cell;
    while (item->toContainer() && item->toContainer()->first())
        item = item->toContainer()->first();
    return item->kind() == DItem::Text ? static_cast<const DText*>(item)->text() : QString();
}

// Each row as "style: cell|cell|...", a ">" after a cell per extra column
// it spans.
QStringList rowsOf(const DTable* table)
{
    QStringList rows;
    for (const DItem* row = table->first(); row; row = row->next()) {
        QStringList cells;
        for (const DItem* cell = row->toContainer()->first(); cell; cell = cell->next())
            cells << cellText(cell) + QString(static_cast<const DCell*>(cell)->hspan(), '>');
        rows << (row->style() ? row->style()->name() : QStringLiteral("-")) + ": " +
                    cells.join('|');
    }
    return rows;
}

const DTable* tableOf(const DDocument* document)
{
    return static_cast<const DTable*>(document->first()->toContainer()->first());
}

} // namespace

class TestSummary : public QObject
{
    Q_OBJECT

public:
    TestSummary()
    {
        for (const char* name : {"Array", "Array Failed", "Array Passed"})
            m_styles.append(new DStyle(QString::fromLatin1(name)));
    }
    ~TestSummary() override { qDeleteAll(m_styles); }

private slots:
    void buildsRowsAndTotals_data();
    void buildsRowsAndTotals();

private:
    QList<DStyle*> m_styles;
};

void TestSummary::buildsRowsAndTotals_data()
{
    QTest::addColumn<QList<Counts>>("counts");
    QTest::addColumn<QStringList>("rows");

    const QString header5 = "Array: Name|Status|Failed|Passed|Total";
    const QString header6 = "Array: Name|Status|Failed|Passed|Inconclusive|Total";

    QTest::newRow("no inconclusive counts")
        << QList<Counts>{{2, 5, -1}, {0, 3, -1}}
        << QStringList{header5, "Array Failed: file0.xrd|Failed|2|5|7",
                       "Array Passed: file1.xrd|Passed|0|3|3", "-: Total>|2|8|10"};
    QTest::newRow("inconclusive added where counted")
        << QList<Counts>{{1, 2, 3}, {0, 1, -1}}
        << QStringList{header6, "Array Failed: file0.xrd|Failed|1|2|3|6",
                       "Array Passed: file1.xrd|Passed|0|1|0|1", "-: Total>|1|3|3|7"};
    QTest::newRow("no files") << QList<Counts>{} << QStringList{header5, "-: Total>|0|0|0"};
}

void TestSummary::buildsRowsAndTotals()
{
    QFETCH(QList<Counts>, counts);
    QFETCH(QStringList, rows);

    Records records(counts);
    std::unique_ptr<DDocument> summary(QAReporterSummary::buildSummary(records.list, m_styles));
    const DTable* table = tableOf(summary.get());
    QCOMPARE(rowsOf(table), rows);
    QCOMPARE(QList<const void*>({summary->style(), table->style(), table->parent()}),
             QList<const void*>({m_styles.at(0), m_styles.at(0), summary->first()}));
    if (records.list.size() < 2)
        return;
    // The tags and the link targets are what exports and navigation look for.
    QCOMPARE(QStringList({summary->title(), summary->tag(), summary->first()->name()}),
             QStringList({"Results files", "tagheaderdoc0", "tagheaderdoc1"}));
    const DItem* nameCell = table->first()->next()->next()->toContainer()->first();
    QCOMPARE(nameCell->toContainer()->first()->toLink()->target(), QStringLiteral("::doc1"));
}

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
