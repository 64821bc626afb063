#ifndef QAREPORTERHISTORYSTORE_H
#define QAREPORTERHISTORYSTORE_H

#include "qareportertrendchart.h"
#include "qarunhistory.h"

#include <QList>
#include <QString>

class DStyle;
class QAReporterData;

// The run history as a viewer uses it: the runs of its records recorded,
// the trend of the last runs for the summary, and beside each failed case
// of a report its recent states and the run where it last passed.
//
// Costs: recording and marking are linear in the records' cases (one
// query over the last runs for all the failed cases, never one a case).
class QAReporterHistoryStore
{
public:
    // Opens the store at url (empty: the SQLite file under the user's data
    // folder); false, with a message naming the store, when it cannot be
    // opened or brought up to date.
    bool open(const QString& url, QString* error);
    bool isOpen() const { return m_history.isOpen(); }
    QARunHistory& history() { return m_history; }

    // Records the run of one report file, its time the file's; cases are
    // the record's, as QAReporterCases collects them.
    QARunHistory::RecordResult record(const QAReporterData& record, QString* error);
    QARunHistory::RecordResult record(const QAReporterData& record,
                                      const QList<QAReporterCase>& cases, QString* error);
    // The last runs' totals, oldest first, named by file and time.
    QList<QAReporterTrendPoint> trend(int lastRuns) const;
    // Adds after the title of each failed one of the cases (of records, by
    // the paths the history keeps, one record's at a time) a line with its
    // states in the last runs, oldest first, and where it last passed. The
    // line is named "history-" and the case's anchor.
    void markFailedCases(QList<QAReporterCase> cases, int lastRuns,
                         const QList<DStyle*>& styles) const;

    // A run as the viewer names it: "FILE, TIME".
    static QString runLabel(const QARunHistory::RunRef& run);
    // The marks of states: a check for passed, a cross for failed, a dash
    // for inconclusive.
    static QString marks(const QList<QAReporterCase::State>& states);

private:
    QARunHistory m_history;
};

#endif
