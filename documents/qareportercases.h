#ifndef QAREPORTERCASES_H
#define QAREPORTERCASES_H

#include "qareportercase.h"
#include "qtree.h"

#include <QList>

class QAReporterData;
class QAReporterNode;

// The test cases of report records, in document order, as comparing runs
// and keeping a history see them. A case is a node of type "testcase"; a
// record without any takes its leaf nodes. A case's path is the names of
// its ancestors and its own, from below the run's node (the only node at
// the top of a record), so the same suite read from two files, under runs
// of other names, gives the same paths. A second
// case of the same path in the same cases gets " [2]" after it, and so on,
// so that every path is one case.
//
// Costs: linear in the records' nodes, plus the items of failed cases up
// to their first nested node (where the message is looked for).
class QAReporterCases
{
public:
    static QList<QAReporterCase> collect(const QList<QAReporterData*>& records);
    static QList<QAReporterCase> collect(const QAReporterData& record);
    // The failed cases only, as collect gives them (their paths numbered
    // among all cases), keeping nothing of the others on the way.
    static QList<QAReporterCase> collectFailed(const QList<QAReporterData*>& records);

    // The failure message of a failed case: the text of the last paragraph
    // in a failure style ("... Failed") among the case's own items and what
    // they hold (popups aside), before any nested node; empty when there is
    // none.
    static QString failureMessage(const QTreeNode<QAReporterNode>& node);
};

#endif
