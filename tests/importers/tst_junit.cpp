// JUnit-style XML results read into report records: the tree, the counts
// and the document each tool's dialect gives, the counting rules, hostile
// input, and the loader that picks the importer by content.
#include "dblocktext.h"
#include "ditems.h"
#include "documentitems.h"
#include "dstyle.h"
#include "files.h"
#include "qajunitparser.h"
#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qareporterloader.h"
#include "qareporternode.h"
#include "qaresultimporter.h"
#include "qaresultreportbuilder.h"
#include "recordingsink.h"
#include "recordingstudio.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The viewer's style names as plain styles (their names are what the
// tests check) and ways to look into a record.

inline QList<DStyle*> namedStyles()
{
    QList<DStyle*> styles;
    const QStringList names{"Normal", "Normal Failed", "Normal Passed", "Title0",  "Array Title",
                            "Array",  "Array Failed",  "Array Passed",  "Warning", "Link"};
    for (const QString& name : names)
        styles.append(new DStyle(name));
    for (int level = 1; level <= 6; ++level) {
        const QString title = QStringLiteral("Title%1").arg(level);
        for (const char* suffix : {"", " Failed", " Passed"})
            styles.append(new DStyle(title + QLatin1String(suffix)));
    }
    return styles;
}

// The record's tree, one node a line: two spaces per depth, then
// "type name state".
inline QStringList treeLines(QAReporterData* record)
{
    QStringList lines;
    QAReporterDataTree* tree = record->tree;
    tree->iterator()->toRoot();
    while (QAReporterNode* node = tree->next(PreOrder)) {
        lines.append(QString(2 * (tree->iterator()->depth() - 1), QLatin1Char(' ')) + node->type +
                     QLatin1Char(' ') + node->name + QLatin1Char(' ') + node->state);
    }
    return lines;
}

inline QString textOf(const DItem* item)
{
    QString text;
    for (DItem* part : itemsOf(const_cast<DItem*>(item))) {
        if (part->kind() == DItem::Text)
            text += static_cast<DText*>(part)->text();
        else if (part->kind() == DItem::CellText)
            text += static_cast<DCellText*>(part)->text() + QLatin1Char('|');
    }
    return text;
}

// The items of one kind in the document, in order.
inline QList<DItem*> itemsOfKind(DItem* root, DItem::Kind kind)
{
    QList<DItem*> found;
    for (DItem* item : itemsOf(root)) {
        if (item->kind() == kind)
            found.append(item);
    }
    return found;
}

// Every title as "text style", in order.
inline QStringList titles(DItem* root)
{
    QStringList lines;
    for (DItem* item : itemsOfKind(root, DItem::Title))
        lines.append(textOf(item) + QLatin1Char(' ') + item->style()->name());
    return lines;
}

// The targets of the source links ("<file> line <N>"), in order.
inline QStringList linkTargets(DItem* root)
{
    QStringList targets;
    for (DItem* item : itemsOfKind(root, DItem::Link)) {
        const QString& target = static_cast<DLink*>(item)->target();
        if (!target.startsWith(QLatin1String("xrdlink://#")))
            targets.append(target);
    }
    return targets;
}

// The texts of the paragraphs of one style.
inline QStringList paragraphs(DItem* root, const QString& style)
{
    QStringList texts;
    for (DItem* item : itemsOfKind(root, DItem::Paragraph)) {
        if (item->style() && item->style()->name() == style)
            texts.append(textOf(item));
    }
    return texts;
}

struct Import
{
    std::unique_ptr<QAReporterData> record;
    QString error;
    DItem* document() const { return record ? record->document.get() : nullptr; }
};

// A row of the runs table: the suite summary as its table reads, the
// failure paragraphs, the source links and the warnings joined by "|".
void addRun(const char* tag, const QByteArray& xml, const QString& tree, const QString& summary,
            const QString& failed = {}, const QString& links = {}, const QString& warnings = {})
{
    QTest::newRow(tag) << xml << tree << summary << failed << links << warnings;
}

} // namespace

class TestJUnit : public QObject
{
    Q_OBJECT

public:
    TestJUnit() : m_styles(namedStyles()) {}
    ~TestJUnit() override { qDeleteAll(m_styles); }

private slots:
    void runsBecomeTreesWithLinksAndCounts_data();
    void runsBecomeTreesWithLinksAndCounts();
    void pytestRunBecomesADocument();
    void detailsKeepTheirLayout();
    void timesReadAsTheFormatterWritesThem();
    void hostileInputIsRefused_data();
    void hostileInputIsRefused();
    void importerAndLoaderNameTheFiles();
    void fileReadOnTwoThreadsMatchesDeviceRead();

private:
    Import import(const QByteArray& xml, const QString& fileName = "results.xml") const;
    QList<DStyle*> m_styles;
};

// The samples are written after the test class: moc stops finding classes
// after raw strings that hold markup.
namespace {

// A pytest run: two modules, a failure with its traceback, a skip.
const char* const pytestSample = R"(<?xml version="1.0" encoding="utf-8"?>
<testsuites><testsuite name="pytest" errors="0" failures="1" skipped="1" tests="3" time="0.52"
 timestamp="2026-03-02T10:15:00.123456" hostname="ci-runner-7">
<testcase classname="tests.test_math" name="test_add" file="tests/test_math.py" line="3" time="0.001"/>
<testcase classname="tests.test_math" name="test_div" time="0.002"><failure message="ZeroDivisionError: division by zero">def test_div():
&gt;       assert 1 / 0
E       ZeroDivisionError: division by zero
	(tab)
tests/test_math.py:9: ZeroDivisionError</failure></testcase>
<testcase classname="tests.test_io" name="test_net" time="0.000"><skipped type="pytest.skip" message="no network">tests/test_io.py:4: no network</skipped></testcase>
</testsuite></testsuites>
)";

// A Maven run of one class: a failure whose first frames are the test
// library's, an error, a flaky pass.
const char* const surefireSample = R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="com.acme.CartTest" time="1.25" tests="4" errors="1" skipped="0" failures="1">
  <testcase name="totalIsSum" classname="com.acme.CartTest" time="0.011">
    <failure message="expected: &lt;5&gt; but was: &lt;4&gt;" type="org.opentest4j.AssertionFailedError"><![CDATA[org.opentest4j.AssertionFailedError: expected: <5> but was: <4>
	at org.junit.jupiter.api.Assertions.assertEquals(Assertions.java:150)
	at com.acme.CartTest.totalIsSum(CartTest.java:42)
]]></failure></testcase>
  <testcase name="emptyCart" classname="com.acme.CartTest" time="0.002"><error message="null" type="java.lang.NullPointerException">java.lang.NullPointerException
	at com.acme.Cart.total(Cart.java:17)</error></testcase>
  <testcase name="discount" classname="com.acme.CartTest" time="0.3"><flakyFailure message="timeout" type="java.util.concurrent.TimeoutException"/></testcase>
  <testcase name="currency" classname="com.acme.CartTest" time="0.001"/>
</testsuite>
)";

const char* const nestedSample =
    "<testsuites><testsuite name='outer'><testcase classname='K' name='a'/>"
    "<testsuite name='inner'><testcase name='b'><failure/></testcase></testsuite>"
    "<testsuite name='idle'><testcase name='c'><skipped/></testcase></testsuite>"
    "<testcase name='d'/></testsuite></testsuites>";

// Cases not run are inconclusive; each case names its file and line.
const char* const googleTestSample =
    "<testsuites><testsuite name='MathTest' tests='3' failures='1' disabled='1'><testcase "
    "name='Add' file='math_test.cc' line='10' status='run' time='0.' classname='MathTest'/>"
    "<testcase name='Sub' file='math_test.cc' line='15' status='run' time='0.001' "
    "classname='MathTest'><failure message='math_test.cc:17&#x0A;Expected equality' "
    "type=''><![CDATA[math_test.cc:17\nExpected equality]]></failure></testcase><testcase "
    "name='DISABLED_Mul' file='math_test.cc' line='20' status='notrun' time='0' "
    "classname='MathTest'/></testsuite></testsuites>";

} // namespace

Import TestJUnit::import(const QByteArray& xml, const QString& fileName) const
{
    Import result;
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QAResultReportBuilder builder(m_styles);
    builder.setFileName(fileName);
    QAJUnitParser parser;
    if (parser.read(&buffer, &builder))
        result.record = builder.takeRecord();
    else
        result.error = parser.errorString();
    return result;
}

void TestJUnit::runsBecomeTreesWithLinksAndCounts_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("summary"); // the first suite's: passed, failed, inconclusive, time
    QTest::addColumn<QString>("failed");
    QTest::addColumn<QString>("links");    // the failures' places, from their traces
    QTest::addColumn<QString>("warnings"); // the claims the cases contradict
    // The failure's place from its traceback; the passed case's from the
    // case's attributes.
    addRun("pytest", pytestSample,
           "run results.xml ko|  suite pytest ko|    class tests.test_math ko|      testcase "
           "test_add ok|      testcase test_div ko|    class tests.test_io NE|      testcase "
           "test_net NE",
           "1|1|1|0.003 s", "Failed after 0.002 s|ZeroDivisionError: division by zero",
           "tests/test_math.py line 3|tests/test_math.py line 9");
    // The first frame of the project's code, not the test library's.
    addRun("surefire", surefireSample,
           "run results.xml ko|  suite com.acme.CartTest ko|    testcase totalIsSum ko|    "
           "testcase emptyCart ko|    testcase discount ok|    testcase currency ok",
           "2|2|0|0.314 s",
           "Failed after 0.011 s \u00B7 class com.acme.CartTest|org.opentest4j."
           "AssertionFailedError: expected: <5> but was: <4>|Failed after 0.002 s \u00B7 class "
           "com.acme.CartTest|java.lang.NullPointerException: null",
           "CartTest.java line 42|Cart.java line 17");
    addRun("googletest", googleTestSample,
           "run results.xml ko|  suite MathTest ko|    testcase Add ok|    testcase Sub ko|    "
           "testcase DISABLED_Mul NE",
           "1|1|1|0.001 s",
           "Failed after 0.001 s \u00B7 class MathTest|math_test.cc:17\nExpected equality",
           "math_test.cc line 10|math_test.cc line 17|math_test.cc line 20");
    // A failure beats a skip and rerun failures; flaky failures before a
    // pass mark it; "1..5" is no time, a time may separate thousands; a
    // classname that is the suite's name makes no class.
    addRun("case outcomes",
           "<testsuite name='s'><testcase name='a' "
           "classname='s'><skipped/><failure/></testcase><testcase "
           "name='b'><flakyFailure/><flakyError/><system-out>x</system-out></testcase><testcase "
           "name='c'><rerunFailure/><error/></testcase><testcase name='d' time='1..5'/><testcase "
           "name='e' time='1,234.5'/></testsuite>",
           "run results.xml ko|  suite s ko|    testcase a ko|    testcase b ok|    testcase c "
           "ko|    testcase d ok|    testcase e ok",
           "3|2|0|1234.5 s", "Failed \u00B7 class s|Failed");
    // A suite that could not start is one failed case.
    addRun(
        "suite that could not start",
        "<testsuites><testsuite name='db' tests='3'><error message='cannot connect' "
        "type='SetupError'>at setUp (test/db.spec.ts:5:3)</error></testsuite></testsuites>",
        "run results.xml ko|  suite db ko|    testcase db ko", "0|1|0|-",
        "Failed|SetupError: cannot connect", "test/db.spec.ts line 5",
        "The file claims 3 tests (1 read) for db; the counts shown are those of the cases read.");
    addRun("nested suites", nestedSample,
           "run results.xml ko|  suite outer ko|    class K ok|      testcase a ok|    suite "
           "inner ko|      testcase b ko|    suite idle NE|      testcase c NE|    testcase d ok",
           "2|1|1|-", "Failed");
    // Times past the bound show the bound, and so do their sums.
    addRun("times past the bound",
           "<testsuite name='s'><testcase name='a' time='1e300'/><testcase name='b' "
           "time='600000000'/><testcase name='c' time='6e8'/></testsuite>",
           "run results.xml ok|  suite s ok|    testcase a ok|    testcase b ok|    testcase c ok",
           "3|0|0|1000000000.0 s");
}

void TestJUnit::runsBecomeTreesWithLinksAndCounts()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, summary);
    const Import run = import(xml);
    QVERIFY2(run.record, qPrintable(run.error));
    QAReporterData* record = run.record.get();
    QTEST(treeLines(record).join('|'), "tree");
    QTEST(paragraphs(run.document(), "Normal Failed").join('|'), "failed");
    QTEST(linkTargets(run.document()).join('|'), "links");
    QTEST(paragraphs(run.document(), "Warning").join('|'), "warnings");
    QCOMPARE(textOf(itemsOfKind(run.document(), DItem::Table).value(1)),
             "Passed|Failed|Inconclusive|Time|" + summary + '|');
    // The record counts what the first suite's summary does (no inconclusive
    // case is -1).
    QCOMPARE(QString("%1|%2|%3").arg(record->okCount).arg(record->koCount).arg(record->neCount),
             summary.section('|', 0, 2).replace(QRegularExpression("\\|0$"), "|-1"));
    // Each node spans its items, in document order.
    const QList<DItem*> items = itemsOf(run.document());
    QAReporterDataTree* tree = record->tree;
    tree->iterator()->toRoot();
    QCOMPARE(tree->iterator()->current()->data->startItem, run.document());
    while (QAReporterNode* node = tree->next(PreOrder)) {
        QVERIFY2(node->startItem && node->endItem, qPrintable(node->name));
        QVERIFY(items.indexOf(node->startItem) <= items.indexOf(node->endItem));
    }
}

void TestJUnit::pytestRunBecomesADocument()
{
    const Import run = import(pytestSample);
    QVERIFY2(run.record, qPrintable(run.error));
    DItem* document = run.document();
    QCOMPARE(paragraphs(document, "Normal").value(0),
             QString("JUnit XML \u00B7 2026-03-02T10:15:00.123456 \u00B7 host ci-runner-7"));
    // Titles in the style of their state, at the depth of their node.
    QCOMPARE(titles(document).join('|'),
             QString("results.xml Title0|Results by suite Title1 Failed|pytest Title2 Failed|"
                     "tests.test_math Title3 Failed|test_add Title4 Passed|test_div Title4 "
                     "Failed|tests.test_io Title3|test_net Title4"));
    QVERIFY(paragraphs(document, "Normal").contains("no network"));
    // The traceback as the view shows it, which folds white space: every
    // space of it kept, a tab as four.
    QString trace = DBlockText::collapse(paragraphs(document, "Monospace").value(0), true);
    QCOMPARE(trace.replace(QChar::Nbsp, u' ').split(QChar::LineSeparator),
             QStringList({"def test_div():", ">       assert 1 / 0",
                          "E       ZeroDivisionError: division by zero", "    (tab)",
                          "tests/test_math.py:9: ZeroDivisionError"}));
}

// Details as written into the document: indentation and inner runs of
// blanks as no-break spaces before one space, no blanks at a line's end,
// no separator before the first character, every other character (a
// control character, CJK) copied, whatever the length of its word.
void TestJUnit::detailsKeepTheirLayout()
{
    const Import run = import("<testsuite name='s'><testcase name='c'><failure>\n\n"
                              "ab\tc&#13;d  e \t\n \t\n"
                              "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e x12345678  y"
                              "</failure></testcase></testsuite>");
    QVERIFY2(run.record, qPrintable(run.error));
    const auto noBreak = [](int count) { return QString(count, QChar::Nbsp); };
    const QChar separator = QChar::LineSeparator;
    QCOMPARE(paragraphs(run.document(), "Monospace"),
             QStringList(QStringLiteral("ab") + noBreak(3) + " c\rd" + noBreak(1) + " e" +
                         separator + noBreak(5) + separator +
                         QString::fromUtf8("\u65e5\u672c\u8a9e") + " x12345678" + noBreak(1) +
                         " y"));
}

// State lines of times in whole milliseconds are written without the
// number formatter: every figure below ten seconds must read as the
// formatter writes it, and times it must round still go through it.
void TestJUnit::timesReadAsTheFormatterWritesThem()
{
    QStringList times;
    for (int milliseconds = 0; milliseconds < 10000; milliseconds += 7)
        times.append(QString::number(milliseconds / 1000.0, 'f', 3));
    times << "9.999"
          << "1.5"
          << "0.0005"
          << "9.9995"
          << "-0"
          << "12.25";
    QByteArray xml = "<testsuite name='s'>";
    for (int index = 0; index < times.size(); ++index) {
        xml += "<testcase name='c" + QByteArray::number(index) + "' time='" +
               times[index].toLatin1() + (index % 5 ? "'/>" : "'><failure/></testcase>");
    }
    const Import run = import(xml + "</testsuite>");
    QVERIFY2(run.record, qPrintable(run.error));
    QStringList expected;
    for (int index = 0; index < times.size(); ++index) {
        const double value = times[index].toDouble();
        expected.append((index % 5 ? "Passed in " : "Failed after ") +
                        QString::number(value, 'f', value < 10 ? 3 : 1) + " s");
    }
    QStringList lines = paragraphs(run.document(), "Normal Passed");
    lines += paragraphs(run.document(), "Normal Failed");
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(lines, expected);
}

void TestJUnit::hostileInputIsRefused_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("message");
    QTest::newRow("too deep") << "<testsuites>" + QByteArray("<testsuite>").repeated(2000)
                              << "nested deeper than 2000 levels";
    QTest::newRow("too deep inside a failure")
        << "<testsuite name='s'><testcase name='c'><failure>" + QByteArray("<b>").repeated(2100)
        << "nested deeper than 2000";
    QTest::newRow("entity bomb")
        << QByteArray("<?xml version='1.0'?><!DOCTYPE testsuites [<!ENTITY a 'aaaaaaaaaa'>"
                      "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
                      "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>]>"
                      "<testsuites><testsuite name='&c;'/></testsuites>")
        << "entity declarations are not allowed";
    QTest::newRow("not junit") << QByteArray("<foo><testsuite/></foo>")
                               << "not a JUnit XML file: root element <foo>";
    QTest::newRow("truncated") << QByteArray(pytestSample).left(400) << "truncated";
}

void TestJUnit::hostileInputIsRefused()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, message);
    const Import run = import(xml);
    QVERIFY(!run.record);
    QVERIFY2(run.error.contains(message), qPrintable(run.error));
}

void TestJUnit::importerAndLoaderNameTheFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString junit = folder.filePath("junit.xml");
    const QString other = folder.filePath("other.xml");
    const QString cut = folder.filePath("cut.xml");
    QVERIFY(writeFile(junit, pytestSample));
    QVERIFY(writeFile(other, "<project/>"));
    QVERIFY(writeFile(cut, QByteArray(surefireSample).left(300)));
    // As the report reader does: a position per 50 bytes, started and ended.
    RecordingStudio studio;
    QString error;
    QVERIFY2(QAResultImporter::import(junit, m_styles, &studio, &error), qPrintable(error));
    const int total = int(QFileInfo(junit).size() / 50);
    QCOMPARE(studio.calls,
             QStringList({QString("progressStart %1 Analysing junit.xml Cancel").arg(total),
                          "progressEnd"}));
    QCOMPARE(studio.steps.value(studio.steps.size() - 1), total - 1);
    QVERIFY(!QAResultImporter::import(cut, m_styles, nullptr, &error));
    QVERIFY2(error.startsWith(cut) && error.contains("JUnit XML") && error.contains("truncated"),
             qPrintable(error));
    QVERIFY(!QAResultImporter::import(folder.filePath("none.xml"), m_styles, nullptr, &error));
    QVERIFY2(error.contains("none.xml"), qPrintable(error));
    // The loader reads results as it reads reports and refuses a file that
    // is neither, by name.
    QAReporterLoader loader(nullptr, m_styles);
    QList<QAReporterData*> records;
    QVERIFY(loader.load({junit, other}, records));
    auto cleanup = qScopeGuard([&records] { qDeleteAll(records); });
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.at(0)->fileName, junit);
    QCOMPARE(records.at(0)->koCount, 1);
    QCOMPARE(loader.missing(), QStringList({other}));
    QVERIFY2(loader.reasons().first().contains("<project>"), qPrintable(loader.reasons().first()));
}

namespace {

// Cases enough for many batches of the tokenizing thread, more than it
// reads ahead: every third one fails with a trace, every fifth has output.
QByteArray manyCases(int count)
{
    QByteArray xml = "<testsuites><testsuite name='big' tests='" + QByteArray::number(count) + "'>";
    for (int index = 0; index < count; ++index) {
        const QByteArray number = QByteArray::number(index);
        xml += "<testcase name='case" + number + "' classname='pkg.Class" +
               QByteArray::number(index / 7) + "' time='0." + number.right(3) + "'>";
        if (index % 3 == 0)
            xml += "<failure message='want " + number +
                   "' type='Assert'>at pkg.Class.test(Class.java:" + number +
                   ")\n\tat caller &amp; more\n</failure>";
        if (index % 5 == 0)
            xml += "<system-out>line one\n  line \xc3\xa9 two\n</system-out>";
        xml += "</testcase>\n";
    }
    return xml + "</testsuite></testsuites>";
}

} // namespace

// The importer reads a file on two threads (one tokenizes, the other
// builds): every call it makes on the sink, and every error with its
// place, must be what the one-thread read of the same bytes gives, also
// when the builder is slower than the tokenizer and the read ahead fills.
void TestJUnit::fileReadOnTwoThreadsMatchesDeviceRead()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray big = manyCases(20000);
    const QList<QPair<const char*, QByteArray>> inputs = {
        {"pytest", pytestSample},
        {"surefire", surefireSample},
        {"big", big},
        {"big, cut in a trace", big.left(big.size() / 2 + 17)},
        {"big, broken late", big.left(big.size() - 400) + "<bad attr=>" + big.right(400)},
        {"big under another root", "<foo>" + big + "</foo>"},
        {"empty", QByteArray()},
    };
    for (const auto& [name, xml] : inputs) {
        const QString path = folder.filePath(QString("%1.xml").arg(name));
        QVERIFY(writeFile(path, xml));
        RecordingSink oneThread;
        QString oneThreadError;
        const bool oneThreadRead = parseBytes<QAJUnitParser>(xml, &oneThread, &oneThreadError);
        RecordingSink twoThreads;
        QAJUnitParser parser;
        qint64 lastProgress = 0;
        bool progressRose = true;
        const bool twoThreadRead = parser.readFile(path, &twoThreads, [&](qint64 bytes) {
            progressRose = progressRose && bytes >= lastProgress;
            lastProgress = bytes;
        });
        QCOMPARE(twoThreadRead, oneThreadRead);
        QCOMPARE(parser.errorString(), oneThreadError);
        QVERIFY2(twoThreads.events == oneThread.events, name);
        QCOMPARE(twoThreads.caseFields(), oneThread.caseFields());
        QVERIFY2(progressRose && lastProgress <= xml.size(), name);
        if (twoThreadRead)
            QCOMPARE(lastProgress, xml.size());
    }
    QAJUnitParser parser;
    RecordingSink sink;
    QVERIFY(!parser.readFile(folder.filePath("none.xml"), &sink));
    QVERIFY2(parser.errorString().contains("none.xml"), qPrintable(parser.errorString()));
}

QTEST_MAIN(TestJUnit)
#include "tst_junit.moc"
