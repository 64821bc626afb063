#ifndef QAREPORTERFAILUREGROUPS_H
#define QAREPORTERFAILUREGROUPS_H

#include "qareportercase.h"

#include <QList>
#include <QString>

// The failed cases of a run grouped by cause: by their message with the
// variable parts masked. Largest group first; groups of one size in the
// order their first case comes; cases in each group in report order.
//
// Cost: linear in the cases and the length of their messages (one hash
// lookup a failed case).
class QAReporterFailureGroups
{
public:
    struct Group
    {
        QString key;      // the masked message
        QString example;  // the message of the group's first case
        QList<int> cases; // indexes into the cases grouped
    };

    static QList<Group> group(const QList<QAReporterCase>& cases);
};

#endif
