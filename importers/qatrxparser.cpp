#include "qatrxparser.h"

#include "qaresultscopes.h"
#include "qasourcelocation.h"
#include "qatestcount.h"
#include "qaxmlcursor.h"

#include <QFileDevice>

#include <algorithm>

namespace {

const QLatin1String TrxNamespace("http://microsoft.com/schemas/VisualStudio/TeamTest/2010");

qint64 count(const QAXmlCursor& cursor, const char* name)
{
    return cursor.count(QLatin1String(name));
}

// "00:00:01.2340000", or with days "1.02:03:04.5"; negative when unreadable.
double secondsOf(const QString& duration)
{
    const QStringList parts = duration.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return -1;
    bool okHours = false, okMinutes = false, okSeconds = false;
    const QStringList dayAndHours = parts.at(0).split(QLatin1Char('.'));
    double hours = dayAndHours.last().toDouble(&okHours);
    if (dayAndHours.size() == 2)
        hours += 24 * dayAndHours.first().toDouble();
    const double minutes = parts.at(1).toDouble(&okMinutes);
    const double seconds = parts.at(2).toDouble(&okSeconds);
    if (!okHours || !okMinutes || !okSeconds)
        return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

QAResultCase caseOf(const QAXmlCursor& cursor)
{
    QAResultCase testCase;
    testCase.name = cursor.attribute(QLatin1String("testName"));
    const QString outcome = cursor.attribute(QLatin1String("outcome"));
    if (outcome == QLatin1String("Passed")) {
        testCase.state = QAResultCase::Passed;
    } else if (outcome == QLatin1String("Failed") || outcome == QLatin1String("Error") ||
               outcome == QLatin1String("Timeout") || outcome == QLatin1String("Aborted")) {
        testCase.state = QAResultCase::Failed;
    } else {
        testCase.state = QAResultCase::Inconclusive;
    }
    if (outcome != QLatin1String("Passed") && outcome != QLatin1String("Failed"))
        testCase.failureType = outcome;
    testCase.seconds = secondsOf(cursor.attribute(QLatin1String("duration")));
    return testCase;
}

void appendLine(QString& text, const QString& line)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text += line;
}

// "Calc.AdderTests, Calc.Tests, Version=1.0.0.0" names the class Calc.AdderTests.
QString classNameOf(const QString& attribute)
{
    const qsizetype comma = attribute.indexOf(QLatin1Char(','));
    return comma < 0 ? attribute : attribute.left(comma).trimmed();
}

} // namespace

bool QATrxParser::recognises(const QByteArray& head)
{
    QString name, namespaceUri;
    return QAXmlCursor::rootOf(head, &name, &namespaceUri) && name == QLatin1String("TestRun") &&
           namespaceUri == TrxNamespace;
}

bool QATrxParser::read(QIODevice* device, QAResultSink* sink)
{
    *this = QATrxParser();
    QAResultScopes scopes(sink);
    m_scopes = &scopes;
    QAXmlCursor cursor(device, true);
    if (!cursor.next()) {
        m_error = cursor.hasError() ? cursor.errorString()
                                    : QStringLiteral("not a TRX file: no root element");
    } else if (cursor.name() != QLatin1String("TestRun") ||
               (cursor.namespaceUri() != TrxNamespace && !cursor.namespaceUri().isEmpty())) {
        m_error = QStringLiteral("not a TRX file: root element <%1> in namespace \"%2\"")
                      .arg(cursor.name().toString(), cursor.namespaceUri().toString());
    } else {
        if (auto* file = qobject_cast<QFileDevice*>(device))
            m_info.fileName = file->fileName();
        m_info.tool = QStringLiteral("TRX");
        m_runName = cursor.attribute(QLatin1String("name"));
        m_runUser = cursor.attribute(QLatin1String("runUser"));
        readElements(cursor);
        if (cursor.hasError())
            m_error = cursor.errorString();
        emitAll();
    }
    scopes.finish();
    m_scopes = nullptr;
    return m_error.isEmpty();
}

void QATrxParser::readElements(QAXmlCursor& cursor)
{
    bool inRunInfo = false;
    while (cursor.next()) {
        const QStringView name = cursor.name();
        if (cursor.isEnd()) {
            if (name == QLatin1String("RunInfo"))
                inRunInfo = false;
            continue;
        }
        if (name == QLatin1String("UnitTestResult")) {
            readResult(cursor);
        } else if (name == QLatin1String("Times")) {
            m_info.timestamp = cursor.attribute(QLatin1String("start"));
            if (m_info.timestamp.isEmpty())
                m_info.timestamp = cursor.attribute(QLatin1String("creation"));
        } else if (name == QLatin1String("UnitTest")) {
            m_testId = cursor.attribute(QLatin1String("id"));
        } else if (name == QLatin1String("TestMethod")) {
            m_classOfTest.insert(m_testId,
                                 classNameOf(cursor.attribute(QLatin1String("className"))));
        } else if (name == QLatin1String("Counters")) {
            readCounters(cursor);
        } else if (name == QLatin1String("RunInfo")) {
            inRunInfo = true;
        } else if (name == QLatin1String("Text") && inRunInfo) {
            m_warnings << cursor.readText().trimmed();
        }
    }
}

// Reads a result and its inner results, however deep, without recursion:
// the results open are kept on a stack, and every inner one becomes a row
// of the outermost.
void QATrxParser::readResult(QAXmlCursor& cursor)
{
    Result result;
    result.testId = cursor.attribute(QLatin1String("testId"));
    if (m_info.host.isEmpty())
        m_info.host = cursor.attribute(QLatin1String("computerName"));
    std::vector<QAResultCase> open{caseOf(cursor)};
    std::vector<int> depths{cursor.depth()};
    QString section; // ErrorInfo or TextMessages, whose Message elements differ
    while (!open.empty() && cursor.next()) {
        const QStringView name = cursor.name();
        QAResultCase& current = open.back();
        if (cursor.isEnd()) {
            if (name == QLatin1String("UnitTestResult") && cursor.depth() == depths.back()) {
                QASourceLocation::fill(current, current.details);
                if (open.size() > 1)
                    result.rows.push_back(std::move(current));
                else
                    result.testCase = std::move(current);
                open.pop_back();
                depths.pop_back();
            } else if (name == QLatin1String("ErrorInfo") ||
                       name == QLatin1String("TextMessages")) {
                section.clear();
            }
        } else if (name == QLatin1String("UnitTestResult")) {
            open.push_back(caseOf(cursor));
            depths.push_back(cursor.depth());
        } else if (name == QLatin1String("ErrorInfo") || name == QLatin1String("TextMessages")) {
            section = name.toString();
        } else if (name == QLatin1String("StdOut")) {
            appendLine(current.systemOut, cursor.readText());
        } else if (name == QLatin1String("StdErr")) {
            current.systemErr = cursor.readText();
        } else if (name == QLatin1String("StackTrace")) {
            current.details = cursor.readText();
        } else if (name == QLatin1String("Message")) {
            if (section == QLatin1String("ErrorInfo"))
                current.message = cursor.readText().trimmed();
            else
                appendLine(current.systemOut, cursor.readText());
        }
    }
    if (open.empty())
        m_results.push_back(std::move(result));
}

// Everything neither passed nor failed counts as skipped.
void QATrxParser::readCounters(const QAXmlCursor& cursor)
{
    if (!cursor.hasAttribute(QLatin1String("total")))
        return;
    m_totals[0] = count(cursor, "total");
    m_totals[1] = 0;
    for (const char* failed : {"failed", "timeout", "aborted"})
        m_totals[1] = QATestCount::add(m_totals[1], count(cursor, failed));
    m_totals[2] = count(cursor, "error");
    m_totals[3] = 0;
    for (const char* other : {"inconclusive", "passedButRunAborted", "notRunnable", "notExecuted",
                              "disconnected", "warning", "completed", "inProgress", "pending"})
        m_totals[3] = QATestCount::add(m_totals[3], count(cursor, other));
}

void QATrxParser::emitAll()
{
    QHash<QString, qsizetype> indexOfClass;
    std::vector<std::vector<const Result*>> classes;
    QStringList classNames;
    for (const Result& result : m_results) {
        const QString className = m_classOfTest.value(result.testId);
        auto found = indexOfClass.constFind(className);
        if (found == indexOfClass.constEnd()) {
            found = indexOfClass.insert(className, classNames.size());
            classNames << className;
            classes.emplace_back();
        }
        classes[size_t(*found)].push_back(&result);
    }
    m_scopes->beginRun(m_info);
    QList<QPair<QString, QString>> properties;
    if (!m_runUser.isEmpty())
        properties.append({QStringLiteral("run user"), m_runUser});
    m_scopes->beginSuite(m_runName.isEmpty() ? QStringLiteral("TestRun") : m_runName, properties);
    for (size_t index = 0; index < classes.size(); ++index)
        emitClass(classNames.at(qsizetype(index)), classes[index]);
    for (const QString& warning : std::as_const(m_warnings))
        m_scopes->warning(warning);
    if (m_totals[0] >= 0)
        m_scopes->declaredTotals(m_totals[0], m_totals[1], m_totals[2], m_totals[3]);
    m_scopes->close();
}

// The class's plain results in a class node, then each data-driven test
// as a suite of its rows (a class holds cases only).
void QATrxParser::emitClass(const QString& className, const std::vector<const Result*>& results)
{
    const bool classNode = !className.isEmpty() &&
                           std::any_of(results.begin(), results.end(),
                                       [](const Result* result) { return result->rows.empty(); });
    if (classNode)
        m_scopes->beginClass(className);
    for (const Result* result : results) {
        if (result->rows.empty()) {
            QAResultCase testCase = result->testCase;
            testCase.className = className;
            m_scopes->addCase(testCase);
        }
    }
    if (classNode)
        m_scopes->close();
    for (const Result* result : results) {
        if (result->rows.empty())
            continue;
        m_scopes->beginSuite(result->testCase.name, {});
        for (QAResultCase row : result->rows) {
            row.className = className;
            m_scopes->addCase(row);
        }
        m_scopes->close();
    }
}
