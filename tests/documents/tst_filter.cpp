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

// Per node, root first: the names of the items (or of a text's parent)
// where it starts and ends, "-" for none; "!" marks an item outside within.
QStringList bindingsOf(QAReporterDataTree* tree, DItem* within)
{
    const QList<DItem*> items = itemsOf(within);
    auto place = [&items](const DItem* item) -> QString {
        if (!item)
            return QStringLiteral("-");
        const QString name =
            item->kind() == DItem::Text ? item->parent()->name() + "/text" : item->name();
        return items.contains(item) ? name : "!" + name;
    };
    QStringList lines;
    for (const QAReporterNode* node : nodesOf(tree))
        lines << node->name + ' ' + place(node->startItem) + ' ' + place(node->endItem);
    return lines;
}

// Runs the failed-only filter over one record; the filter owns the result.
QAReporterData* filterOne(QAReporterFilter& filter, QAReporterData* record,
                          const QAReporterFilterCriteria& criteria = failedOnly())
{
    filter.setCriteria(criteria);
    filter.apply({record});
    return filter.filteredRecords().value(0);
}

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
    void treeAgreesWithDirectSelection();
    void copiesTheKeptRanges_data();
    void copiesTheKeptRanges();
    void sharesTheSourceWhenNothingIsFiltered();
    void keepsRecordOrderAndLeavesOutFailures();
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
    row("ko then letters", "t", "Unit", "kodak", 7);
    row("ko further on", "t", "Unit", "xko", 3);
    row("null state", "t", "Unit", null, 7);
    row("type excluded", "t", "TestCase", "ko", 5);
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

// The copy holds the ranges of the kept nodes, a null tag where each kept
// node starts; every kept node is bound to items of the copy. endOfT moves
// the end of the source's node t to its start or to none.
void TestFilter::copiesTheKeptRanges_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("endOfT");
    QTest::addColumn<QString>("aml");
    QTest::addColumn<QStringList>("bindings");

    // c's range spans two paragraphs; d is one image; e holds no item.
    QTest::newRow("group")
        << groupReport << QString()
        << QStringLiteral("<DOCUMENT name=\"run\"><TITLE level=\"1\"><TEXT>Run</TEXT></TITLE>"
                          "<TAG/><SECTION name=\"g\"><TAG/><PARAGRAPH name=\"b\"><TEXT>failed"
                          "</TEXT></PARAGRAPH><PARAGRAPH name=\"b2\"><TEXT>more</TEXT></PARAGRAPH>"
                          "<PARAGRAPH name=\"trailer\"><TEXT>end</TEXT></PARAGRAPH></SECTION>"
                          "<TAG/><PARAGRAPH name=\"k\"><TEXT>k</TEXT></PARAGRAPH></DOCUMENT>")
        << QStringList{" run k/text", "g g b2/text", "b b b2/text", "k k k/text"};
    const QByteArray table = R"(<XROD><DOCUMENT>
<XROD:NODE name="t" type="case" state="ok"><TABLE name="tb"><ROW><CELLTEXT>x</CELLTEXT></ROW></TABLE>
 <PARAGRAPH name="p">q</PARAGRAPH></XROD:NODE>
<XROD:NODE name="f" type="case" state="ko"><PARAGRAPH name="f">f</PARAGRAPH></XROD:NODE>
</DOCUMENT></XROD>)";
    const QString tableCopy = "<DOCUMENT><PARAGRAPH name=\"p\"><TEXT>q</TEXT></PARAGRAPH><TAG/>"
                              "<PARAGRAPH name=\"f\"><TEXT>f</TEXT></PARAGRAPH></DOCUMENT>";
    const QStringList tableBindings{"  f/text", "f f f/text"};
    QTest::newRow("rejected node exactly a table")
        << table << "start" << tableCopy << tableBindings;
    QTest::newRow("rejected node without end") << table << "none" << tableCopy << tableBindings;
    // g and t start at the same item: one tag for both.
    QTest::newRow("shared start")
        << QByteArray(R"(<XROD><DOCUMENT name="d">
<XROD:NODE name="g" type="group"><XROD:NODE name="t" type="case" state="ko">
 <PARAGRAPH name="p">shared start</PARAGRAPH></XROD:NODE>
 <XROD:NODE name="u" type="case" state="ok"><PARAGRAPH name="u">gone</PARAGRAPH></XROD:NODE></XROD:NODE>
<GRAPHIC><XROD:NODE name="ax" type="case" state="ko"><AXIS name="ax" orientation="y"/></XROD:NODE>
 <CURVE><POINT x="1.5" y="-2"/></CURVE></GRAPHIC>
</DOCUMENT></XROD>)")
        << QString()
        << QStringLiteral(
               "<DOCUMENT name=\"d\"><TAG/><PARAGRAPH name=\"p\"><TEXT>shared start</TEXT>"
               "</PARAGRAPH><GRAPHIC width=\"400\" height=\"250\"><AXIS name=\"ax\" "
               "orientation=\"y\" min=\"0\" max=\"0\"/><CURVE><POINT x=\"1.5\" "
               "y=\"-2\"/></CURVE></GRAPHIC></DOCUMENT>")
        << QStringList{" d ax", "g p p/text", "t p p/text", "ax ax ax"};
    // XROD, DOCUMENT, XROD:NODE and TEXT take four levels.
    const int sections = DAmlReader::maxDepth() - 4;
    const QString open = QString("<SECTION>").repeated(sections);
    const QString close = QString("</SECTION>").repeated(sections);
    QTest::newRow("nested to the reader limit")
        << ("<XROD><DOCUMENT><XROD:NODE name=\"f\" type=\"case\" state=\"ko\">" + open +
            "<TEXT>bottom</TEXT>" + close +
            "</XROD:NODE><XROD:NODE name=\"p\" type=\"case\" state=\"ok\">" + open +
            "<TEXT>gone</TEXT>" + close + "</XROD:NODE></DOCUMENT></XROD>")
               .toUtf8()
        << QString() << "<DOCUMENT><TAG/>" + open + "<TEXT>bottom</TEXT>" + close + "</DOCUMENT>"
        << QStringList{"  /text", "f  /text"};
}

void TestFilter::copiesTheKeptRanges()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, endOfT);
    std::unique_ptr<QAReporterData> record(load(xml));
    QVERIFY(record);
    if (!endOfT.isEmpty()) {
        QAReporterNode* t = named(record->tree, "t");
        t->endItem = endOfT == "start" ? t->startItem : nullptr;
    }
    QAReporterFilter filter;
    QAReporterData* filtered = filterOne(filter, record.get());
    QVERIFY(filtered);
    QFETCH(QString, aml);
    if (!aml.isEmpty())
        QCOMPARE(DAmlWriter::toAml(filtered->document.get()), aml);
    QTEST(bindingsOf(filtered->tree, filtered->document.get()), "bindings");
}

// Without patterns the whole report is kept: its document is shared, not
// copied, and the nodes stay bound to the source's items. Either of the
// source and its views may go first; none changes the source.
void TestFilter::sharesTheSourceWhenNothingIsFiltered()
{
    std::unique_ptr<QAReporterData> record(load(groupReport));
    QVERIFY(record);
    const QString sourceAml = DAmlWriter::toAml(record->document.get());
    const QStringList bindings = bindingsOf(record->tree, record->document.get());
    auto failed = std::make_unique<QAReporterFilter>();
    QAReporterData* copy = filterOne(*failed, record.get());
    const QString copyAml = DAmlWriter::toAml(copy->document.get());
    auto everything = std::make_unique<QAReporterFilter>();
    QAReporterData* whole = filterOne(*everything, record.get(), QAReporterFilterCriteria());
    QCOMPARE(whole->document.get(), record->document.get());
    QCOMPARE(whole->tree->root()->data->id, QStringLiteral("run"));
    QCOMPARE(bindingsOf(whole->tree, record->document.get()), bindings);
    everything.reset();
    QCOMPARE(DAmlWriter::toAml(record->document.get()), sourceAml);
    QCOMPARE(bindingsOf(record->tree, record->document.get()), bindings);

    everything = std::make_unique<QAReporterFilter>();
    QAReporterData* view = filterOne(*everything, record.get(), QAReporterFilterCriteria());
    record.reset();
    QCOMPARE(DAmlWriter::toAml(view->document.get()), sourceAml);
    QCOMPARE(DAmlWriter::toAml(copy->document.get()), copyAml);
}

void TestFilter::keepsRecordOrderAndLeavesOutFailures()
{
    std::unique_ptr<QAReporterData> first(load(groupReport, "/reports/first.xrd"));
    std::unique_ptr<QAReporterData> second(load(groupReport, "/reports/second.xrd"));
    QAReporterData rootFails;
    rootFails.tree = new QAReporterDataTree(node("root", "ok"));

    QAReporterFilter filter;
    filter.apply({first.get()}); // no criteria yet
    QVERIFY(filter.filteredRecords().isEmpty());
    filter.setCriteria(failedOnly());
    QVERIFY(filter.apply({first.get(), &rootFails, nullptr, second.get()}));
    filter.apply({first.get()}); // appends
    QStringList files;
    for (const QAReporterData* filtered : filter.filteredRecords())
        files << filtered->fileName;
    QCOMPARE(files,
             (QStringList{"/reports/first.xrd", "/reports/second.xrd", "/reports/first.xrd"}));
    QAReporterData* last = filter.filteredRecords().at(1);
    QVERIFY(last->types.isEmpty());
    QCOMPARE(QList<qint64>({last->koCount, last->okCount, last->neCount}),
             QList<qint64>({0, 0, -1}));
    QPointer<QAReporterDataTree> tree = last->tree;
    filter.clearFilteredRecords();
    QVERIFY(filter.filteredRecords().isEmpty());
    QVERIFY(tree.isNull());
}

// A few hundred bytes must not make the filter's table pass size per-column
// arrays by the spans that the file claims.
void TestFilter::hugeSpansKeepTheCopySmall()
{
    std::unique_ptr<QAReporterData> record(load(
        "<XROD><DOCUMENT><XROD:NODE name=\"f\" type=\"case\" state=\"ko\"><TABLE><ROW>"
        "<CELLTEXT hspan=\"400000000\" vspan=\"400000000\">x</CELLTEXT>"
        "<CELLTEXT hspan=\"2147483647\">y</CELLTEXT></ROW></TABLE></XROD:NODE></DOCUMENT></XROD>"));
    QAReporterFilter filter;
    QAReporterData* filtered = filterOne(filter, record.get());
    const auto* table = static_cast<const DTable*>(named(filtered->tree, "f")->startItem);
    QCOMPARE(table->kind(), DItem::Table);
    QCOMPARE(table->widths().size(), DTable::MaxColumns);
    const auto* cell = static_cast<const DCell*>(table->first()->toContainer()->first());
    QCOMPARE(QList<int>({cell->hspan(), cell->vspan()}),
             QList<int>({DCell::MaxSpan, DCell::MaxSpan}));
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
