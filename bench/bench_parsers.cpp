// Speed and memory of the result importers on generated files: each
// format at two sizes (the time should double with the size), and TAP with
// one very long line. The files are built in memory and read through a
// QBuffer into a sink that only counts. Prints figures only; it never
// fails on a time. An argument picks the rows whose label contains it.
#include "benchtimer.h"
#include "peakmemory.h"

#include <qanunitparser.h>
#include <qaresultsink.h>
#include <qatapparser.h>
#include <qatrxparser.h>
#include <qaxunitparser.h>

#include <QBuffer>
#include <QCoreApplication>

#include <cstdio>
#include <functional>

namespace {

const int Runs = 3;

class CountingSink : public QAResultSink
{
public:
    qint64 cases = 0;
    void beginRun(const QAResultRunInfo&) override {}
    void beginSuite(const QString&, const QList<QPair<QString, QString>>&) override {}
    void beginClass(const QString&) override {}
    void addCase(const QAResultCase&) override { ++cases; }
    void endClass() override {}
    void declaredTotals(qint64, qint64, qint64, qint64) override {}
    void endSuite() override {}
    void warning(const QString&) override {}
    void endRun() override {}
};

// Ten cases a suite, one in ten failed with a stack trace.
QByteArray tap(int cases)
{
    QByteArray text = "TAP version 14\n1.." + QByteArray::number(cases / 10) + "\n";
    for (int suite = 0; suite < cases / 10; ++suite) {
        text += "# Subtest: suite " + QByteArray::number(suite) + "\n    1..10\n";
        for (int index = 1; index <= 10; ++index) {
            if (index == 5)
                text += "    not ok 5 - case 5\n      ---\n      message: 'expected 1, got 2'\n"
                        "      at: '/src/t/suite.js:42:7'\n      ...\n";
            else
                text += "    ok " + QByteArray::number(index) + " - case " +
                        QByteArray::number(index) + "\n";
        }
        text +=
            "ok " + QByteArray::number(suite + 1) + " - suite " + QByteArray::number(suite) + "\n";
    }
    return text;
}

QByteArray nunit(int cases)
{
    QByteArray text = "<?xml version=\"1.0\"?><test-run total=\"" + QByteArray::number(cases) +
                      "\"><test-suite type=\"Assembly\" name=\"T.dll\">";
    for (int fixture = 0; fixture < cases / 10; ++fixture) {
        text += "<test-suite type=\"TestFixture\" name=\"F" + QByteArray::number(fixture) + "\">\n";
        for (int index = 0; index < 10; ++index) {
            text += "<test-case name=\"Case" + QByteArray::number(index) +
                    "\" duration=\"0.01\" result=\"";
            text += index == 5 ? "Failed\"><failure><message>expected 1</message><stack-trace>   "
                                 "at T.F.Case5() "
                                 "in /src/T/F.cs:line 42</stack-trace></failure></test-case>\n"
                               : "Passed\"/>\n";
        }
        text += "</test-suite>";
    }
    return text + "</test-suite></test-run>\n";
}

QByteArray xunit(int cases)
{
    QByteArray text = "<?xml version=\"1.0\"?><assemblies><assembly name=\"T.dll\" total=\"" +
                      QByteArray::number(cases) + "\">";
    for (int collection = 0; collection < cases / 10; ++collection) {
        const QByteArray type = "T.F" + QByteArray::number(collection);
        text += "<collection name=\"c" + QByteArray::number(collection) + "\">\n";
        for (int index = 0; index < 10; ++index) {
            text += "<test name=\"" + type + ".Case" + QByteArray::number(index) + "\" type=\"" +
                    type + "\" method=\"Case\" time=\"0.01\" result=\"";
            text += index == 5
                        ? "Fail\"><failure exception-type=\"E\"><message>expected 1</message>"
                          "<stack-trace>   at T.F.Case5() in /src/T/F.cs:line "
                          "42</stack-trace></failure></test>\n"
                        : "Pass\"/>\n";
        }
        text += "</collection>";
    }
    return text + "</assembly></assemblies>\n";
}

QByteArray trx(int cases)
{
    QByteArray results, definitions;
    for (int index = 0; index < cases; ++index) {
        const QByteArray id = QByteArray::number(index);
        results += "<UnitTestResult testId=\"" + id + "\" testName=\"Case" + id +
                   "\" duration=\"00:00:00.0100000\" outcome=\"";
        results +=
            index % 10 == 5
                ? "Failed\"><Output><ErrorInfo><Message>expected 1</Message><StackTrace>   at "
                  "T.F.Case() in /src/T/F.cs:line 42</StackTrace></ErrorInfo></Output>"
                  "</UnitTestResult>\n"
                : "Passed\"/>\n";
        definitions += "<UnitTest id=\"" + id + "\"><TestMethod className=\"T.F" +
                       QByteArray::number(index / 10) + "\" name=\"Case\"/></UnitTest>\n";
    }
    return "<?xml version=\"1.0\"?><TestRun name=\"r\" "
           "xmlns=\"http://microsoft.com/schemas/VisualStudio/TeamTest/2010\"><Results>" +
           results + "</Results><TestDefinitions>" + definitions + "</TestDefinitions></TestRun>\n";
}

// Fixtures of one case each at the bottom of suites nested nearly as deep
// as a file may (the cases are at depth 2000): the cost of a fixture must not grow with the depth.
QByteArray deepNUnit(int fixtures)
{
    const int depth = 1997;
    QByteArray text =
        "<test-run>" + QByteArray("<test-suite type=\"TestSuite\" name=\"n\">").repeated(depth);
    for (int fixture = 0; fixture < fixtures; ++fixture)
        text +=
            "<test-suite type=\"TestFixture\" name=\"F\"><test-case name=\"c\" result=\"Passed\"/>"
            "</test-suite>\n";
    return text + QByteArray("</test-suite>").repeated(depth) + "</test-run>\n";
}

QByteArray longNUnitOutput(int megabytes)
{
    return "<test-run><test-suite type=\"Assembly\" name=\"a\"><test-case name=\"c\" "
           "result=\"Passed\">"
           "<output><![CDATA[" +
           QByteArray(megabytes << 20, 'x') +
           "]]></output></test-case></test-suite>"
           "</test-run>\n";
}

template <typename Parser> qint64 parse(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CountingSink sink;
    Parser parser;
    if (!parser.read(&buffer, &sink))
        std::printf("  error: %s\n", qPrintable(parser.errorString()));
    return sink.cases;
}

// Only the rows whose label contains the first argument, when one is given.
QString only;

template <typename Parser> void measure(const QByteArray& format, const QByteArray& bytes)
{
    if (!QString::fromLatin1(format).contains(only))
        return;
    qint64 cases = 0;
    const double seconds = BenchTimer::bestSeconds(Runs, [&] { cases = parse<Parser>(bytes); });
    const qint64 growth = PeakMemory::growthOf([&] { parse<Parser>(bytes); });
    const double megabytes = bytes.size() / 1e6;
    std::printf("%-22s %9.1f %9lld %9.3f %9.1f %11.1f\n", format.constData(), megabytes,
                qlonglong(cases), seconds, megabytes / seconds, growth / 1e6);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        only = QString::fromLocal8Bit(argv[1]);
    std::printf("%-22s %9s %9s %9s %9s %11s\n", "format", "MB", "cases", "seconds", "MB/s",
                "peak +MB");
    for (const int cases : {100000, 200000}) {
        measure<QATapParser>("TAP 14", tap(cases));
        measure<QANUnitParser>("NUnit 3", nunit(cases));
        measure<QAXUnitParser>("xUnit.net v2", xunit(cases));
        measure<QATrxParser>("TRX", trx(cases));
    }
    for (const int fixtures : {50000, 100000})
        measure<QANUnitParser>("NUnit 1997 deep", deepNUnit(fixtures));
    // Twice the line, twice the time: nothing may read a line twice over.
    for (const int megabytes : {25, 50, 100}) {
        const QByteArray size = QByteArray::number(megabytes) + " MB ";
        const QByteArray line(megabytes << 20, 'x');
        measure<QANUnitParser>("NUnit " + size + "output", longNUnitOutput(megabytes));
        measure<QATapParser>("TAP " + size + "point line", "1..1\nok 1 - " + line + "\n");
        measure<QATapParser>("TAP " + size + "output line", "1..1\nok 1 - a\n# " + line + "\n");
    }
    return 0;
}
