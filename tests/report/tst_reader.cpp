#include "ditems.h"
#include "recordingstudio.h"
#include "xrodrecords.h"

#include <QtTest>

#include <limits>

namespace {

// The nodes below the root, in document order.
QList<QAReporterNode*> nodesOf(QAReporterDataTree* tree)
{
    QList<QAReporterNode*> nodes;
    tree->iterator()->toRoot();
    while (QAReporterNode* node = tree->next(PreOrder))
        nodes.append(node);
    return nodes;
}

QByteArray nested(int depth)
{
    return "<XROD>" + QByteArray("<SECTION>").repeated(depth) +
           QByteArray("</SECTION>").repeated(depth) + "</XROD>";
}

} // namespace

class TestReader : public QObject
{
    Q_OBJECT

private slots:
    void bindsNodesToTheirItems();
    void sumsCountByState_data();
    void sumsCountByState();
    void refusedWithAReason_data();
    void refusedWithAReason();
    void reportsProgressAndErrors();
    void numbersNodeIdsInDecimal();
};

// Each node is bound to its first and last item; a node without items
// to none, and a parent waits past it for the next bound child. The root
// starts at the first item.
void TestReader::bindsNodesToTheirItems()
{
    QString error;
    const std::unique_ptr<QAReporterData> r =
        readRecord("<XROD><XROD:NODE name=\"a\" type=\"suite\" icone=\"a.png\" base=\"/src/\">"
                   "<XROD:NODE name=\"empty\" type=\"test\"/>"
                   "<XROD:NODE name=\"b\" type=\"test\"><SECTION name=\"b\"/>tail</XROD:NODE>"
                   "</XROD:NODE><XROD:NODE name=\"\" type=\"test\" state=\"\">"
                   "<PARAGRAPH name=\"p\">x</PARAGRAPH></XROD:NODE></XROD>",
                   {}, &error);
    QVERIFY2(r, qPrintable(error));
    QStringList lines;
    for (const QAReporterNode* node : nodesOf(r->tree)) {
        QStringList fields{node->id(), node->name, node->icon(), node->base(), node->state};
        for (const DItem* item : {node->startItem, node->endItem})
            fields << (item ? DItem::kindName(item->kind()) + (':' + item->name()) : "-");
        lines << fields.join(' ');
    }
    QCOMPARE(lines, (QStringList{"1 a a.png /src/  SECTION:b TEXT:", "2 empty    - -",
                                 "3 b    SECTION:b TEXT:", "4     PARAGRAPH:p TEXT:"}));
    QVERIFY(!nodesOf(r->tree).last()->state.isNull()); // empty, not absent
    QCOMPARE(r->tree->root()->data->startItem, nodesOf(r->tree).first()->startItem);
    QCOMPARE(r->types, (QStringList{"suite", "test"}));
    QVERIFY(readRecord(nested(1999))); // the deepest taken, the root being one level

    // Names that repeat from test to test are kept once.
    const std::unique_ptr<QAReporterData> twice =
        readRecord("<XROD><XROD:NODE name=\"t1\" type=\"test\"><XROD:NODE name=\"case_01\" "
                   "type=\"testcase\"><TAG/></XROD:NODE></XROD:NODE><XROD:NODE name=\"t2\" "
                   "type=\"test\"><XROD:NODE name=\"case_01\" type=\"testcase\"><TAG/>"
                   "</XROD:NODE></XROD:NODE></XROD>",
                   {}, &error);
    QVERIFY2(twice, qPrintable(error));
    const QList<QAReporterNode*> nodes = nodesOf(twice->tree);
    QCOMPARE(nodes.size(), 4);
    QCOMPARE(nodes[3]->name, QStringLiteral("case_01"));
    QVERIFY(nodes[3]->name.isSharedWith(nodes[1]->name));
}

// Totals by state (passed, failed, inconclusive; -1: none counted).
void TestReader::sumsCountByState_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QList<qint64>>("totals");
    auto node = [](const char* state, const char* sum) {
        return QByteArray("<XROD:NODE name=\"n\" type=\"t\" state=\"") + state + "\" sum=\"" + sum +
               "\"><TAG/></XROD:NODE>";
    };
    const qint64 most = std::numeric_limits<qint64>::max();
    QTest::newRow("by state") << node("ok", "4") + node("ko", "2") + node("ok", "1")
                              << QList<qint64>{5, 2, -1};
    QTest::newRow("not a number") << node("ok", "3x") + node("ko", "") + node("ko", "1.5")
                                  << QList<qint64>{0, 0, -1};
    QTest::newRow("NE zero") << node("NE", "0") << QList<qint64>{0, 0, 0};
    // Totals past the range of int neither wrap nor turn a failure into a pass.
    QTest::newRow("past int") << node("ko", "2147483647") + node("ko", "1") +
                                     node("ok", "2147483647") + node("ok", "2147483647") +
                                     node("NE", "2147483647") + node("NE", "2")
                              << QList<qint64>{4294967294LL, 2147483648LL, 2147483649LL};
    QTest::newRow("count past int64 saturates")
        << node("ko", "99999999999999999999") + node("ko", "9223372036854775807")
        << QList<qint64>{0, most, -1};
    QTest::newRow("negative counts ignored")
        << node("ko", "-5") + node("ko", "3") + node("ok", "-2") + node("NE", "-1")
        << QList<qint64>{0, 3, -1};
}

void TestReader::sumsCountByState()
{
    QFETCH(QByteArray, nodes);
    const std::unique_ptr<QAReporterData> r = readRecord("<XROD>" + nodes + "</XROD>");
    QVERIFY(r);
    QTEST((QList<qint64>{r->okCount, r->koCount, r->neCount}), "totals");
}

// Input that is not a sound report fails with a reason: well-formed XML whose root is not XROD
// holds no test nodes, and reading it as an empty report would let a broken run pass for a clean
// one.
void TestReader::refusedWithAReason_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("reason");
    const QStringList noAml{"nested XMLROD init element.\n"};
    const QStringList badXml{"line "};
    auto notAReport = [](const QString& root) {
        return QStringList{"not a report", "<" + root + ">", "<XROD>"};
    };
    QTest::newRow("nodes without AML")
        << QByteArray("<XROD><XROD:NODE name=\"a\" type=\"t\"/></XROD>") << noAml;
    QTest::newRow("second root") << QByteArray("<XROD><TAG/><XROD><TAG/></XROD></XROD>")
                                 << QStringList{"more than one XROD root"};
    QTest::newRow("no name") << QByteArray("<XROD><XROD:NODE type=\"t\"><TAG/></XROD:NODE></XROD>")
                             << QStringList{"Xml/ROD, unvalable name attribute.\n"};
    QTest::newRow("no type") << QByteArray("<XROD><XROD:NODE name=\"n\"><TAG/></XROD:NODE></XROD>")
                             << QStringList{"Xml/ROD, unvalable type attribute.\n"};
    QTest::newRow("node in plain AML")
        << QByteArray("<DOCUMENT><XROD:NODE name=\"a\" type=\"t\" state=\"ko\" sum=\"1\">"
                      "<TAG/></XROD:NODE></DOCUMENT>")
        << notAReport("DOCUMENT");
    QTest::newRow("empty") << QByteArray() << badXml;
    QTest::newRow("truncated") << QByteArray("<XROD><XROD:NODE name=\"a\" type=\"t\"><PARA")
                               << badXml;
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary") << garbage << badXml;
    // XROD itself is one level; far deeper input stops at the limit.
    const QStringList tooDeep{"elements nested deeper than 2000 levels", "line 1"};
    QTest::newRow("too deep") << nested(2000) << tooDeep;
    QTest::newRow("absurdly deep") << nested(1000000) << tooDeep;
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE XROD [\n<!ENTITY a0 \"lollollollol\">\n";
    for (int i = 1; i <= 9; ++i)
        bomb += "<!ENTITY a" + QByteArray::number(i) + " \"" +
                QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    QTest::newRow("entity expansion bomb")
        << bomb + "]>\n<XROD><XROD:NODE name=\"a\" type=\"t\"><PARAGRAPH>&a9;</PARAGRAPH>"
                  "</XROD:NODE></XROD>"
        << QStringList();
}

void TestReader::refusedWithAReason()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, reason);
    QString error;
    QVERIFY(!readRecord(xml, {}, &error));
    QVERIFY(!error.isEmpty());
    for (const QString& part : reason)
        QVERIFY2(error.contains(part), qPrintable(error));
}

void TestReader::reportsProgressAndErrors()
{
    // 6 elements, padded so that the step total (size / 50) is 3.
    const QString path = QStringLiteral(":/reports/run.xrd");
    QCOMPARE(QFileInfo(path).size(), 199);

    RecordingStudio studio;
    QAstXmlRodReader reader;
    QVERIFY2(reader.parseFile(path, &studio), qPrintable(reader.errorString()));
    QCOMPARE(studio.calls,
             (QStringList{"progressStart 3 Analysing run.xrd Cancel", "progressEnd"}));
    QCOMPARE(studio.steps, (QList<int>{0, 1, 2, 2, 2, 2}));

    // The counter starts again for each file; a file under 50 bytes has
    // no steps.
    studio.calls.clear();
    studio.steps.clear();
    QVERIFY(reader.parseFile(QStringLiteral(":/reports/s.xrd"), &studio));
    QCOMPARE(studio.calls.first(), QString("progressStart 0 Analysing s.xrd Cancel"));
    QCOMPARE(studio.steps, (QList<int>{-1, -1}));

    // A file that is missing or is not a report fails naming the file.
    for (const char* name : {"/no-such-report.xrd", "/kestrel-logo.svg"}) {
        const QString path = QStringLiteral(XRD_SOURCE_DIR "/examples") + name;
        QVERIFY(!reader.parseFile(path, nullptr));
        QVERIFY2(reader.errorString().contains(path), qPrintable(reader.errorString()));
    }
}

// Ids are written by hand; digits carried from one place to the next and
// the ends of the range must read as QString::number writes them.
void TestReader::numbersNodeIdsInDecimal()
{
    for (int number : {0, 7, 9, 10, 99, 100, 1909, 123456789, std::numeric_limits<int>::max(), -1,
                       -40, std::numeric_limits<int>::min()})
        QCOMPARE(QAReporterNode::idOf(number), QString::number(number));
}

QTEST_GUILESS_MAIN(TestReader)
#include "tst_reader.moc"
