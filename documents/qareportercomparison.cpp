#include "qareportercomparison.h"

#include <QCoreApplication>
#include <QHash>

#include <vector>

QAReporterComparison::QAReporterComparison(QList<QAReporterCase> earlier,
                                           QList<QAReporterCase> current)
    : m_earlier(std::move(earlier)), m_current(std::move(current))
{
    QHash<QString, int> earlierByPath;
    earlierByPath.reserve(m_earlier.size());
    for (int index = 0; index < m_earlier.size(); ++index)
        earlierByPath.insert(m_earlier.at(index).path, index);
    std::vector<bool> matched(size_t(m_earlier.size()), false);
    for (int index = 0; index < m_current.size(); ++index) {
        const int earlierIndex = earlierByPath.value(m_current.at(index).path, -1);
        if (earlierIndex >= 0)
            matched[size_t(earlierIndex)] = true;
        classify(index, earlierIndex);
    }
    for (int index = 0; index < m_earlier.size(); ++index) {
        if (!matched[size_t(index)])
            m_entries[Removed].append(Entry{-1, index, false});
    }
}

void QAReporterComparison::classify(int currentIndex, int earlierIndex)
{
    const QAReporterCase& now = m_current.at(currentIndex);
    const QAReporterCase* before = earlierIndex >= 0 ? &m_earlier.at(earlierIndex) : nullptr;
    const Entry entry{currentIndex, earlierIndex, false};
    switch (now.state) {
    case QAReporterCase::Failed:
        if (before && before->state == QAReporterCase::Failed)
            m_entries[StillFailing].append(
                Entry{currentIndex, earlierIndex, before->message != now.message});
        else
            m_entries[NewFailures].append(entry);
        break;
    case QAReporterCase::Passed:
        if (!before)
            m_entries[Added].append(entry);
        else if (before->state == QAReporterCase::Failed)
            m_entries[Fixed].append(entry);
        break;
    case QAReporterCase::Inconclusive:
        if (!before)
            m_entries[Added].append(entry);
        else if (before->state != QAReporterCase::Inconclusive)
            m_entries[NewlyInconclusive].append(entry);
        break;
    }
}

const QAReporterCase& QAReporterComparison::caseOf(const Entry& entry) const
{
    return entry.current >= 0 ? m_current.at(entry.current) : m_earlier.at(entry.earlier);
}

QString QAReporterComparison::title(Category category)
{
    static const char* const titles[CategoryCount] = {
        QT_TRANSLATE_NOOP("Reporter", "New failures"),
        QT_TRANSLATE_NOOP("Reporter", "Fixed"),
        QT_TRANSLATE_NOOP("Reporter", "Still failing"),
        QT_TRANSLATE_NOOP("Reporter", "Newly inconclusive"),
        QT_TRANSLATE_NOOP("Reporter", "Added"),
        QT_TRANSLATE_NOOP("Reporter", "Removed")};
    return QCoreApplication::translate("Reporter", titles[category]);
}
