#ifndef QAREPORTERCOMPARISON_H
#define QAREPORTERCOMPARISON_H

#include "qareportercase.h"

#include <QList>

// Two runs compared case by case, the cases matched by their path. A case
// falls in at most one category, judged by its state now and before:
// - new failures: failed now; passed, inconclusive or absent before;
// - fixed: passed now, failed before;
// - still failing: failed both times (messageChanged tells whether the
//   failure message differs);
// - newly inconclusive: inconclusive now, passed or failed before;
// - added: passed or inconclusive now, absent before;
// - removed: absent now, there before.
// Entries come in the current run's order, removed ones in the earlier
// run's order.
//
// Cost: linear in the cases of both runs (one hash of the earlier paths).
class QAReporterComparison
{
public:
    enum Category { NewFailures, Fixed, StillFailing, NewlyInconclusive, Added, Removed };
    static constexpr int CategoryCount = Removed + 1;

    struct Entry
    {
        int current = -1; // index into current(), -1 for a removed case
        int earlier = -1; // index into earlier(), -1 when it was absent
        bool messageChanged = false;
    };

    QAReporterComparison(QList<QAReporterCase> earlier, QList<QAReporterCase> current);

    const QList<QAReporterCase>& earlier() const { return m_earlier; }
    const QList<QAReporterCase>& current() const { return m_current; }
    const QList<Entry>& entries(Category category) const { return m_entries[category]; }
    bool hasNewFailure() const { return !m_entries[NewFailures].isEmpty(); }
    // The case an entry is about: the current one, else the earlier one.
    const QAReporterCase& caseOf(const Entry& entry) const;

    // The category's heading as the comparison shows it ("New failures").
    static QString title(Category category);

private:
    void classify(int currentIndex, int earlierIndex);

    QList<QAReporterCase> m_earlier;
    QList<QAReporterCase> m_current;
    QList<Entry> m_entries[CategoryCount];
};

#endif
