#include "damlwriter.h"
#include "ditems.h"
#include "documentitems.h"
#include "qareporterfilter.h"
#include "qareporterfilterwriter.h"
#include "xrodrecords.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

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
    const QList<QAReporterNode*> nodes = nodesOf(tree);
    return *std::find_if(nodes.begin(), nodes.end(),
                         [&](auto* node) { return node->name == name; });
}

// In document order, the names of named items and "+" for unnamed tags.
QString outlineOf(DItem* document)
{
    QStringList names;
    for (const DItem* item : itemsOf(document)) {
        if (!item->name().isEmpty() || item->kind() == DItem::Tag)
            names << (item->name().isEmpty() ? QStringLiteral("+") : item->name());
    }
    return names.join(' ');
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
    void appliesPerRecordAndSharesWhatItKeepsWhole();
};

void TestFilter::matchesFieldByField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("expected");

    // The criteria want a state starting with "ko", a name starting with "t"
    // and a type not starting with "Test"; a null field passes. Expected:
    // the set of fields that pass.
    const QString null;
    auto row = [](const char* label, const QString& name, const QString& type, const QString& state,
                  int expected) { QTest::newRow(label) << name << type << state << expected; };
    row("ko then letters", "t", "Unit", "kodak", 7);
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

// The copy holds the kept nodes' ranges, a null tag where each starts, and
// the kept nodes are bound to its items. endOfT moves t's end in the source.
void TestFilter::copiesTheKeptRanges_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("endOfT");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QStringList>("bindings");

    // c's range spans two paragraphs; d is one image; e holds no item.
    QTest::newRow("group") << groupReport << QString() << "run + g + b b2 trailer + k"
                           << QStringList{" run k/text", "g g b2/text", "b b b2/text",
                                          "k k k/text"};
    const QByteArray table = R"(<XROD><DOCUMENT>
<XROD:NODE name="t" type="case" state="ok"><TABLE name="tb"><ROW><CELLTEXT>x</CELLTEXT></ROW></TABLE>
 <PARAGRAPH name="p">q</PARAGRAPH></XROD:NODE>
<XROD:NODE name="f" type="case" state="ko"><PARAGRAPH name="f">f</PARAGRAPH></XROD:NODE>
</DOCUMENT></XROD>)";
    const QString tableCopy = "p + f";
    const QStringList tableBindings{"  f/text", "f f f/text"};
    QTest::newRow("rejected node exactly a table")
        << table << "start" << tableCopy << tableBindings;
    QTest::newRow("rejected node without end") << table << "none" << tableCopy << tableBindings;
}

void TestFilter::copiesTheKeptRanges()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, endOfT);
    std::unique_ptr<QAReporterData> record(readRecord(xml));
    QVERIFY(record);
    if (!endOfT.isEmpty()) {
        QAReporterNode* t = named(record->tree, "t");
        t->endItem = endOfT == "start" ? t->startItem : nullptr;
    }
    QAReporterFilter filter;
    filter.setCriteria(failedOnly());
    filter.apply({record.get()});
    QAReporterData* filtered = filter.filteredRecords().value(0);
    QTEST(outlineOf(filtered->document.get()), "outline");
    QTEST(bindingsOf(filtered->tree, filtered->document.get()), "bindings");
}

// A record whose root fails, or none, gives no copy; each apply adds
// copies. Without patterns the document is shared, not copied, and so are
// the nodes below the root, which stay bound to the source's items. No
// copy changes the source, and none deletes what it shares.
void TestFilter::appliesPerRecordAndSharesWhatItKeepsWhole()
{
    std::unique_ptr<QAReporterData> record(readRecord(groupReport));
    QAReporterData rootFails;
    rootFails.tree = new QAReporterDataTree(node("root", "ok"));
    const QString sourceAml = DAmlWriter::toAml(record->document.get());
    const QStringList bindings = bindingsOf(record->tree, record->document.get());
    QAReporterFilter filter;
    filter.setCriteria(failedOnly());
    QVERIFY(filter.apply({record.get(), &rootFails, nullptr}));
    filter.apply({record.get()});
    QCOMPARE(filter.filteredRecords().size(), 2);
    QAReporterData* copy = filter.filteredRecords().at(0);
    const QString copyAml = DAmlWriter::toAml(copy->document.get());

    auto everything = std::make_unique<QAReporterFilter>();
    everything->setCriteria(QAReporterFilterCriteria());
    everything->apply({record.get()});
    QAReporterData* whole = everything->filteredRecords().value(0);
    QCOMPARE(whole->document.get(), record->document.get());
    QCOMPARE(bindingsOf(whole->tree, record->document.get()), bindings);
    const QString sourceRootId = record->tree->root()->data->id();
    QVERIFY(whole->tree->root()->data != record->tree->root()->data);
    QCOMPARE(whole->tree->root()->data->id(), record->document->name());
    QVERIFY(!whole->tree->root()->children.isEmpty());
    QCOMPARE(whole->tree->root()->children, record->tree->root()->children);
    everything.reset();
    QCOMPARE(record->tree->root()->data->id(), sourceRootId);
    QCOMPARE(DAmlWriter::toAml(record->document.get()), sourceAml);
    QCOMPARE(bindingsOf(record->tree, record->document.get()), bindings);

    record.reset();
    QCOMPARE(DAmlWriter::toAml(copy->document.get()), copyAml);
    QPointer<QAReporterDataTree> tree = copy->tree;
    filter.clearFilteredRecords();
    QVERIFY(tree.isNull());
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
