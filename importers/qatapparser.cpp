#include "qatapparser.h"

#include "qaresultscopes.h"
#include "qatapdiagnostics.h"
#include "qatapline.h"

#include <QFileDevice>
#include <QIODevice>

namespace {

const int HeadLines = 30;

QByteArray withoutBom(const QByteArray& bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
}

void chopLineBreak(QByteArray& bytes)
{
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
}

QAResultCase failedCase(const QString& name, const QString& message)
{
    QAResultCase testCase;
    testCase.name = name;
    testCase.state = QAResultCase::Failed;
    testCase.message = message;
    return testCase;
}

QAResultCase caseOf(const QATapLine& line, qint64 position)
{
    QAResultCase testCase;
    testCase.name = line.text;
    if (testCase.name.isEmpty())
        testCase.name = QStringLiteral("test %1").arg(line.number >= 0 ? line.number : position);
    if (line.directive == QATapLine::Skip)
        testCase.state = QAResultCase::Inconclusive;
    else if (line.directive == QATapLine::Todo)
        testCase.state = line.ok ? QAResultCase::Passed : QAResultCase::Inconclusive;
    else
        testCase.state = line.ok ? QAResultCase::Passed : QAResultCase::Failed;
    if (line.directive != QATapLine::NoDirective) {
        testCase.failureType =
            line.directive == QATapLine::Skip ? QStringLiteral("SKIP") : QStringLiteral("TODO");
        testCase.message = line.reason;
    }
    return testCase;
}

// A test point in the first lines, as a harness writes it: "ok", "ok 1",
// "not ok - name"; "ok = 1" in some other text does not count.
bool looksLikeTestPoint(const QATapLine& line)
{
    return line.kind == QATapLine::TestPoint && (line.number >= 0 || line.text.isEmpty());
}

} // namespace

bool QATapParser::recognises(const QByteArray& head)
{
    const QByteArray bytes = withoutBom(head);
    if (bytes.trimmed().startsWith('<'))
        return false;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype index = 0; index < lines.size() && index < HeadLines; ++index) {
        QByteArray raw = lines.at(index);
        chopLineBreak(raw);
        const QATapLine line = QATapLine::parse(QString::fromUtf8(raw));
        if ((index == 0 && line.kind == QATapLine::Version) || line.kind == QATapLine::Plan ||
            looksLikeTestPoint(line))
            return true;
    }
    return false;
}

bool QATapParser::read(QIODevice* device, QAResultSink* sink)
{
    *this = QATapParser();
    QAResultScopes scopes(sink);
    m_scopes = &scopes;
    if (auto* file = qobject_cast<QFileDevice*>(device))
        m_fileName = file->fileName();
    m_levels.emplace_back();

    const bool complete = readLines(device);
    if (m_inYaml)
        endYaml();
    if (m_scopes->runBegun()) {
        closeTo(0);
        finishTop();
    } else if (complete) {
        m_error = QStringLiteral("not a TAP stream: no version, plan or test point line");
    }
    scopes.finish();
    m_scopes = nullptr;
    return m_error.isEmpty();
}

bool QATapParser::readLines(QIODevice* device)
{
    while (!m_bailed) {
        QByteArray bytes = device->readLine();
        if (bytes.isEmpty())
            return true;
        chopLineBreak(bytes);
        if (++m_lineNumber == 1)
            bytes = withoutBom(bytes);
        const QString raw = QString::fromUtf8(bytes);
        bytes = QByteArray(); // a very long line is not kept twice
        if (!handle(raw, QATapLine::parse(raw)))
            return false;
    }
    return true;
}

bool QATapParser::handle(const QString& raw, const QATapLine& line)
{
    if (m_inYaml) {
        if (line.kind == QATapLine::YamlEnd && line.indent == m_yamlIndent) {
            endYaml();
            return true;
        }
        if (line.indent >= m_yamlIndent || raw.trimmed().isEmpty()) {
            yamlLine(raw);
            return true;
        }
        endYaml();
    }
    const int pointLevel = m_lastPointLevel;
    m_lastPointLevel = -1;
    switch (line.kind) {
    case QATapLine::Version:
        if (m_lineNumber == 1) {
            m_version = line.number;
            beginRunOnce();
            return true;
        }
        break;
    case QATapLine::BailOut:
        bailOut(line.text);
        return true;
    case QATapLine::TestPoint:
        return handleTestPoint(line);
    case QATapLine::Plan:
        return handlePlan(line);
    case QATapLine::Subtest:
        return handleSubtest(line);
    case QATapLine::YamlStart:
        if (pointLevel >= 0 && line.indent == 4 * pointLevel + 2) {
            beginYaml(line.indent, pointLevel);
            return true;
        }
        break;
    default:
        break;
    }
    handleOther(raw, line);
    return true;
}

bool QATapParser::handleTestPoint(const QATapLine& line)
{
    beginRunOnce();
    const int level = line.level();
    if (level > depth() && !open(level))
        return false;
    if (level < depth()) {
        // The parent's test point after a subtest closes it and names it.
        closeTo(level + 1);
        closeLevel(line.text);
        ++m_levels[level].points;
        m_lastPointLevel = level;
        return true;
    }
    if (m_hintLevel == level + 1)
        m_hintLevel = -1; // the "# Subtest:" line named a subtest with no lines of its own
    Level& current = m_levels[level];
    flushPending(current);
    ++current.points;
    current.pending = caseOf(line, current.points);
    current.hasPending = true;
    m_lastCaseLevel = level;
    m_lastPointLevel = level;
    return true;
}

bool QATapParser::handlePlan(const QATapLine& line)
{
    beginRunOnce();
    const int level = line.level();
    if (level > depth() && !open(level))
        return false;
    closeTo(level);
    m_levels[level].planned = line.number;
    if (level == 0 && line.number == 0 && line.directive == QATapLine::Skip)
        m_scopes->warning(QStringLiteral("all tests skipped: %1").arg(line.text));
    return true;
}

// "# Subtest: name" at the subtest's own indentation opens it; at its
// parent's, it names the next subtest opened.
bool QATapParser::handleSubtest(const QATapLine& line)
{
    beginRunOnce();
    const int level = line.level();
    if (level > depth()) {
        if (!open(level))
            return false;
        m_levels[level].name = line.text;
        return true;
    }
    m_hint = line.text;
    m_hintLevel = level + 1;
    return true;
}

void QATapParser::handleOther(const QString& raw, const QATapLine& line)
{
    if (m_lastCaseLevel < 0 || m_lastCaseLevel > depth())
        return;
    Level& level = m_levels[m_lastCaseLevel];
    if (!level.hasPending)
        return;
    QString& output = level.pending.systemOut;
    if (!output.isEmpty())
        output += QLatin1Char('\n');
    output += QStringView(raw).mid(qMin(line.indent, 4 * m_lastCaseLevel));
}

void QATapParser::bailOut(const QString& reason)
{
    beginRunOnce();
    flushPending(m_levels.back());
    const QString message =
        reason.isEmpty() ? QStringLiteral("Bail out!") : QStringLiteral("Bail out! %1").arg(reason);
    emitCase(failedCase(QStringLiteral("Bail out!"), message));
    m_bailed = true;
}

bool QATapParser::open(int level)
{
    if (level > MaxDepth) {
        m_error = QStringLiteral("line %1: subtests nested deeper than %2 levels")
                      .arg(m_lineNumber)
                      .arg(MaxDepth);
        return false;
    }
    flushPending(m_levels.back());
    while (depth() < level) {
        Level next;
        next.suiteEvent = m_events.size();
        if (m_hintLevel == depth() + 1) {
            next.name = m_hint;
            m_hintLevel = -1;
        }
        m_events.push_back({Event::BeginSuite, QString(), QAResultCase()});
        m_levels.push_back(std::move(next));
    }
    m_lastCaseLevel = -1;
    return true;
}

void QATapParser::closeLevel(const QString& name)
{
    Level& top = m_levels.back();
    flushPending(top);
    if (!m_bailed && m_error.isEmpty())
        checkPlan(top);
    QString& suiteName = m_events[top.suiteEvent].name;
    suiteName = !name.isEmpty() ? name : !top.name.isEmpty() ? top.name : QStringLiteral("subtest");
    m_events.push_back({Event::EndSuite, QString(), QAResultCase()});
    m_levels.pop_back();
    m_lastCaseLevel = -1;
    if (depth() > 0)
        return;
    for (const Event& event : m_events) {
        if (event.type == Event::BeginSuite)
            m_scopes->beginSuite(event.name);
        else if (event.type == Event::Case)
            m_scopes->addCase(event.testCase);
        else
            m_scopes->close();
    }
    std::vector<Event>().swap(m_events);
}

void QATapParser::closeTo(int level)
{
    while (depth() > level)
        closeLevel(QString());
}

void QATapParser::finishTop()
{
    Level& top = m_levels.front();
    flushPending(top);
    if (m_bailed || !m_error.isEmpty())
        return;
    checkPlan(top);
    if (top.planned < 0 && top.points > 0)
        emitCase(failedCase(QStringLiteral("test plan"),
                            QStringLiteral("no plan: ran %1 tests").arg(top.points)));
}

void QATapParser::checkPlan(const Level& level)
{
    if (level.planned < 0 || level.planned == level.points)
        return;
    emitCase(failedCase(
        QStringLiteral("test plan"),
        QStringLiteral("planned %1 tests but ran %2").arg(level.planned).arg(level.points)));
}

void QATapParser::flushPending(Level& level)
{
    if (!level.hasPending)
        return;
    level.hasPending = false;
    emitCase(level.pending);
    level.pending = QAResultCase();
}

void QATapParser::emitCase(const QAResultCase& testCase)
{
    if (depth() > 0)
        m_events.push_back({Event::Case, QString(), testCase});
    else
        m_scopes->addCase(testCase);
}

void QATapParser::beginRunOnce()
{
    if (m_scopes->runBegun())
        return;
    QAResultRunInfo info;
    info.fileName = m_fileName;
    info.tool = QStringLiteral("TAP %1").arg(m_version);
    m_scopes->beginRun(info);
}

void QATapParser::beginYaml(int indent, int level)
{
    m_inYaml = true;
    m_yamlIndent = indent;
    m_yamlLevel = m_lastCaseLevel == level && m_levels[level].hasPending ? level : -1;
    m_yaml.clear();
}

void QATapParser::yamlLine(const QString& raw)
{
    int indent = 0;
    while (indent < m_yamlIndent && indent < raw.size() && raw.at(indent) == QLatin1Char(' '))
        ++indent;
    m_yaml += QStringView(raw).mid(indent);
    m_yaml += QLatin1Char('\n');
}

void QATapParser::endYaml()
{
    m_inYaml = false;
    if (m_yamlLevel < 0 || m_yamlLevel > depth() || !m_levels[m_yamlLevel].hasPending)
        return;
    m_yaml.chop(1);
    QATapDiagnostics::apply(m_yaml, m_levels[m_yamlLevel].pending);
    m_yaml.clear();
}
