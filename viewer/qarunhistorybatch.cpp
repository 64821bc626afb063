#include "qarunhistorybatch.h"

#include "qarunhistory.h"

#include <QStringEncoder>

namespace {

int severity(int state)
{
    return state == QAReporterCase::Failed ? 2 : state == QAReporterCase::Inconclusive ? 1 : 0;
}

} // namespace

QARunHistoryBatch::QARunHistoryBatch(const QList<QAReporterCase>& cases)
{
    m_rows.reserve(cases.size());
    m_positions.reserve(cases.size());
    QList<const QAReporterCase*> kept;
    kept.reserve(cases.size());
    QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    qsizetype space = 0;
    for (const QAReporterCase& testCase : cases)
        space += utf8.requiredSpace(testCase.path.size());
    // Sized once: the rows' views stay valid.
    m_text.resize(space);
    char* end = m_text.data();
    for (const QAReporterCase& testCase : cases) {
        char* const start = end;
        end = utf8.appendToBuffer(start, testCase.path);
        const QByteArrayView path(start, end - start);
        const auto found = m_positions.constFind(path);
        if (found == m_positions.constEnd()) {
            m_positions.insert(path, m_rows.size());
            m_rows.append({path});
            kept << &testCase;
        } else if (severity(testCase.state) > severity(kept.at(*found)->state)) {
            kept[*found] = &testCase;
        }
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        const QAReporterCase& testCase = *kept.at(i);
        Row& row = m_rows[i];
        row.state = int(testCase.state);
        row.seconds = testCase.seconds >= 0 ? testCase.seconds : -1;
        row.hasMessage = !testCase.message.isEmpty();
        if (row.hasMessage)
            row.messageHash = QARunHistory::messageHash(testCase.message);
    }
}

void QARunHistoryBatch::setTestId(const char* path, int size, qint64 id)
{
    const auto found = m_positions.constFind(QByteArrayView(path, size));
    if (found != m_positions.constEnd())
        m_rows[*found].testId = id;
}

QList<int> QARunHistoryBatch::unknownTests() const
{
    QList<int> unknown;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).testId < 0)
            unknown << i;
    }
    return unknown;
}
