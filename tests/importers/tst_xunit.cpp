#include "formatchecks.h"
#include "qaxunitparser.h"

#include <QtTest>

class TestXUnit : public QObject
{
    Q_OBJECT

private slots:
    void everyPrefix();
    void recognises_data();
    void recognises();
    void tree();
    void caseFields();
    void runDateAndErrors();
    void badInput_data();
    void badInput();
    void manyCollections();
};

void TestXUnit::recognises_data()
{
    FormatChecks::recognitionRows("xUnit");
    QTest::newRow("cut head") << Samples::xunit().left(200) << true;
}

void TestXUnit::recognises()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, expected);
    QCOMPARE(QAXUnitParser::recognises(head), expected);
}

void TestXUnit::tree()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QAXUnitParser>(Samples::xunit(), &sink));
    QCOMPARE(
        sink.events,
        QStringList(
            {"run",
             "suite Calc.Tests.dll [path=/src/Calc.Tests/bin/Calc.Tests.dll] [environment=64-bit "
             ".NET 6.0.25 [collection-per-class, parallel (2 threads)]] [test-framework=xUnit.net "
             "2.4.2.0] [run-date=2024-03-01] [run-time=09:15:02]",
             "suite Test collection for Calc.AdderTests", "class Calc.AdderTests",
             "case Adds passed", "case Overflows failed", "case Later inconclusive", "end class",
             "class Calc.ScaleTests", "case Doubles inconclusive", "end class", "totals 4 1 0 2",
             "end suite", "totals 4 1 0 2", "end suite", "end run"}));
    QCOMPARE(sink.info.tool, QString("xUnit.net v2"));
    QCOMPARE(sink.info.timestamp, QString("03/01/2024 09:15:02"));
}

void TestXUnit::caseFields()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QAXUnitParser>(Samples::xunit(), &sink));
    const QAResultCase adds = sink.cases.at(0);
    QCOMPARE(adds.className, QString("Calc.AdderTests"));
    QCOMPARE(adds.seconds, 0.012);
    QCOMPARE(adds.systemOut, QString("adding 2 and 2"));
    QCOMPARE(adds.properties, (QList<QPair<QString, QString>>{{"Category", "Fast"}}));
    const QAResultCase overflows = sink.cases.at(1);
    QCOMPARE(overflows.failureType, QString("System.OverflowException"));
    QCOMPARE(overflows.message, QString("Arithmetic operation resulted in an overflow."));
    QVERIFY(overflows.details.contains("AdderTests.cs:line 31"));
    QCOMPARE(overflows.sourceFile, QString("/src/Calc.Tests/AdderTests.cs"));
    QCOMPARE(overflows.sourceLine, 31);
    QCOMPARE(sink.cases.at(2).seconds, 0.0);
    QCOMPARE(sink.cases.at(3).message, QString("scales pending"));
}

void TestXUnit::runDateAndErrors()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QAXUnitParser>(
        "<assemblies><assembly name=\"C:\\b\\T.dll\" run-date=\"2024-03-02\" run-time=\"08:00:00\">"
        "<collection name=\"c\"><test name=\"free\" result=\"Pass\"/></collection>"
        "<errors><error type=\"assembly-cleanup\" name=\"T.Db\"><failure exception-type=\"E\">"
        "<message>gone</message></failure></error></errors></assembly></assemblies>",
        &sink));
    QCOMPARE(sink.info.timestamp, QString("2024-03-02 08:00:00"));
    QCOMPARE(sink.events,
             QStringList({"run",
                          "suite T.dll [path=C:\\b\\T.dll] [run-date=2024-03-02] "
                          "[run-time=08:00:00]",
                          "suite c", "case free passed", "end suite",
                          "warning assembly-cleanup T.Db: gone", "end suite", "end run"}));
}

void TestXUnit::badInput_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("events");
    const QByteArray sample = Samples::xunit();
    QTest::newRow("other root") << QByteArray("<testsuites/>")
                                << "not an xUnit.net v2 result file: root element <testsuites>"
                                << QStringList();
    QTest::newRow("truncated in a collection")
        << sample.left(sample.indexOf("<test name=\"Calc.AdderTests.Overflows\""))
        << "line 13: Premature end of document."
        << QStringList({"run", "suite Test collection for Calc.AdderTests", "class Calc.AdderTests",
                        "case Adds passed", "end class", "class Calc.ScaleTests",
                        "case Doubles inconclusive", "end class", "totals 4 1 0 2", "end suite",
                        "totals 4 1 0 2", "end suite", "end run"});
    QTest::newRow("no attributes, bom, crlf, astral")
        << QByteArray("\xEF\xBB\xBF<assemblies>\r\n<assembly>\r\n<collection>\r\n<test/>\r\n"
                      "<test type=\"\xF0\x9F\x98\x80\" "
                      "result=\"Fail\"/>\r\n</collection></assembly></assemblies>")
        << ""
        << QStringList({"run", "suite ", "suite ", "case  inconclusive", "class \U0001F600",
                        "case  failed", "end class", "end suite", "end suite", "end run"});
    QTest::newRow("too deep") << "<assemblies>" + QByteArray("<x>").repeated(2000)
                              << "line 1: elements nested deeper than 2000 levels" << QStringList();
}

void TestXUnit::badInput()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    QFETCH(QStringList, events);
    RecordingSink sink;
    QString message;
    QCOMPARE(parseBytes<QAXUnitParser>(xml, &sink, &message), error.isEmpty());
    QCOMPARE(message, error);
    QVERIFY(sink.balanced());
    if (!events.isEmpty()) {
        // The assembly's properties are not the point here.
        if (sink.events.size() > 1 && sink.events.at(1).startsWith("suite Calc.Tests.dll"))
            sink.events.removeAt(1);
        QCOMPARE(sink.events, events);
    }
}

void TestXUnit::manyCollections()
{
    QByteArray xml = "<assemblies><assembly name=\"a.dll\">";
    const int collections = 10000;
    for (int index = 0; index < collections; ++index)
        xml += "<collection name=\"c" + QByteArray::number(index) +
               "\"><test type=\"A\" name=\"A.x\"/>"
               "<test type=\"B\" name=\"B.y\"/><test type=\"A\" name=\"A.z\"/></collection>";
    xml += "</assembly></assemblies>";
    RecordingSink sink;
    QVERIFY(parseBytes<QAXUnitParser>(xml, &sink));
    QVERIFY(sink.balanced());
    QCOMPARE(sink.events.count("class A"), collections);
    QCOMPARE(sink.events.count("class B"), collections);
    QCOMPARE(sink.events.mid(sink.events.size() - 10, 5),
             QStringList({"class A", "case x inconclusive", "case z inconclusive", "end class",
                          "class B"}));
}

void TestXUnit::everyPrefix()
{
    FormatChecks::everyPrefix<QAXUnitParser>(Samples::xunit(), 4);
}

QTEST_APPLESS_MAIN(TestXUnit)
#include "tst_xunit.moc"
