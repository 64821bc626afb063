#ifndef QARUNHISTORYBATCH_H
#define QARUNHISTORYBATCH_H

#include "qareportercase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

// A run's cases as the history stores them: each path once, with its worst
// state, in UTF-8 and with the id of its test once a writer found or added
// it. The writers of the native client libraries fill in the ids and store
// the rows.
class QARunHistoryBatch
{
public:
    struct Row
    {
        QByteArrayView path; // UTF-8, in the batch's text
        qint64 testId = -1;  // negative: not known yet
        int state = 0;       // a QAReporterCase::State
        double seconds = -1; // negative: none
        bool hasMessage = false;
        qint64 messageHash = 0; // QARunHistory::messageHash of the failure message
    };

    explicit QARunHistoryBatch(const QList<QAReporterCase>& cases);

    const QList<Row>& rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Gives the test id to the row of that path, if there is one.
    void setTestId(const char* path, int size, qint64 id);
    void setTestId(int row, qint64 id) { m_rows[row].testId = id; }
    // The positions of the rows whose test is not known yet.
    QList<int> unknownTests() const;

private:
    QByteArray m_text; // the paths, one after another: no allocation per path
    QList<Row> m_rows;
    QHash<QByteArrayView, int> m_positions; // path to position in m_rows
};

#endif
