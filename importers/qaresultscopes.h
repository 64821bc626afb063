#ifndef QARESULTSCOPES_H
#define QARESULTSCOPES_H

#include "qaresultsink.h"

#include <vector>

// Forwards a parser's calls to a sink and remembers which run, suites and
// classes are open, so that a parser stopped by an error or by the end of a
// truncated file can still close every one it began.
class QAResultScopes
{
public:
    explicit QAResultScopes(QAResultSink* sink) : m_sink(sink) {}

    bool runBegun() const { return m_runBegun; }
    bool inClass() const { return !m_open.empty() && m_open.back() == Class; }
    // Suites and classes open.
    int depth() const { return int(m_open.size()); }

    void beginRun(const QAResultRunInfo& info);
    void beginSuite(const QString& name, const QList<QPair<QString, QString>>& properties = {});
    void beginClass(const QString& name);
    void addCase(const QAResultCase& testCase);
    void declaredTotals(qint64 tests, qint64 failures, qint64 errors, qint64 skipped);
    void warning(const QString& text);
    // Closes the innermost open suite or class.
    void close();
    // Closes suites and classes until depth of them remain.
    void closeTo(int depth);
    // Closes everything open, the run included.
    void finish();

private:
    enum Scope : char { Suite, Class };

    QAResultSink* m_sink;
    std::vector<Scope> m_open;
    bool m_runBegun = false;
    bool m_runEnded = false;
};

#endif
