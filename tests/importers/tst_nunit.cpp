#include "formatchecks.h"
#include "qanunitparser.h"

#include <QtTest>

namespace {

QByteArray run(const QByteArray& body)
{
    return "<test-run total=\"1\">" + body + "</test-run>";
}

} // namespace

class TestNUnit : public QObject
{
    Q_OBJECT

private slots:
    void everyPrefix();
    void recognises_data();
    void recognises();
    void tree();
    void caseFields();
    void parameterized();
    void unicodeBomAndCrlf();
    void badInput_data();
    void badInput();
    void manySuites();
};

void TestNUnit::recognises_data()
{
    FormatChecks::recognitionRows("NUnit");
    QTest::newRow("NUnit 2") << QByteArray("<?xml version=\"1.0\"?><test-results name=\"x\">")
                             << false;
    QTest::newRow("cut head") << Samples::nunit().left(300) << true;
}

void TestNUnit::recognises()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, expected);
    QCOMPARE(QANUnitParser::recognises(head), expected);
}

void TestNUnit::tree()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QANUnitParser>(Samples::nunit(), &sink));
    QCOMPARE(
        sink.events,
        QStringList({"run", "suite Calc.Tests.dll [_PID=4242] [_APPDOMAIN=testhost]", "suite Calc",
                     "class Calc.AdderTests", "case Adds passed", "case Overflows failed",
                     "case Rounds inconclusive", "case Guesses inconclusive", "end class",
                     "totals 4 1 0 2", "end suite", "totals 4 1 0 2", "end suite", "end run"}));
    QCOMPARE(sink.info.tool, QString("NUnit 3"));
    QCOMPARE(sink.info.timestamp, QString("2024-03-01 09:15:02Z"));
    QCOMPARE(sink.info.host, QString("build-07"));
}

void TestNUnit::caseFields()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QANUnitParser>(Samples::nunit(), &sink));
    const QAResultCase adds = sink.cases.at(0);
    QCOMPARE(adds.className, QString("Calc.AdderTests"));
    QCOMPARE(adds.seconds, 0.012);
    QCOMPARE(adds.systemOut, QString("adding 2 and 2\n"));
    QCOMPARE(adds.properties, (QList<QPair<QString, QString>>{
                                  {"start-time", "2024-03-01 09:15:03Z"}, {"Category", "Fast"}}));
    const QAResultCase overflows = sink.cases.at(1);
    QCOMPARE(overflows.failureType, QString("Error"));
    QVERIFY(overflows.message.startsWith("System.OverflowException : Arithmetic"));
    QVERIFY(overflows.details.startsWith("   at Calc.Adder.Add(Int32 a, Int32 b)\n"));
    QCOMPARE(overflows.sourceFile, QString("/src/Calc.Tests/AdderTests.cs"));
    QCOMPARE(overflows.sourceLine, 31);
    QCOMPARE(sink.cases.at(2).message, QString("rounding not decided"));
    QCOMPARE(sink.cases.at(3).seconds, 0.001);
}

void TestNUnit::parameterized()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QANUnitParser>(
        run("<test-suite type=\"ParameterizedFixture\" name=\"Stack\">"
            "<test-suite type=\"TestFixture\" name=\"Stack(int)\" fullname=\"S.Stack(int)\">"
            "<test-suite type=\"ParameterizedMethod\" name=\"Pushes\">"
            "<test-case name=\"Pushes(1)\" result=\"Passed\"/><test-case name=\"Pushes(2)\" "
            "result=\"Failed\">"
            "<failure><message>no</message><stack-trace>at S.Stack.Pushes() in "
            "C:\\s\\Stack.cs:line 7"
            "</stack-trace></failure><assertions><assertion><message>inner</message></assertion>"
            "</assertions></test-case></test-suite></test-suite></test-suite>"),
        &sink));
    QCOMPARE(sink.events,
             QStringList({"run", "suite Stack", "class S.Stack(int)", "case Pushes(1) passed",
                          "case Pushes(2) failed", "end class", "end suite", "end run"}));
    QCOMPARE(sink.cases.at(1).className, QString("S.Stack(int)"));
    QCOMPARE(sink.cases.at(1).message, QString("no"));
    QCOMPARE(sink.cases.at(1).sourceFile, QString("C:\\s\\Stack.cs"));
}

void TestNUnit::unicodeBomAndCrlf()
{
    QByteArray xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n" +
                     run("<test-suite type=\"Assembly\" name=\"\xC3\xA9t\xC3\xA9\">\r\n"
                         "<test-case name=\"\xF0\x9F\x98\x80 smile\" result=\"Passed\"/>\r\n"
                         "</test-suite>\r\n");
    RecordingSink sink;
    QVERIFY(parseBytes<QANUnitParser>(xml, &sink));
    QCOMPARE(sink.shape(), QStringList({"run", "suite été", "end suite", "end run"}));
    QCOMPARE(sink.cases.first().name, QString("\U0001F600 smile"));
}

void TestNUnit::badInput_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("other root") << QByteArray("<foo/>")
                                << "not an NUnit 3 result file: root element <foo>"
                                << QStringList();
    QTest::newRow("empty") << QByteArray("") << "line 1: Premature end of document."
                           << QStringList();
    QTest::newRow("truncated")
        << Samples::nunit().left(Samples::nunit().indexOf("<test-case id=\"0-1002\""))
        << "line 16: Premature end of document."
        << QStringList({"run", "suite Calc.Tests.dll [_PID=4242] [_APPDOMAIN=testhost]",
                        "suite Calc", "class Calc.AdderTests", "case Adds passed", "end class",
                        "totals 4 1 0 2", "end suite", "totals 4 1 0 2", "end suite", "end run"});
    QTest::newRow("malformed")
        << run("<test-suite name=\"a\"><test-case name=\"x\" result=\"Passed\"/></oops>")
        << "line 1: Opening and ending tag mismatch."
        << QStringList({"run", "suite a", "case x passed", "end suite", "end run"});
    QTest::newRow("no attributes")
        << run("<test-suite><test-case/></test-suite>") << ""
        << QStringList({"run", "suite ", "case  inconclusive", "end suite", "end run"});
    // Totals past any count are the largest, and their sums saturate.
    QTest::newRow("totals past 64 bits")
        << run("<test-suite name=\"a\" total=\"9223372036854775807\" "
               "failed=\"99999999999999999999\" skipped=\"9223372036854775807\" "
               "inconclusive=\"9223372036854775807\" warnings=\"-3\">"
               "<test-case name=\"x\" result=\"Passed\"/></test-suite>")
        << ""
        << QStringList({"run", "suite a", "case x passed",
                        "totals 9223372036854775807 9223372036854775807 0 9223372036854775807",
                        "end suite", "end run"});
    QByteArray deep = "<test-run>" + QByteArray("<test-suite>").repeated(2000);
    QTest::newRow("too deep") << deep << "line 1: elements nested deeper than 2000 levels"
                              << QStringList();
}

void TestNUnit::badInput()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    QFETCH(QStringList, events);
    RecordingSink sink;
    QString message;
    QCOMPARE(parseBytes<QANUnitParser>(xml, &sink, &message), error.isEmpty());
    QCOMPARE(message, error);
    QVERIFY(sink.balanced());
    if (!events.isEmpty() || !QByteArray(QTest::currentDataTag()).startsWith("too deep"))
        QCOMPARE(sink.events, events);
    else
        QCOMPARE(sink.events.count("end suite"), 1999);
}

void TestNUnit::manySuites()
{
    QByteArray body;
    const int suites = 10000;
    for (int index = 0; index < suites; ++index)
        body += "<test-suite type=\"TestFixture\" name=\"F" + QByteArray::number(index) +
                "\"><test-case name=\"t\" result=\"Passed\"/></test-suite>";
    RecordingSink sink;
    QVERIFY(parseBytes<QANUnitParser>(
        run("<test-suite type=\"Assembly\" name=\"a\">" + body + "</test-suite>"), &sink));
    QVERIFY(sink.balanced());
    QCOMPARE(sink.events.count("end class"), suites);
    QCOMPARE(sink.cases.size(), suites);
    QCOMPARE(sink.cases.last().className, QString("F9999"));
}

void TestNUnit::everyPrefix()
{
    FormatChecks::everyPrefix<QANUnitParser>(Samples::nunit(), 4);
}

QTEST_APPLESS_MAIN(TestNUnit)
#include "tst_nunit.moc"
