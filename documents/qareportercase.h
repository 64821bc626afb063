#ifndef QAREPORTERCASE_H
#define QAREPORTERCASE_H

#include <QString>

class QAReporterNode;

// One test case of a report as runs are compared and kept in a history:
// where it is (the names of the nodes from below the report's root down to
// it), its state, its time and what failed.
struct QAReporterCase
{
    enum State { Passed, Failed, Inconclusive };

    QString path; // node names below the root, joined by '/'
    QString file; // the report file that holds it
    State state = Passed;
    QString message;     // the failure message; empty unless failed
    double seconds = -1; // negative: the report gives no time
    const QAReporterNode* node = nullptr;
    QString anchor; // a named item of the case to link to; may be empty
};

#endif
