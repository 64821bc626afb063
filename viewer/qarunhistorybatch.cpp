#include "qarunhistorybatch.h"

#include "qarunhistory.h"

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
    for (const QAReporterCase& testCase : cases) {
        QByteArray path = testCase.path.toUtf8();
        const auto found = m_positions.constFind(path);
        if (found == m_positions.constEnd()) {
            m_positions.insert(path, m_rows.size());
            m_rows.append({std::move(path)});
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
    // Raw data: no copy of the path for the look-up.
    const auto found = m_positions.constFind(QByteArray::fromRawData(path, size));
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
