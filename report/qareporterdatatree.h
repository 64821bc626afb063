#ifndef QAREPORTERDATATREE_H
#define QAREPORTERDATATREE_H

#include "qareporternode.h"
#include "qtree.h"

#include <QObject>

#include <memory>

class QTreeWidget;

// The tree of test nodes of one report. It owns its nodes, or, as a view of
// another report's tree, only its root: the other nodes then belong to the
// tree they were borrowed from, which must outlive this one. A view that
// keeps every node borrows the links below its root as well.
class QAReporterDataTree : public QObject, public QTree<QAReporterNode>
{
    Q_OBJECT

public:
    explicit QAReporterDataTree(QAReporterNode* root);
    ~QAReporterDataTree() override;

    // A view of all of source: a copy of its root, and below it source's
    // own nodes and links, which source keeps. It has a cursor of its own,
    // so that another thread can walk it; source must not grow meanwhile.
    static QAReporterDataTree* viewOf(const QAReporterDataTree& source);

    // Adds one top-level item for the report file fileName first in view
    // and below it one item per node, in the tree's order, opened down to
    // the viewer's depth preference. Adds nothing when the tree has no
    // root data. Uses the tree's cursor.
    void fillListView(QTreeWidget* view, const QString& fileName);

private:
    std::unique_ptr<QAReporterNode> m_ownRoot; // set when the other nodes are borrowed
};

#endif
