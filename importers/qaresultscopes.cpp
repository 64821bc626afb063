#include "qaresultscopes.h"

void QAResultScopes::beginRun(const QAResultRunInfo& info)
{
    if (m_runBegun)
        return;
    m_runBegun = true;
    m_sink->beginRun(info);
}

void QAResultScopes::beginSuite(const QString& name,
                                const QList<QPair<QString, QString>>& properties)
{
    m_open.push_back(Suite);
    m_sink->beginSuite(name, properties);
}

void QAResultScopes::beginClass(const QString& name)
{
    m_open.push_back(Class);
    m_sink->beginClass(name);
}

void QAResultScopes::addCase(const QAResultCase& testCase)
{
    m_sink->addCase(testCase);
}

void QAResultScopes::declaredTotals(qint64 tests, qint64 failures, qint64 errors, qint64 skipped)
{
    m_sink->declaredTotals(tests, failures, errors, skipped);
}

void QAResultScopes::warning(const QString& text)
{
    m_sink->warning(text);
}

void QAResultScopes::close()
{
    if (m_open.empty())
        return;
    const Scope scope = m_open.back();
    m_open.pop_back();
    if (scope == Class)
        m_sink->endClass();
    else
        m_sink->endSuite();
}

void QAResultScopes::closeTo(int depth)
{
    while (int(m_open.size()) > depth)
        close();
}

void QAResultScopes::finish()
{
    closeTo(0);
    if (m_runBegun && !m_runEnded) {
        m_runEnded = true;
        m_sink->endRun();
    }
}
