#ifndef QAREPORTERNODE_H
#define QAREPORTERNODE_H

#include <QString>

class DItem;

// One test node of a report (workspace, suite, test, test case...), bound to
// the document items where its part of the report begins and ends. The
// items belong to the document.
class QAReporterNode
{
public:
    QAReporterNode() = default;
    QAReporterNode(const QAReporterNode& other) = default;
    QAReporterNode& operator=(const QAReporterNode& other) = default;
    virtual ~QAReporterNode();

    // The word of the status icon a tree shows for the node: "ok", "KO" or
    // "ne"; states compare exactly, so any other state ("NE" included)
    // shows none and gives "--".
    QString statusWord() const;
    // The id of a reader's or an importer's number-th node: the number in
    // decimal, written without the general number formatter, which costs
    // more than the rest of a node.
    static QString idOf(int number);

    DItem* startItem = nullptr;
    DItem* endItem = nullptr;
    QString id;
    QString name;
    QString type;
    QString state;
    QString icon;
    QString base;
    // The case's time in seconds; negative when the report gives none.
    double seconds = -1;
};

#endif
