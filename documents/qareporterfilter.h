#ifndef QAREPORTERFILTER_H
#define QAREPORTERFILTER_H

#include "qareporterfiltercriteria.h"

#include <QList>

class QAReporterData;

// Turns report records into filtered records, each with its own tree and
// document holding only what passes the criteria. The filter owns the
// filtered records. Criteria without any pattern keep everything: the
// filtered record then shares the source's document and, below a root of
// its own, the source's nodes and links (its tree has a cursor of its own),
// and must not outlive its source.
class QAReporterFilter
{
public:
    QAReporterFilter();
    ~QAReporterFilter();
    QAReporterFilter(const QAReporterFilter&) = delete;
    QAReporterFilter& operator=(const QAReporterFilter&) = delete;

    // Replaces the criteria by a copy of the given ones.
    void setCriteria(const QAReporterFilterCriteria& criteria);
    // Null until setCriteria.
    const QAReporterFilterCriteria* criteria() const { return m_criteria; }

    // Appends one filtered record per record, in order; a record whose
    // tree cannot be filtered (no criteria, or its root does not pass) is
    // left out. Always true.
    bool apply(const QList<QAReporterData*>& records);

    const QList<QAReporterData*>& filteredRecords() const { return m_filteredRecords; }
    // Destroys the filtered records.
    void clearFilteredRecords();

private:
    QAReporterData* filter(const QAReporterData& record) const;
    QAReporterData* share(const QAReporterData& record) const;

    QAReporterFilterCriteria* m_criteria = nullptr;
    QList<QAReporterData*> m_filteredRecords;
};

#endif
