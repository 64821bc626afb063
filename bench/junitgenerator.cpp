#include "junitgenerator.h"

#include <QByteArray>
#include <QIODevice>

namespace {

const int CasesPerSuite = 50;
const int CasesPerClass = 10;
const int TraceLines = 20;
const double SkipShare = 0.02;
const double OutputShare = 0.05;
// The buffer is written out whenever it grows past this.
const int FlushSize = 1 << 16;

} // namespace

quint64 JUnitGenerator::hash(quint64 value) const
{
    // splitmix64: a cheap, well-mixed function of the seed and the index.
    value += m_seed * 0x9e3779b97f4a7c15ULL + 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

JUnitGenerator::State JUnitGenerator::caseState(int index) const
{
    const double draw = double(hash(quint64(index)) >> 11) / double(1ULL << 53);
    if (draw < m_failShare)
        return Failed;
    if (draw < m_failShare + SkipShare)
        return Skipped;
    return Passed;
}

int JUnitGenerator::countCases(State state) const
{
    int count = 0;
    for (int i = 0; i < m_caseCount; ++i)
        count += caseState(i) == state ? 1 : 0;
    return count;
}

bool JUnitGenerator::write(QIODevice* out)
{
    QByteArray buffer;
    buffer.reserve(FlushSize * 2);
    auto flush = [&](bool force) {
        if (buffer.size() < FlushSize && !force)
            return true;
        if (out->write(buffer) != buffer.size()) {
            m_error = out->errorString();
            return false;
        }
        buffer.clear();
        return true;
    };
    buffer +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"generated\" tests=\"" +
        QByteArray::number(m_caseCount) + "\" failures=\"" + QByteArray::number(failedCases()) +
        "\">\n";
    for (int first = 0; first < m_caseCount; first += CasesPerSuite) {
        const int end = qMin(m_caseCount, first + CasesPerSuite);
        const QByteArray suite = "com.example.module" + QByteArray::number(first / CasesPerSuite);
        buffer += "  <testsuite name=\"" + suite + "\" tests=\"" + QByteArray::number(end - first) +
                  "\" timestamp=\"2026-03-02T10:00:00\" hostname=\"bench\" time=\"1.5\">\n";
        for (int index = first; index < end; ++index) {
            const QByteArray className =
                suite + ".Feature" + QByteArray::number((index - first) / CasesPerClass) + "Test";
            const QByteArray name = "checksCase" + QByteArray::number(index);
            const quint64 random = hash(quint64(index) + 0x5bd1e995ULL);
            buffer += "    <testcase name=\"" + name + "\" classname=\"" + className +
                      "\" time=\"0." + QByteArray::number(random % 1000) + "\"";
            const State state = caseState(index);
            const bool output = double(random % 1000) / 1000.0 < OutputShare;
            if (state == Passed && !output) {
                buffer += "/>\n";
                continue;
            }
            buffer += ">\n";
            if (state == Failed) {
                buffer += "      <failure message=\"expected: &lt;" +
                          QByteArray::number(random % 97) + "&gt; but was: &lt;" +
                          QByteArray::number(random % 89 + 100) +
                          "&gt;\" type=\"org.opentest4j.AssertionFailedError\">"
                          "org.opentest4j.AssertionFailedError: expected values to match\n";
                for (int line = 0; line < TraceLines; ++line)
                    buffer += "\tat " + className + ".step" + QByteArray::number(line) + "(" +
                              className.mid(className.lastIndexOf('.') + 1) +
                              ".java:" + QByteArray::number(40 + line + int(random % 50)) + ")\n";
                buffer += "</failure>\n";
            } else if (state == Skipped) {
                buffer += "      <skipped message=\"not on this platform\"/>\n";
            }
            if (output) {
                buffer += "      <system-out><![CDATA[";
                for (int line = 0; line < 5; ++line)
                    buffer += "INFO step " + QByteArray::number(line) + " of " + name +
                              " done in " + QByteArray::number(random % 100 + line) + " ms\n";
                buffer += "]]></system-out>\n";
            }
            buffer += "    </testcase>\n";
            if (!flush(false))
                return false;
        }
        buffer += "  </testsuite>\n";
        if (!flush(false))
            return false;
    }
    buffer += "</testsuites>\n";
    return flush(true);
}
