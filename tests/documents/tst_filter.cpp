#include "damlreader.h"
#include "damlwriter.h"
#include "ditems.h"
#include "documentitems.h"
#include "qareporterfilter.h"
#include "qareporterfilterwriter.h"
#include "xrodrecords.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {

QAReporterData* load(const QByteArray& xrod, const QString& fileName = QStringLiteral("run.xrd"))
{
    std::unique_ptr<QAReporterData> record = readRecord(xrod);
    if (record)
        record->fileName = fileName;
    return record.release();
}

QAReporterFilterCriteria failedOnly()
{
    QAReporterFilterCriteria criteria;
    criteria.addPattern(QAReporterFilterCriteria::StateField, QRegularExpression("ko"));
    return criteria;
}

QAReporterNode* node(const QString& name, const QString& state,
                     const QString& type = QStringLiteral("case"))
{
    auto* result = new QAReporterNode;
    result->name = name;
    result->type = type;
    result->state = state;
    return result;
}

// One line per node below the root, in pre-order: indentation by depth.
QStringList treeLines(QAReporterDataTree* tree)
{
    QStringList lines;
    tree->iterator()->toRoot();
    while (QAReporterNode* reached = tree->next(PreOrder))
        lines << QString(2 * (tree->iterator()->depth() - 1), ' ') + reached->name;
    return lines;
}

QList<QAReporterNode*> nodesOf(QAReporterDataTree* tree)
{
    QList<QAReporterNode*> nodes{tree->iterator()->toRoot()};
    while (QAReporterNode* reached = tree->next(PreOrder))
        nodes << reached;
    return nodes;
}

QAReporterNode* named(QAReporterDataTree* tree, const QString& name)
{
    for (QAReporterNode* candidate : nodesOf(tree)) {
        if (candidate->name == name)
            return candidate;
    }
    return nullptr;
}

// The first and last item of every node, root first.
QList<QPair<DItem*, DItem*>> bindingsOf(QAReporterDataTree* tree)
{
    QList<QPair<DItem*, DItem*>> bindings;
    for (const QAReporterNode* node : nodesOf(tree))
        bindings.append(qMakePair(node->startItem, node->endItem));
    return bindings;
}

QSet<const DItem*> itemSetOf(DItem* root)
{
    const QList<DItem*> items = itemsOf(root);
    return QSet<const DItem*>(items.cbegin(), items.cend());
}

DItem* previousSibling(const DItem* item)
{
    DItem* previous = nullptr;
    for (DItem* sibling = item->parent()->first(); sibling != item; sibling = sibling->next())
        previous = sibling;
    return previous;
}

// Runs the failed-only filter over one record; the filter owns the result.
QAReporterData* filterOne(QAReporterFilter& filter, QAReporterData* record,
                          const QAReporterFilterCriteria& criteria = failedOnly())
{
    filter.setCriteria(criteria);
    filter.apply({record});
    return filter.filteredRecords().value(0);
}

// A report read from markup and its failed-only copy, which the filter owns.
struct Filtered
{
    explicit Filtered(const QByteArray& xrod)
        : source(load(xrod)), copy(source ? filterOne(filter, source.get()) : nullptr)
    {
    }
    std::unique_ptr<QAReporterData> source;
    QAReporterFilter filter;
    QAReporterData* copy;
};

const QByteArray groupReport = R"(<XROD><DOCUMENT name="run"><TITLE>Run</TITLE>
<XROD:NODE name="g" type="group"><SECTION name="g">
 <XROD:NODE name="a" type="case" state="ok"><PARAGRAPH name="a">passed</PARAGRAPH></XROD:NODE>
 <XROD:NODE name="b" type="case" state="ko"><PARAGRAPH name="b">failed</PARAGRAPH><PARAGRAPH name="b2">more</PARAGRAPH></XROD:NODE>
 <XROD:NODE name="c" type="case" state="ok"><PARAGRAPH name="c1">x</PARAGRAPH><PARAGRAPH name="c2">y</PARAGRAPH></XROD:NODE>
 <XROD:NODE name="d" type="case" state="ok"><IMAGE name="d" src="d.png"/></XROD:NODE>
 <XROD:NODE name="e" type="case" state="ok"/>
 <PARAGRAPH name="trailer">end</PARAGRAPH>
</SECTION></XROD:NODE>
<XROD:NODE name="t" type="test" state="ok"><SECTION name="t">
 <XROD:NODE name="t1" type="case" state="ko"><PARAGRAPH name="t1">inner failure</PARAGRAPH></XROD:NODE>
</SECTION></XROD:NODE>
<XROD:NODE name="k" type="test" state="kofoo"><PARAGRAPH name="k">k</PARAGRAPH></XROD:NODE>
<XROD:NODE name="x" type="test" state="xko"><PARAGRAPH name="x">x</PARAGRAPH></XROD:NODE>
</DOCUMENT></XROD>)";

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

private slots:
    void matchesFieldByField_data();
    void matchesFieldByField();
    void editsPatterns();
    void keepsFailedBranches();
    void treeAgreesWithDirectSelection();
    void copiesDocumentWithoutRejectedRanges();
    void rejectedSingleItemNodeRemovesOnlyThatItem();
    void bindsFilteredNodesToTheCopy();
    void parentsEndWithTheirLastKeptChild();
    void neverTouchesTheSource();
    void keepsRecordOrderAndLeavesOutFailures();
    void filtersDocumentsNestedToTheReaderLimit();
    void hugeSpansKeepTheCopySmall();
};

void TestFilter::matchesFieldByField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("expected");

    // The criteria want a state starting with "ko", a name starting with "t"
    // and a type not starting with "Test"; a null field passes. The expected
    // value is the set of fields that pass.
    const QString null;
    auto row = [](const char* label, const QString& name, const QString& type, const QString& state,
                  int expected) { QTest::newRow(label) << name << type << state << expected; };
    row("failed", "t", "Unit", "ko", 7);
    row("ko then letters", "t", "Unit", "kodak", 7);
    row("passed", "t", "Unit", "ok", 3);
    row("ko further on", "t", "Unit", "xko", 3);
    row("wrong case", "t", "Unit", "KO", 3);
    row("empty state", "t", "Unit", "", 3);
    row("null state", "t", "Unit", null, 7);
    row("type excluded", "t", "Test", "ko", 5);
    row("longer type excluded", "t", "TestCase", "ko", 5);
    row("type only further on", "t", "UnitTest", "ko", 7);
    row("null type", "t", null, "ko", 7);
    row("name mismatch", "other", "Unit", "ko", 6);
    row("null name", null, "Test", "ok", 1);
}

void TestFilter::matchesFieldByField()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, state);
    QFETCH(int, expected);

    QAReporterFilterCriteria criteria = failedOnly();
    criteria.addPattern(QAReporterFilterCriteria::NameField, QRegularExpression("t"));
    criteria.addPattern(QAReporterFilterCriteria::TypeField, QRegularExpression("Test"));
    std::unique_ptr<QAReporterNode> tested(node(name, state, type));
    QCOMPARE(criteria.match(tested.get()).toInt(), expected);
    // Without any pattern every node passes.
    QCOMPARE(QAReporterFilterCriteria().match(tested.get()), QAReporterFilterCriteria::AllFields);
}

void TestFilter::editsPatterns()
{
    using C = QAReporterFilterCriteria;
    C criteria;
    std::unique_ptr<QAReporterNode> passed(node("a", "ok", "Unit"));
    criteria.addPattern(C::StateField, QRegularExpression("ko"));
    criteria.addPattern(C::StateField, QRegularExpression("o")); // replaces "ko"
    QCOMPARE(criteria.match(passed.get()), C::AllFields);
    criteria.addPattern(C::TypeField, QRegularExpression("Unit"));
    criteria.addPattern(C::TypeField, QRegularExpression("Other"));
    QCOMPARE(criteria.fields(), C::StateField | C::TypeField);
    QCOMPARE(criteria.match(passed.get()), C::NameField | C::StateField);

    criteria.removeTypePattern(QRegularExpression("Unit"));
    QCOMPARE(criteria.match(passed.get()), C::AllFields);
    QCOMPARE(criteria.fields(), C::StateField | C::TypeField);
    criteria.removeTypePattern(QRegularExpression("Other"));
    QCOMPARE(criteria.fields(), C::Fields(C::StateField));

    criteria.removePattern(C::StateField);
    criteria.removePattern(C::NameField); // not set: nothing changes
    QCOMPARE(criteria.fields(), C::Fields());
    criteria.addPattern(C::TypeField, QRegularExpression("U"));
    criteria.removePattern(C::TypeField);
    QCOMPARE(criteria.fields(), C::Fields());
    QVERIFY(criteria.typePatterns().isEmpty());
}

void TestFilter::keepsFailedBranches()
{
    std::unique_ptr<QAReporterData> record(load(groupReport));
    QVERIFY(record);
    QAReporterFilterCriteria criteria = failedOnly();
    QAReporterFilterWriter writer(&criteria);
    QAReporterDataTree* filtered = writer.buildTree(record->tree);
    QVERIFY(filtered);
    // g has no state: kept with its failed case; t1 fails but its test passed.
    QCOMPARE(treeLines(filtered), (QStringList{"g", "  b", "k"}));
    QStringList rejected;
    for (const QAReporterNode* left : writer.rejected())
        rejected << left->name;
    QCOMPARE(rejected, (QStringList{"a", "c", "d", "e", "t", "t1", "x"}));
    // Copies, not the source nodes.
    QVERIFY(named(filtered, "b") != named(record->tree, "b"));
    QCOMPARE(named(filtered, "b")->id, named(record->tree, "b")->id);

    QVERIFY(!QAReporterFilterWriter(nullptr).buildTree(record->tree));
}

// Replaying moves is easy to get subtly wrong; compare with a plain
// selection (kept = passes and parent kept) over random trees.
void TestFilter::treeAgreesWithDirectSelection()
{
    const QStringList states{"ok", "ko", QString(), "NE", "kox"};
    QAReporterFilterCriteria criteria = failedOnly();
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QRandomGenerator random(seed);
        QAReporterDataTree source(new QAReporterNode);
        int depth = 0;
        for (int i = 0; i < 200; ++i) {
            const int move = random.bounded(5);
            if (move == 0 && depth > 0) {
                source.toParent();
                --depth;
            }
            source.appendChild(node(QString::number(i), states.at(random.bounded(5))));
            if (move >= 3 && source.toLastChild())
                ++depth;
        }
        QStringList expected;
        QList<bool> keptOnPath{true};
        source.iterator()->toRoot();
        while (QAReporterNode* reached = source.next(PreOrder)) {
            const int level = source.iterator()->depth();
            keptOnPath.resize(level + 1);
            keptOnPath[level] = keptOnPath.at(level - 1) &&
                                criteria.match(reached) == QAReporterFilterCriteria::AllFields;
            if (keptOnPath.at(level))
                expected << QString(2 * (level - 1), ' ') + reached->name;
        }
        QAReporterFilterWriter writer(&criteria);
        QAReporterDataTree* filtered = writer.buildTree(&source);
        QVERIFY(filtered);
        QCOMPARE(treeLines(filtered), expected);
        QCOMPARE(writer.rejected().size() + expected.size(), nodesOf(&source).size() - 1);
    }
}

void TestFilter::copiesDocumentWithoutRejectedRanges()
{
    std::unique_ptr<QAReporterData> record(load(groupReport));
    QVERIFY(record);
    QAReporterFilter filter;
    QAReporterData* filtered = filterOne(filter, record.get());
    QVERIFY(filtered);
    // A null tag marks where each kept node starts (the root starts at the
    // document itself). c's range spans two paragraphs; d is one image; e
    // holds no item and removes nothing.
    QCOMPARE(DAmlWriter::toAml(filtered->document.get()),
             QStringLiteral("<DOCUMENT name=\"run\"><TITLE level=\"1\"><TEXT>Run</TEXT></TITLE>"
                            "<TAG/><SECTION name=\"g\">"
                            "<TAG/><PARAGRAPH name=\"b\"><TEXT>failed</TEXT></PARAGRAPH>"
                            "<PARAGRAPH name=\"b2\"><TEXT>more</TEXT></PARAGRAPH>"
                            "<PARAGRAPH name=\"trailer\"><TEXT>end</TEXT></PARAGRAPH></SECTION>"
                            "<TAG/><PARAGRAPH name=\"k\"><TEXT>k</TEXT></PARAGRAPH></DOCUMENT>"));
    QCOMPARE(filtered->tree->root()->data->id, QStringLiteral("run"));

    // Without patterns the whole report is kept: its document is shared,
    // not copied, and the filtered nodes stay bound to the source's items.
    const QString sourceAml = DAmlWriter::toAml(record->document.get());
    auto everything = std::make_unique<QAReporterFilter>();
    QAReporterData* whole = filterOne(*everything, record.get(), QAReporterFilterCriteria());
    QCOMPARE(whole->document.get(), record->document.get());
    QCOMPARE(whole->tree->root()->data->id, QStringLiteral("run"));
    QCOMPARE(bindingsOf(whole->tree), bindingsOf(record->tree));
    everything.reset();
    QCOMPARE(DAmlWriter::toAml(record->document.get()), sourceAml);

    // The source may go before its unfiltered view: the document goes
    // with the last of them.
    everything = std::make_unique<QAReporterFilter>();
    QAReporterData* view = filterOne(*everything, record.get(), QAReporterFilterCriteria());
    record.reset();
    QCOMPARE(DAmlWriter::toAml(view->document.get()), sourceAml);
}

void TestFilter::rejectedSingleItemNodeRemovesOnlyThatItem()
{
    std::unique_ptr<QAReporterData> record(load(R"(<XROD><DOCUMENT>
<XROD:NODE name="t" type="case" state="ok"><TABLE name="tb"><ROW><CELLTEXT>x</CELLTEXT></ROW></TABLE>
 <PARAGRAPH name="p">q</PARAGRAPH></XROD:NODE>
<XROD:NODE name="f" type="case" state="ko"><PARAGRAPH name="f">f</PARAGRAPH></XROD:NODE>
</DOCUMENT></XROD>)"));
    QVERIFY(record);
    QAReporterNode* table = named(record->tree, "t");
    // A node that is exactly the table, or that has no end.
    for (DItem* end : {table->startItem, static_cast<DItem*>(nullptr)}) {
        table->endItem = end;
        QAReporterFilter filter;
        QAReporterData* filtered = filterOne(filter, record.get());
        QCOMPARE(DAmlWriter::toAml(filtered->document.get()),
                 QStringLiteral("<DOCUMENT><PARAGRAPH name=\"p\"><TEXT>q</TEXT></PARAGRAPH><TAG/>"
                                "<PARAGRAPH name=\"f\"><TEXT>f</TEXT></PARAGRAPH></DOCUMENT>"));
    }
}

void TestFilter::bindsFilteredNodesToTheCopy()
{
    Filtered run(R"(<XROD><DOCUMENT name="d">
<XROD:NODE name="g" type="group"><XROD:NODE name="t" type="case" state="ko">
 <PARAGRAPH name="p">shared start</PARAGRAPH></XROD:NODE>
 <XROD:NODE name="u" type="case" state="ok"><PARAGRAPH name="u">gone</PARAGRAPH></XROD:NODE></XROD:NODE>
<GRAPHIC><XROD:NODE name="ax" type="case" state="ko"><AXIS name="ax" orientation="y"/></XROD:NODE>
 <CURVE><POINT x="1.5" y="-2"/></CURVE></GRAPHIC>
</DOCUMENT></XROD>)");
    QAReporterData* filtered = run.copy;
    QVERIFY(filtered && filtered->document.get());
    const QSet<const DItem*> copies = itemSetOf(filtered->document.get());
    for (QAReporterNode* kept : nodesOf(filtered->tree)) {
        QVERIFY2(copies.contains(kept->startItem), qPrintable(kept->name));
        QVERIFY2(copies.contains(kept->endItem) || kept == filtered->tree->root()->data,
                 qPrintable(kept->name));
    }

    QAReporterNode* group = named(filtered->tree, "g");
    QAReporterNode* test = named(filtered->tree, "t");
    QCOMPARE(group->startItem, test->startItem);
    QCOMPARE(test->startItem->name(), QStringLiteral("p"));
    const DItem* tag = previousSibling(test->startItem);
    QVERIFY(tag && tag->kind() == DItem::Tag && tag->name().isNull());
    QVERIFY(!previousSibling(tag)); // one tag for both nodes
    // g ended in the rejected u; it now ends with its last kept child.
    QCOMPARE(group->endItem, test->endItem);
    QCOMPARE(test->endItem->parent(), test->startItem);

    QAReporterNode* axis = named(filtered->tree, "ax");
    QCOMPARE(axis->startItem->kind(), DItem::Axis);
    QVERIFY(!previousSibling(axis->startItem));
    QCOMPARE(DAmlWriter::toAml(filtered->document.get()).count("<TAG/>"), 1);
    QVERIFY(DAmlWriter::toAml(filtered->document.get()).contains("<POINT x=\"1.5\" y=\"-2\"/>"));
}

// h and g have content after their failed child, and g a passed child
// last: neither may reach past b. m's failed child has no item: m keeps
// its own end.
void TestFilter::parentsEndWithTheirLastKeptChild()
{
    Filtered run(R"(<XROD><DOCUMENT name="run">
<XROD:NODE name="m" type="group"><PARAGRAPH name="m">m</PARAGRAPH>
 <XROD:NODE name="n" type="case" state="ko"/></XROD:NODE>
<XROD:NODE name="g" type="group"><SECTION name="g">
 <XROD:NODE name="h" type="group"><PARAGRAPH name="h">intro</PARAGRAPH>
  <XROD:NODE name="b" type="case" state="ko"><PARAGRAPH name="b">failed</PARAGRAPH></XROD:NODE>
  <PARAGRAPH name="hafter">h trailing</PARAGRAPH></XROD:NODE>
 <PARAGRAPH name="gafter">g trailing</PARAGRAPH>
 <XROD:NODE name="c" type="case" state="ok"><PARAGRAPH name="c">passed</PARAGRAPH></XROD:NODE>
</SECTION></XROD:NODE>
<PARAGRAPH name="tail">after all</PARAGRAPH>
</DOCUMENT></XROD>)");
    QAReporterData* filtered = run.copy;
    QVERIFY(filtered && filtered->document.get());
    QCOMPARE(treeLines(filtered->tree), (QStringList{"m", "  n", "g", "  h", "    b"}));
    const QSet<const DItem*> copies = itemSetOf(filtered->document.get());

    const DItem* failedEnd = named(filtered->tree, "b")->endItem;
    QVERIFY(copies.contains(failedEnd));
    QCOMPARE(failedEnd->parent()->name(), QStringLiteral("b"));
    QCOMPARE(named(filtered->tree, "h")->endItem, failedEnd);
    QCOMPARE(named(filtered->tree, "g")->endItem, failedEnd);
    QCOMPARE(filtered->tree->root()->data->endItem, failedEnd);

    QVERIFY(!named(filtered->tree, "n")->endItem);
    const DItem* ownEnd = named(filtered->tree, "m")->endItem;
    QVERIFY(copies.contains(ownEnd));
    QCOMPARE(ownEnd->parent()->name(), QStringLiteral("m"));
}

void TestFilter::neverTouchesTheSource()
{
    std::unique_ptr<QAReporterData> record(load(groupReport));
    QVERIFY(record);
    const QString sourceAml = DAmlWriter::toAml(record->document.get());
    const QList<QPair<DItem*, DItem*>> bindings = bindingsOf(record->tree);

    auto filter = std::make_unique<QAReporterFilter>();
    QAReporterData* filtered = filterOne(*filter, record.get());
    filter.reset();
    QCOMPARE(DAmlWriter::toAml(record->document.get()), sourceAml);
    QCOMPARE(bindingsOf(record->tree), bindings);

    // The other way round: the filtered record outlives its source.
    QAReporterFilter second;
    filtered = filterOne(second, record.get());
    const QString filteredAml = DAmlWriter::toAml(filtered->document.get());
    record.reset();
    QCOMPARE(DAmlWriter::toAml(filtered->document.get()), filteredAml);
    QCOMPARE(named(filtered->tree, "b")->startItem->name(), QStringLiteral("b"));
}

void TestFilter::keepsRecordOrderAndLeavesOutFailures()
{
    std::unique_ptr<QAReporterData> first(load(groupReport, "/reports/first.xrd"));
    std::unique_ptr<QAReporterData> second(load(groupReport, "/reports/second.xrd"));
    QAReporterData rootFails;
    rootFails.fileName = "odd.xrd";
    rootFails.tree = new QAReporterDataTree(node("root", "ok"));

    QAReporterFilter filter;
    filter.apply({first.get()}); // no criteria yet
    QVERIFY(filter.filteredRecords().isEmpty());

    filter.setCriteria(failedOnly());
    QVERIFY(filter.apply({first.get(), &rootFails, nullptr, second.get()}));
    QCOMPARE(filter.filteredRecords().size(), 2);
    QAReporterData* last = filter.filteredRecords().at(1);
    QCOMPARE(filter.filteredRecords().at(0)->fileName, QStringLiteral("/reports/first.xrd"));
    QCOMPARE(last->fileName, QStringLiteral("/reports/second.xrd"));
    QVERIFY(last->types.isEmpty());
    QCOMPARE(QList<qint64>({last->koCount, last->okCount, last->neCount}),
             QList<qint64>({0, 0, -1}));

    filter.apply({first.get()}); // appends
    QCOMPARE(filter.filteredRecords().size(), 3);
    QPointer<QAReporterDataTree> tree = last->tree;
    filter.clearFilteredRecords();
    QVERIFY(filter.filteredRecords().isEmpty());
    QVERIFY(tree.isNull());
}

void TestFilter::filtersDocumentsNestedToTheReaderLimit()
{
    // XROD, DOCUMENT, XROD:NODE and TEXT take four levels.
    const int sections = DAmlReader::maxDepth() - 4;
    const QByteArray open = QByteArray("<SECTION>").repeated(sections);
    const QByteArray close = QByteArray("</SECTION>").repeated(sections);
    Filtered run("<XROD><DOCUMENT><XROD:NODE name=\"f\" type=\"case\" state=\"ko\">" + open +
                 "<TEXT>bottom</TEXT>" + close +
                 "</XROD:NODE><XROD:NODE name=\"p\" type=\"case\" state=\"ok\">" + open +
                 "<TEXT>gone</TEXT>" + close + "</XROD:NODE></DOCUMENT></XROD>");
    QAReporterData* filtered = run.copy;
    QVERIFY(filtered);
    QCOMPARE(DAmlWriter::toAml(filtered->document.get()).toUtf8(),
             "<DOCUMENT><TAG/>" + open + "<TEXT>bottom</TEXT>" + close + "</DOCUMENT>");
    const DItem* bottom = named(filtered->tree, "f")->endItem;
    QCOMPARE(bottom->kind(), DItem::Text);
    int depth = 0;
    for (const DItem* item = bottom; item->parent(); item = item->parent())
        ++depth;
    QCOMPARE(depth, sections + 1);
}

// A few hundred bytes must not make the filter's table pass size per-column
// arrays by the spans that the file claims.
void TestFilter::hugeSpansKeepTheCopySmall()
{
    Filtered run("<XROD><DOCUMENT><XROD:NODE name=\"f\" type=\"case\" state=\"ko\"><TABLE><ROW>"
                 "<CELLTEXT hspan=\"400000000\" vspan=\"400000000\">x</CELLTEXT>"
                 "<CELLTEXT hspan=\"2147483647\">y</CELLTEXT></ROW></TABLE>"
                 "</XROD:NODE></DOCUMENT></XROD>");
    QAReporterData* filtered = run.copy;
    QVERIFY(filtered && filtered->document.get());
    const DTable* table = nullptr;
    for (DItem* item : itemsOf(filtered->document.get())) {
        if (item->kind() == DItem::Table)
            table = static_cast<const DTable*>(item);
    }
    QVERIFY(table);
    QCOMPARE(table->widths().size(), DTable::MaxColumns);
    const auto* cell = static_cast<const DCell*>(table->first()->toContainer()->first());
    QCOMPARE(cell->hspan(), DCell::MaxSpan);
    QCOMPARE(cell->vspan(), DCell::MaxSpan);
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
