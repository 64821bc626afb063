#ifndef QARESULTSINK_H
#define QARESULTSINK_H

#include <QList>
#include <QPair>
#include <QString>

// What a result file says about the run as a whole.
struct QAResultRunInfo
{
    QString fileName;  // the file read, as given
    QString tool;      // "JUnit XML", "NUnit 3", "xUnit.net v2", "TRX", "TAP 13"...
    QString timestamp; // as the file writes it; empty when unknown
    QString host;      // empty when unknown
};

// One test case as a result file reports it.
struct QAResultCase
{
    enum State { Passed, Failed, Inconclusive };

    QString name;
    QString className;   // empty when the format has no classes
    double seconds = -1; // negative: the file gives no time
    State state = Passed;
    bool flaky = false;  // passed on a rerun after failing
    QString failureType; // the exception or failure kind; may be empty
    QString message;     // the failure, error or skip message
    QString details;     // stack trace, diagnostics or output (monospace)
    QString systemOut;
    QString systemErr;
    QList<QPair<QString, QString>> properties;
    QString sourceFile; // where the failure is, when the file names it
    int sourceLine = 0; // 0: unknown
};

// Receives a test run in the order a parser reads it. Calls nest: a run
// holds suites, suites hold suites, classes and cases, classes hold cases.
// declaredTotals gives what the file claims for the suite being read, to
// be checked against the cases counted; warning adds a line to the report.
class QAResultSink
{
public:
    virtual ~QAResultSink() = default;

    virtual void beginRun(const QAResultRunInfo& info) = 0;
    virtual void beginSuite(const QString& name,
                            const QList<QPair<QString, QString>>& properties) = 0;
    virtual void beginClass(const QString& name) = 0;
    virtual void addCase(const QAResultCase& testCase) = 0;
    virtual void endClass() = 0;
    // tests < 0: the file claims nothing.
    virtual void declaredTotals(qint64 tests, qint64 failures, qint64 errors, qint64 skipped) = 0;
    virtual void endSuite() = 0;
    virtual void warning(const QString& text) = 0;
    virtual void endRun() = 0;
};

#endif
