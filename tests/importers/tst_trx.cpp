#include "formatchecks.h"
#include "qatrxparser.h"

#include <QtTest>

namespace {

const QByteArray Namespace = "http://microsoft.com/schemas/VisualStudio/TeamTest/2010";

QByteArray result(const QByteArray& attributes, const QByteArray& content = QByteArray())
{
    return "<t:UnitTestResult " + attributes + ">" + content + "</t:UnitTestResult>";
}

} // namespace

class TestTrx : public QObject
{
    Q_OBJECT

private slots:
    void everyPrefix();
    void recognises_data();
    void recognises();
    void tree();
    void caseFields();
    void definitionsFirstAndDataDriven();
    void badInput_data();
    void badInput();
    void manyClasses();
};

void TestTrx::recognises_data()
{
    FormatChecks::recognitionRows("TRX");
    QTest::newRow("prefixed") << "<t:TestRun xmlns:t=\"" + Namespace + "\"/>" << true;
    QTest::newRow("no namespace") << QByteArray("<TestRun name=\"x\"/>") << false;
    QTest::newRow("cut head") << Samples::trx().left(Samples::trx().indexOf("TeamTest/2010") + 14)
                              << true;
}

void TestTrx::recognises()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, expected);
    QCOMPARE(QATrxParser::recognises(head), expected);
}

void TestTrx::tree()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATrxParser>(Samples::trx(), &sink));
    QCOMPARE(sink.events,
             QStringList({"run", "suite ci@build-07 2024-03-01 09:15:02 [run user=ci]",
                          "class Calc.AdderTests", "case Adds passed", "case Overflows failed",
                          "end class", "class Calc.ScaleTests", "case Doubles inconclusive",
                          "end class", "totals 3 1 0 1", "end suite", "end run"}));
    QCOMPARE(sink.info.tool, QString("TRX"));
    QCOMPARE(sink.info.timestamp, QString("2024-03-01T09:15:02.1000000+00:00"));
    QCOMPARE(sink.info.host, QString("build-07"));
}

void TestTrx::caseFields()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATrxParser>(Samples::trx(), &sink));
    QCOMPARE(sink.cases.at(0).systemOut, QString("adding 2 and 2"));
    QCOMPARE(sink.cases.at(0).seconds, 0.012);
    const QAResultCase overflows = sink.cases.at(1);
    QCOMPARE(overflows.className, QString("Calc.AdderTests"));
    QCOMPARE(overflows.seconds, 1.234);
    QCOMPARE(overflows.message, QString("Assert.AreEqual failed. Expected:<4>. Actual:<5>."));
    QCOMPARE(overflows.systemErr, QString("warning: big numbers"));
    QCOMPARE(overflows.sourceFile, QString("/src/Calc.Tests/AdderTests.cs"));
    QCOMPARE(overflows.sourceLine, 31);
    QCOMPARE(sink.cases.at(2).failureType, QString("NotExecuted"));
}

void TestTrx::definitionsFirstAndDataDriven()
{
    const QByteArray trx =
        "<t:TestRun xmlns:t=\"" + Namespace +
        "\"><t:TestDefinitions><t:UnitTest id=\"d\"><t:TestMethod className=\"Calc.Rows, "
        "Calc.Tests, "
        "Version=1.0.0.0\" name=\"Sums\"/></t:UnitTest><t:UnitTest id=\"s\"><t:TestMethod "
        "className=\"Calc.Rows\" name=\"Slow\"/></t:UnitTest></t:TestDefinitions><t:Results>" +
        result(
            "testId=\"d\" testName=\"Sums\" outcome=\"Failed\" duration=\"1.00:00:01\"",
            "<t:InnerResults>" + result("testName=\"Sums (1)\" outcome=\"Passed\"") +
                result("testName=\"Sums (2)\" outcome=\"Failed\"",
                       "<t:Output><t:TextMessages><t:Message>row two</t:Message></t:TextMessages>"
                       "</t:Output><t:InnerResults>" +
                           result("testName=\"Sums (2a)\" outcome=\"Error\"") +
                           "</t:InnerResults>") +
                "</t:InnerResults>") +
        result("testId=\"s\" testName=\"Slow\" outcome=\"Timeout\" duration=\"1.00:00:01\"") +
        "</t:Results></t:TestRun>";
    RecordingSink sink;
    QVERIFY(parseBytes<QATrxParser>(trx, &sink));
    QCOMPARE(
        sink.events,
        QStringList({"run", "suite TestRun", "class Calc.Rows", "case Slow failed", "end class",
                     "suite Sums", "case Sums (1) passed", "case Sums (2a) failed",
                     "case Sums (2) failed", "end suite", "end suite", "end run"}));
    QCOMPARE(sink.cases.at(0).seconds, 86401.0);
    QCOMPARE(sink.cases.at(0).failureType, QString("Timeout"));
    QCOMPARE(sink.cases.at(3).systemOut, QString("row two"));
    QCOMPARE(sink.cases.at(3).className, QString("Calc.Rows"));
}

void TestTrx::badInput_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("events");
    const QByteArray sample = Samples::trx();
    QTest::newRow("other namespace")
        << QByteArray("<TestRun xmlns=\"urn:x\"/>")
        << "not a TRX file: root element <TestRun> in namespace \"urn:x\"" << QStringList();
    QTest::newRow("truncated in the results")
        << sample.left(sample.indexOf("<UnitTestResult executionId=\"e3\"") + 40)
        << "line 10: Premature end of document."
        << QStringList({"run", "suite ci@build-07 2024-03-01 09:15:02 [run user=ci]",
                        "case Adds passed", "case Doubles inconclusive", "end suite", "end run"});
    QTest::newRow("no attributes, bom, crlf, astral")
        << "\xEF\xBB\xBF<TestRun xmlns=\"" + Namespace +
               "\">\r\n<Results>\r\n<UnitTestResult/>\r\n<UnitTestResult "
               "testName=\"\xF0\x9F\x98\x80\" "
               "duration=\"soon\"/>\r\n</Results></TestRun>"
        << ""
        << QStringList({"run", "suite TestRun", "case  inconclusive",
                        "case \U0001F600 inconclusive", "end suite", "end run"});
    // Counters past any count are the largest, and their sums saturate.
    QTest::newRow("counters past 64 bits")
        << "<TestRun xmlns=\"" + Namespace +
               "\"><Results><UnitTestResult testName=\"a\" outcome=\"Passed\"/></Results>"
               "<ResultSummary><Counters total=\"9223372036854775807\" "
               "failed=\"9223372036854775807\" timeout=\"1\" error=\"99999999999999999999\" "
               "inconclusive=\"9223372036854775807\" pending=\"9223372036854775807\" "
               "warning=\"-3\"/></ResultSummary></TestRun>"
        << ""
        << QStringList({"run", "suite TestRun", "case a passed",
                        "totals 9223372036854775807 9223372036854775807 9223372036854775807 "
                        "9223372036854775807",
                        "end suite", "end run"});
    QTest::newRow("too deep") << "<TestRun xmlns=\"" + Namespace + "\"><Results><UnitTestResult>" +
                                     QByteArray("<InnerResults><UnitTestResult>").repeated(999)
                              << "line 1: elements nested deeper than 2000 levels"
                              << QStringList({"run", "suite TestRun", "end suite", "end run"});
}

void TestTrx::badInput()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    QFETCH(QStringList, events);
    RecordingSink sink;
    QString message;
    QCOMPARE(parseBytes<QATrxParser>(xml, &sink, &message), error.isEmpty());
    QCOMPARE(message, error);
    QVERIFY(sink.balanced());
    QCOMPARE(sink.events, events);
    if (QByteArray(QTest::currentDataTag()).startsWith("no attributes"))
        QCOMPARE(sink.cases.last().seconds, -1.0); // "soon" is no duration
}

void TestTrx::manyClasses()
{
    QByteArray results, definitions;
    const int classes = 10000;
    for (int index = 0; index < classes; ++index) {
        const QByteArray id = QByteArray::number(index);
        results += "<UnitTestResult testId=\"" + id + "\" testName=\"t\" outcome=\"Passed\"/>";
        definitions +=
            "<UnitTest id=\"" + id + "\"><TestMethod className=\"C" + id + "\"/></UnitTest>";
    }
    RecordingSink sink;
    QVERIFY(parseBytes<QATrxParser>("<TestRun xmlns=\"" + Namespace + "\"><Results>" + results +
                                        "</Results><TestDefinitions>" + definitions +
                                        "</TestDefinitions></TestRun>",
                                    &sink));
    QVERIFY(sink.balanced());
    QCOMPARE(sink.events.count("end class"), classes);
    QCOMPARE(sink.cases.last().className, QString("C9999"));
}

void TestTrx::everyPrefix()
{
    FormatChecks::everyPrefix<QATrxParser>(Samples::trx(), 3);
}

QTEST_APPLESS_MAIN(TestTrx)
#include "tst_trx.moc"
