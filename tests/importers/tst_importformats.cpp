// What each result parser recognises and tells a sink, for tools' files and hostile ones.
#include "qajunitparser.h"
#include "qanunitparser.h"
#include "qaresultimporter.h"
#include "qatapparser.h"
#include "qatrxparser.h"
#include "qaxunitparser.h"
#include "recordingsink.h"
#include "samples.h"

#include <QtTest>

namespace {

struct Parser
{
    bool (*recognises)(const QByteArray&);
    ParseFunction parse;
};

Parser parser(const QString& format)
{
    static const QHash<QString, Parser> parsers{
        {"NUnit", {&QANUnitParser::recognises, &parseBytes<QANUnitParser>}},
        {"xUnit", {&QAXUnitParser::recognises, &parseBytes<QAXUnitParser>}},
        {"TRX", {&QATrxParser::recognises, &parseBytes<QATrxParser>}},
        {"TAP", {&QATapParser::recognises, &parseBytes<QATapParser>}},
        {"JUnit", {&QAJUnitParser::recognises, &parseBytes<QAJUnitParser>}}};
    return parsers.value(format);
}

const QStringList Formats{"NUnit", "xUnit", "TRX", "TAP", "JUnit"};

const QByteArray Namespace = "http://microsoft.com/schemas/VisualStudio/TeamTest/2010";

QByteArray nunitRun(const QByteArray& body)
{
    return "<test-run total=\"1\">" + body + "</test-run>";
}

QByteArray trxRun(const QByteArray& body)
{
    return "<TestRun xmlns=\"" + Namespace + "\">" + body + "</TestRun>";
}

QByteArray trxResult(const QByteArray& attributes, const QByteArray& content = QByteArray())
{
    return "<t:UnitTestResult " + attributes + ">" + content + "</t:UnitTestResult>";
}

// The rows of the reads table: events joined by "|", checked unless "*";
// fields checked when not empty.
void addRead(const char* tag, const char* format, const QByteArray& input, const QString& error,
             const QString& events, const QStringList& fields = {})
{
    QTest::addRow("%s %s", format, tag) << QString(format) << input << error << events << fields;
}

void addNUnitReads()
{
    addRead(
        "sample", "NUnit", Samples::nunit(), "",
        "run|suite Calc.Tests.dll [_PID=4242] [_APPDOMAIN=testhost]|suite Calc|class "
        "Calc.AdderTests|case Adds passed|case Overflows failed|case Rounds inconclusive|case "
        "Guesses inconclusive|end class|totals 4 1 0 2|end suite|totals 4 1 0 2|end suite|end run",
        {"Adds: class=Calc.AdderTests, s=0.012, out=adding 2 and 2\n, "
         "property=start-time=2024-03-01 09:15:03Z, property=Category=Fast",
         "Overflows: class=Calc.AdderTests, s=0.3, type=Error, message=System.OverflowException "
         ": Arithmetic operation resulted in an overflow., details=   at Calc.Adder.Add(Int32 "
         "a, Int32 b)\n   at Calc.AdderTests.Overflows() in /src/Calc.Tests/AdderTests.cs:line "
         "31, at=/src/Calc.Tests/AdderTests.cs:31, property=start-time=2024-03-01 09:15:03Z",
         "Rounds: class=Calc.AdderTests, s=0, type=Ignored, message=rounding not decided",
         "Guesses: class=Calc.AdderTests, s=0.001"});
    // Parameterized levels fold into their fixture; assertions are no message.
    addRead(
        "parameterized", "NUnit",
        nunitRun("<test-suite type=\"ParameterizedFixture\" name=\"S\"><test-suite "
                 "type=\"TestFixture\" name=\"S(int)\" fullname=\"N.S(int)\"><test-suite "
                 "type=\"ParameterizedMethod\" name=\"P\"><test-case name=\"P(1)\" "
                 "result=\"Passed\"/><test-case name=\"P(2)\" result=\"Failed\"><failure>"
                 "<message>no</message></failure><assertions><assertion><message>inner"
                 "</message></assertion></assertions></test-case></test-suite></test-suite>"
                 "</test-suite>"),
        "",
        "run|suite S|class N.S(int)|case P(1) passed|case P(2) failed|end class|end suite|end run",
        {"P(1): class=N.S(int)", "P(2): class=N.S(int), message=no"});
    addRead("other root", "NUnit", "<foo/>", "not an NUnit 3 result file: root element <foo>", "");
    addRead("malformed", "NUnit",
            nunitRun("<test-suite name=\"a\"><test-case name=\"x\" result=\"Passed\"/></oops>"),
            "line 1: mismatched tag",
            "run|suite a|case x passed|end suite|end run");
    addRead("no attributes", "NUnit", nunitRun("<test-suite><test-case/></test-suite>"), "",
            "run|suite |case  inconclusive|end suite|end run");
    addRead("too deep", "NUnit", "<test-run>" + QByteArray("<test-suite>").repeated(2000),
            "line 1: elements nested deeper than 2000 levels",
            "run|" + QStringList(1999, "suite ").join('|') + '|' +
                QStringList(1999, "end suite").join('|') + "|end run");
}

void addXUnitReads()
{
    addRead("run date and errors", "xUnit",
            "<assemblies><assembly name=\"C:\\b\\T.dll\" run-date=\"2024-03-02\"><collection "
            "name=\"c\"/><errors><error type=\"assembly-cleanup\" name=\"T.Db\"><failure><message>"
            "gone</message></failure></error></errors></assembly></assemblies>",
            "",
            "run|suite T.dll [path=C:\\b\\T.dll] [run-date=2024-03-02]|suite c|end suite|warning "
            "assembly-cleanup T.Db: gone|end suite|end run");
}

void addTrxReads()
{
    const QByteArray sample = Samples::trx();
    addRead("sample", "TRX", sample, "",
            "run|suite ci@build-07 2024-03-01 09:15:02 [run user=ci]|class Calc.AdderTests|case "
            "Adds passed|case Overflows failed|end class|class Calc.ScaleTests|case Doubles "
            "inconclusive|end class|totals 3 1 0 1|end suite|end run",
            {"Adds: class=Calc.AdderTests, s=0.012, out=adding 2 and 2",
             "Overflows: class=Calc.AdderTests, s=1.234, message=Assert.AreEqual failed. "
             "Expected:<4>. Actual:<5>., details=   at Calc.AdderTests.Overflows() in "
             "/src/Calc.Tests/AdderTests.cs:line 31\n, err=warning: big numbers, "
             "at=/src/Calc.Tests/AdderTests.cs:31",
             "Doubles: class=Calc.ScaleTests, s=0.005, type=NotExecuted"});
    // Classes from definitions read after the results; data rows nest.
    addRead(
        "definitions first, data-driven", "TRX",
        "<t:TestRun xmlns:t=\"" + Namespace +
            "\"><t:TestDefinitions><t:UnitTest id=\"d\">"
            "<t:TestMethod className=\"R, A, Version=1.0\"/></t:UnitTest><t:UnitTest "
            "id=\"s\"><t:TestMethod className=\"R\"/></t:UnitTest></t:TestDefinitions>"
            "<t:Results>" +
            trxResult("testId=\"d\" testName=\"S\" outcome=\"Failed\"",
                      "<t:InnerResults>" + trxResult("testName=\"S1\" outcome=\"Passed\"") +
                          trxResult("testName=\"S2\" outcome=\"Failed\"",
                                    "<t:Output><t:TextMessages><t:Message>two</t:Message>"
                                    "</t:TextMessages></t:Output><t:InnerResults>" +
                                        trxResult("testName=\"S3\" outcome=\"Error\"") +
                                        "</t:InnerResults>") +
                          "</t:InnerResults>") +
            trxResult("testId=\"s\" testName=\"T\" outcome=\"Timeout\" duration=\"1.00:00:01\"") +
            "</t:Results></t:TestRun>",
        "",
        "run|suite TestRun|class R|case T failed|end class|suite S|case S1 passed|case S3 "
        "failed|case S2 failed|end suite|end suite|end run",
        {"T: class=R, s=86401, type=Timeout", "S1: class=R", "S3: class=R, type=Error",
         "S2: class=R, out=two"});
    addRead("other namespace", "TRX", "<TestRun xmlns=\"urn:x\"/>",
            "not a TRX file: root element <TestRun> in namespace \"urn:x\"", "");
    // "soon" is no duration.
    addRead("no attributes", "TRX",
            trxRun("<Results><UnitTestResult/><UnitTestResult testName=\"h\" duration=\"soon\"/>"
                   "</Results>"),
            "", "run|suite TestRun|case  inconclusive|case h inconclusive|end suite|end run",
            {"", "h"});
    // Counters past any count are the largest, and their sums saturate.
    addRead("counters past 64 bits", "TRX",
            trxRun("<ResultSummary><Counters total=\"99999999999999999999\" failed=\"1\" "
                   "timeout=\"9223372036854775807\" inconclusive=\"-3\"/></ResultSummary>"),
            "",
            "run|suite TestRun|totals 9223372036854775807 9223372036854775807 0 0|end suite|end "
            "run");
}

void addTapReads()
{
    // Names after an optional dash, numbers up to 18 digits, directives
    // after an unescaped hash; a byte-order mark and CRLF line ends.
    addRead("test points", "TAP",
            "\xEF\xBB\xBFTAP version 14\r\n1..11\r\nok 1 - adds\nnot ok 2 subtracts\nok\nnot ok "
            "4\nnot ok 5 - slow # TODO not "
            "yet\nok 6 - lucky # todo later\nok 7 # SKIP no network\nnot ok 8 - x # Skipped: "
            "flaky\nok 9 - has \\# hash # skip\nok 10 - a # note\nnot ok 123456789012345678\n",
            "",
            "run|case adds passed|case subtracts failed|case test 3 passed|case test 4 failed|case "
            "slow inconclusive|case lucky passed|case test 7 inconclusive|case x inconclusive|case "
            "has # hash inconclusive|case a # note passed|case test 123456789012345678 failed|end "
            "run",
            {"adds", "subtracts", "test 3", "test 4", "slow: type=TODO, message=not yet",
             "lucky: type=TODO, message=later", "test 7: type=SKIP, message=no network",
             "x: type=SKIP, message=flaky", "has # hash: type=SKIP", "a # note",
             "test 123456789012345678"});
    addRead("diagnostics and output", "TAP",
            "# before any test\n" + Samples::tap() + "# trailing note\ngarbage\n", "",
            "run|case adds passed|case subtracts failed|case divides inconclusive|end run",
            {"adds",
             "subtracts: s=0.0125, type=fail, message=expected 4, got 5, details=message: "
             "'expected 4, got 5'\nseverity: fail\nat:\n  file: t/calc.js\n  line: 21\n"
             "duration_ms: 12.5, at=t/calc.js:21",
             "divides: type=SKIP, message=no floats, out=# trailing note\ngarbage"});
    addRead("subtests named at parent level, nested", "TAP",
            "TAP version 14\n1..2\n# Subtest: outer\n    # Subtest: inner\n        ok 1 - deep\n"
            "        1..1\n    ok 1 - inner done\n    not ok 2 - mid\n    1..2\n"
            "not ok 1 - outer done\nok 2 - after\n",
            "",
            "run|suite outer done|suite inner done|case deep passed|end suite|case mid failed|end "
            "suite|case after passed|end run");
    addRead("no plan", "TAP", "ok 1 - a\n", "", "run|case a passed|case test plan failed|end run",
            {"a", "test plan: message=no plan: ran 1 tests"});
    addRead("skip all", "TAP", "1..0 # SKIP no database\n", "",
            "run|warning all tests skipped: no database|end run");
    addRead("bail out", "TAP",
            "1..4\nok 1 - a\n    ok 1 - b\n    Bail out! disk full\nok 2 - never read\n", "",
            "run|case a passed|suite subtest|case b passed|case Bail out! failed|end suite|end run",
            {"a", "b", "Bail out!: message=Bail out! disk full"});
    // a, b, and the plans of cut and of the run not met.
    addRead("truncated subtest", "TAP",
            "1..2\n# Subtest: cut\n    1..4\n    ok 1 - a\n        ok 1 - b\n", "",
            "run|suite cut|case a passed|suite subtest|case b passed|end suite|case test plan "
            "failed|end suite|case test plan failed|end run",
            {"a", "b", "test plan: message=planned 4 tests but ran 1",
             "test plan: message=planned 2 tests but ran 0"});
    addRead("not TAP", "TAP", "hello\nworld\n",
            "not a TAP stream: no version, plan or test point line", "");
    QByteArray deep = "ok 1 - top\n";
    for (int level = 1; level <= QATapParser::MaxDepth; ++level)
        deep += QByteArray(4 * level, ' ') + "ok 1 - x\n";
    addRead("deepest", "TAP", deep, "", "*");
    deep += QByteArray(4 * (QATapParser::MaxDepth + 1), ' ') + "ok 1 - x\n";
    addRead("too deep", "TAP", deep, "line 2002: subtests nested deeper than 2000 levels", "*");
}

// Many siblings, so that a parser that walks its siblings again for each
// one never finishes (the XML formats share their reader); TAP's last name
// is a line of 8 MiB.
void addLongReads()
{
    const int many = 10000;
    addRead("long", "NUnit",
            nunitRun(QByteArray("<test-suite type=\"TestFixture\" name=\"F\"><test-case "
                                "name=\"t\"/></test-suite>")
                         .repeated(many)),
            "", "*");
    addRead("long", "JUnit",
            "<testsuites>" +
                QByteArray("<testsuite name='s'><testcase name='t'/></testsuite>").repeated(many) +
                "</testsuites>",
            "", "*");
    addRead("long", "TAP",
            QByteArray("    ok 1 - inner\n    1..1\nok 1 - s\n").repeated(many) +
                "1..10001\nok 2 - " + QByteArray(8 << 20, 'x') + "\n",
            "", "*");
}

} // namespace

class TestImportFormats : public QObject
{
    Q_OBJECT

private slots:
    void recognises_data();
    void recognises();
    void reads_data();
    void reads();
    void everyPrefix_data();
    void everyPrefix();
};

// Each sample is claimed by its own format's parser only.
void TestImportFormats::recognises_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("expected");
    for (const QString& format : Formats) {
        for (const auto& sample : Samples::all())
            QTest::addRow("%s, %s", qPrintable(format), sample.first)
                << format << sample.second << (format == QLatin1String(sample.first));
    }
    QTest::newRow("TRX no namespace") << "TRX" << QByteArray("<TestRun name=\"x\"/>") << false;
    QTest::newRow("JUnit bom, comment, doctype")
        << "JUnit"
        << QByteArray("\xEF\xBB\xBF<?xml version='1.0'?><!--c--><!DOCTYPE x><testsuites>") << true;
    QTest::newRow("JUnit suite as root") << "JUnit" << QByteArray("<testsuite name=\"a\">") << true;
    QTest::newRow("JUnit cut in the root's attributes")
        << "JUnit" << QByteArray("<testsuite name=\"a") << false;
}

void TestImportFormats::recognises()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, head);
    QFETCH(bool, expected);
    QCOMPARE(parser(format).recognises(head), expected);
    // The importer claims what any of its readers claims.
    const bool any = std::any_of(Formats.cbegin(), Formats.cend(), [&head](const QString& name) {
        return parser(name).recognises(head);
    });
    QCOMPARE(QAResultImporter::recognises(head), any);
    QCOMPARE(QAResultImporter::formatName(head).isEmpty(), !any);
}

void TestImportFormats::reads_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QStringList>("fields");
    addNUnitReads();
    addXUnitReads();
    addTrxReads();
    addTapReads();
    addLongReads();
}

// What the parser tells the sink, always balanced, and whether it fails.
void TestImportFormats::reads()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    QFETCH(QString, events);
    QFETCH(QStringList, fields);
    RecordingSink sink;
    QString message;
    QCOMPARE(parser(format).parse(input, &sink, &message), error.isEmpty());
    QCOMPARE(message, error);
    QVERIFY(sink.balanced());
    if (events != "*")
        QCOMPARE(sink.events.join('|'), events);
    if (!fields.isEmpty())
        QCOMPARE(sink.caseFields(), fields);
}

void TestImportFormats::everyPrefix_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<int>("cases");
    QTest::addColumn<int>("firstComplete");
    QTest::newRow("NUnit") << "NUnit" << Samples::nunit() << 4 << -1;
    QTest::newRow("xUnit") << "xUnit" << Samples::xunit() << 4 << -1;
    QTest::newRow("TRX") << "TRX" << Samples::trx() << 3 << -1;
    // From "TAP version 1" on, any cut is a stream that reads.
    QTest::newRow("TAP") << "TAP" << Samples::tap() << 3 << 13;
}

// Cut anywhere, a sample still gives a balanced tree and never fewer cases
// than a shorter cut; it reads without error from size firstComplete on,
// or, when that is -1, only when nothing but white space was cut.
void TestImportFormats::everyPrefix()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, sample);
    QFETCH(int, firstComplete);
    qsizetype read = 0;
    for (qsizetype size = 0; size <= sample.size(); ++size) {
        RecordingSink sink;
        const bool ok = parser(format).parse(sample.left(size), &sink, nullptr);
        QVERIFY2(sink.balanced(), qPrintable(sink.events.join('\n')));
        QVERIFY(sink.cases.size() >= read);
        read = sink.cases.size();
        QCOMPARE(ok,
                 firstComplete >= 0 ? size >= firstComplete : sample.mid(size).trimmed().isEmpty());
    }
    QTEST(int(read), "cases");
}

QTEST_MAIN(TestImportFormats)
#include "tst_importformats.moc"
