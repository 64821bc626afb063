#include "reportgenerator.h"

#include <QFile>
#include <QIODevice>
#include <QtMath>

#include <iterator>

namespace {

const int CasesPerTest = 10;
const int BufferSize = 64 * 1024;

const quint64 StateSalt = 0x5157A7E;
const quint64 TextSalt = 0x7E47;

const char* const components[] = {"parser",  "decoder", "scheduler", "storage", "network",
                                  "config",  "cache",   "logger",    "codec",   "session",
                                  "journal", "timer",   "registry",  "router",  "archive"};
const char* const verbs[] = {"rejects", "accepts", "parses",  "encodes",   "restores",
                             "flushes", "limits",  "reports", "validates", "skips"};
const char* const objects[] = {"an empty header",     "a truncated frame",  "a nested list",
                               "an oversized record", "a duplicate key",    "a stale entry",
                               "a zero-length field", "an unknown option",  "a partial write",
                               "a negative offset",   "a missing checksum", "a reordered block"};
const char* const conditions[] = {"when the buffer is full", "after a reset",
                                  "under a short timeout",   "with checks enabled",
                                  "on the first call",       "in read-only mode",
                                  "across a restart",        "with default settings"};
const char* const checks[] = {"return code", "bytes written", "entries left", "error count",
                              "offset",      "state",         "retries",      "checksum"};
const char* const failures[] = {"an assertion failed", "the call timed out", "the result differed",
                                "an unexpected error was raised"};
const char* const reasons[] = {"the target was not reachable", "a previous case aborted the run",
                               "the feature is disabled in this build"};

const char* stateText(char state)
{
    switch (state) {
    case 'k':
        return "ko";
    case 'N':
        return "NE";
    default:
        return "ok";
    }
}

const char* titleStyle(int level, char state)
{
    static const char* const styles[3][3] = {
        {"Title1 Passed", "Title1 Failed", "Title1"},
        {"Title2 Passed", "Title2 Failed", "Title2"},
        {"Title3 Passed", "Title3 Failed", "Title3"},
    };
    const int row = qBound(1, level, 3) - 1;
    return styles[row][state == 'o' ? 0 : state == 'k' ? 1 : 2];
}

QByteArray padded(int number, int width)
{
    return QByteArray::number(number).rightJustified(width, '0');
}

} // namespace

// Every choice of a case comes from a generator seeded by the run's seed and
// the case's index, so a case reads the same whatever is written before it
// and the states of a test's cases can be known before the test is written.
class ReportGenerator::CaseRandom
{
public:
    CaseRandom(quint64 seed, quint64 index, quint64 salt)
        : m_state(seed * 0x9E3779B97F4A7C15ULL ^ (index + 1) * 0xBF58476D1CE4E5B9ULL ^ salt)
    {
    }

    quint64 next()
    {
        // splitmix64
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int bound) { return int(next() % quint64(bound)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    template <std::size_t N> const char* pick(const char* const (&words)[N])
    {
        return words[below(int(N))];
    }

private:
    quint64 m_state;
};

ReportGenerator::ReportGenerator() = default;

void ReportGenerator::setCaseCount(int count)
{
    m_caseCount = qMax(1, count);
}

void ReportGenerator::setFailShare(double share)
{
    m_failShare = qBound(0.0, share, 1.0);
}

void ReportGenerator::setNotExecutedShare(double share)
{
    m_notExecutedShare = qBound(0.0, share, 1.0);
}

int ReportGenerator::testCount() const
{
    return (m_caseCount + CasesPerTest - 1) / CasesPerTest;
}

// Suites grow with the square root of the tests: a few suites of a few
// tests for small runs, about seventy suites of 140 tests at 100 000 cases.
int ReportGenerator::suiteCount() const
{
    return qMax(1, int(qSqrt(testCount() / 2.0)));
}

int ReportGenerator::firstCaseOfTest(int test) const
{
    return int(qint64(test) * m_caseCount / testCount());
}

int ReportGenerator::firstTestOfSuite(int suite) const
{
    return int(qint64(suite) * testCount() / suiteCount());
}

ReportGenerator::State ReportGenerator::caseState(int caseIndex) const
{
    CaseRandom random(m_seed, quint64(caseIndex), StateSalt);
    const double draw = random.unit();
    if (draw < m_failShare)
        return Failed;
    if (draw < m_failShare + m_notExecutedShare)
        return NotExecuted;
    return Passed;
}

// A group failed when one of its cases failed; it was not executed when
// none of its cases was.
ReportGenerator::State ReportGenerator::rangeState(int firstCase, int endCase) const
{
    bool allSkipped = true;
    for (int index = firstCase; index < endCase; ++index) {
        const State state = caseState(index);
        if (state == Failed)
            return Failed;
        allSkipped = allSkipped && state == NotExecuted;
    }
    return allSkipped ? NotExecuted : Passed;
}

int ReportGenerator::countCases(char state) const
{
    int count = 0;
    for (int index = 0; index < m_caseCount; ++index)
        count += caseState(index) == state ? 1 : 0;
    return count;
}

bool ReportGenerator::writeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = file.errorString();
        return false;
    }
    if (!write(&file))
        return false;
    file.close();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

bool ReportGenerator::write(QIODevice* out)
{
    m_error.clear();
    if (!out || !out->isWritable()) {
        m_error = QStringLiteral("the output is not open for writing");
        return false;
    }
    m_out = out;
    m_buffer.clear();
    m_buffer.reserve(BufferSize + 4096);

    const QByteArray seed = QByteArray::number(m_seed);
    const State state = rangeState(0, m_caseCount);
    put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XROD>\n<DOCUMENT name=\"run_");
    put(seed);
    put("\" title=\"Nightly run ");
    put(seed);
    put("\">\n");
    writeNodeStart("workspace", "workspace", state);
    put("<SECTION name=\"workspace\">\n<TITLE level=\"1\" style=\"Title0\">Nightly run ");
    put(seed);
    put("</TITLE>\n<PARAGRAPH style=\"Normal\">");
    putNumber(m_caseCount);
    put(" test cases in ");
    putNumber(testCount());
    put(" tests and ");
    putNumber(suiteCount());
    put(" suites, built from the main branch and run on the reference machine.</PARAGRAPH>\n");
    for (int suite = 0; suite < suiteCount() && m_error.isEmpty(); ++suite)
        writeSuite(suite);
    put("</SECTION>\n</XROD:NODE>\n</DOCUMENT>\n</XROD>\n");
    const bool ok = flush();
    m_out = nullptr;
    return ok;
}

void ReportGenerator::writeSuite(int suite)
{
    const int firstTest = firstTestOfSuite(suite);
    const int endTest = firstTestOfSuite(suite + 1);
    const State state = rangeState(firstCaseOfTest(firstTest), firstCaseOfTest(endTest));
    const QByteArray name =
        QByteArray(components[suite % std::size(components)]) + '_' + padded(suite, 3);
    writeNodeStart(name, "suite", state);
    put("<SECTION name=\"s");
    putNumber(suite);
    put("\">\n");
    writeTitle(1, state, "Suite " + name);
    put("<PARAGRAPH style=\"Normal\">");
    putNumber(endTest - firstTest);
    put(" tests of the ");
    put(components[suite % std::size(components)]);
    put(" module.</PARAGRAPH>\n");
    for (int test = firstTest; test < endTest; ++test)
        writeTest(test);
    put("</SECTION>\n</XROD:NODE>\n");
    flush();
}

void ReportGenerator::writeTest(int test)
{
    const int firstCase = firstCaseOfTest(test);
    const int endCase = firstCaseOfTest(test + 1);
    const State state = rangeState(firstCase, endCase);
    CaseRandom random(m_seed, quint64(test), TextSalt + 1);
    const QByteArray topic = QByteArray(random.pick(components)) + ' ' + random.pick(checks);
    const QByteArray name = "test_" + padded(test, 4);
    writeNodeStart(name, "test", state);
    // The base sits on the node's start tag, before its closing bracket.
    m_buffer.chop(2);
    put(" base=\"src/module_");
    putNumber(test % 97);
    put("/\">\n<SECTION name=\"t");
    putNumber(test);
    put("\">\n");
    writeTitle(2, state, name + ' ' + topic);
    for (int index = firstCase; index < endCase; ++index)
        writeCase(index, index - firstCase + 1);
    put("</SECTION>\n</XROD:NODE>\n");
    if (m_buffer.size() >= BufferSize)
        flush();
}

void ReportGenerator::writeCase(int caseIndex, int number)
{
    const State state = caseState(caseIndex);
    CaseRandom random(m_seed, quint64(caseIndex), TextSalt);
    const char* component = random.pick(components);
    const char* verb = random.pick(verbs);
    const char* object = random.pick(objects);
    const QByteArray name = "case_" + padded(number, 2);

    writeNodeStart(name, "testcase", state);
    m_buffer.chop(2);
    put(" sum=\"1\">\n<SECTION name=\"c");
    putNumber(caseIndex);
    put("\">\n");
    writeTitle(3, state, name + ' ' + verb + ' ' + object);

    // The source link sits inside the description, as mixed content.
    QByteArray source = "src/module_";
    source += QByteArray::number(caseIndex / CasesPerTest % 97);
    source += ".c line ";
    source += QByteArray::number(10 + random.below(1990));
    put("<PARAGRAPH>The ");
    put(component);
    put(" ");
    put(verb);
    put(" ");
    put(object);
    if (random.below(2)) {
        put(" ");
        put(random.pick(conditions));
    }
    put(" (<LINK target=\"");
    put(source);
    put("\">");
    put(source);
    put("</LINK>).</PARAGRAPH>\n");
    if (state == Failed) {
        put("<PARAGRAPH style=\"Normal Failed\">Failed after ");
        putNumber(1 + random.below(900));
        put(" ms: ");
        put(random.pick(failures));
        put(".</PARAGRAPH>\n");
    } else if (state == NotExecuted) {
        put("<PARAGRAPH style=\"Warning\">Not run: ");
        put(random.pick(reasons));
        put(".</PARAGRAPH>\n");
    }
    writeCheckTable(random, state);
    put("</SECTION>\n</XROD:NODE>\n");
}

// Header row, then two checks, three for a failed case (one of them the
// failing one).
void ReportGenerator::writeCheckTable(CaseRandom& random, State state)
{
    put("<TABLE widths=\"2 1 1\">\n<ROW style=\"Array Title\"><CELLTEXT>Check</CELLTEXT>"
        "<CELLTEXT>Expected</CELLTEXT><CELLTEXT>Actual</CELLTEXT></ROW>\n");
    const int rows = state == Failed ? 3 : 2;
    const int failedRow = state == Failed ? random.below(rows) : -1;
    for (int row = 0; row < rows; ++row) {
        const int expected = random.below(64);
        put(row == failedRow ? "<ROW style=\"Array Failed\"><CELLTEXT>" : "<ROW><CELLTEXT>");
        put(random.pick(checks));
        put("</CELLTEXT><CELLTEXT>");
        putNumber(expected);
        put("</CELLTEXT><CELLTEXT>");
        if (state == NotExecuted)
            put("-");
        else
            putNumber(row == failedRow ? expected + 1 + random.below(8) : expected);
        put("</CELLTEXT></ROW>\n");
    }
    put("</TABLE>\n");
}

void ReportGenerator::writeTitle(int level, State state, const QByteArray& text)
{
    put("<TITLE level=\"");
    putNumber(level);
    put("\" style=\"");
    put(titleStyle(level, state));
    put("\">");
    put(text);
    put("</TITLE>\n");
}

void ReportGenerator::writeNodeStart(const QByteArray& name, const char* type, State state)
{
    put("<XROD:NODE name=\"");
    put(name);
    put("\" type=\"");
    put(type);
    put("\" state=\"");
    put(stateText(state));
    put("\">\n");
}

void ReportGenerator::put(const char* text)
{
    m_buffer.append(text);
}

void ReportGenerator::put(const QByteArray& text)
{
    m_buffer.append(text);
}

void ReportGenerator::putNumber(qint64 number)
{
    m_buffer.append(QByteArray::number(number));
}

bool ReportGenerator::flush()
{
    if (!m_error.isEmpty())
        return false;
    if (!m_buffer.isEmpty() && m_out->write(m_buffer) != m_buffer.size()) {
        m_error = m_out->errorString();
        return false;
    }
    m_buffer.clear();
    return true;
}
