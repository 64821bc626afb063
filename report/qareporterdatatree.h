#ifndef QAREPORTERDATATREE_H
#define QAREPORTERDATATREE_H

#include "qareporternode.h"
#include "qtree.h"

#include <QObject>

#include <memory>

class QTreeWidget;

// The tree of test nodes of one report. It owns its nodes, or, as a view of
// another report's tree, only its root: the other nodes then belong to the
// tree they were borrowed from, which must outlive this one.
class QAReporterDataTree : public QObject, public QTree<QAReporterNode>
{
    Q_OBJECT

public:
    enum Ownership { OwnsNodes, OwnsRootOnly };

    explicit QAReporterDataTree(QAReporterNode* root, Ownership ownership = OwnsNodes);
    ~QAReporterDataTree() override;

    // Adds one top-level item for the report file fileName first in view
    // and below it one item per node, in the tree's order, opened down to
    // the viewer's depth preference. Adds nothing when the tree has no
    // root data. Uses the tree's cursor.
    void fillListView(QTreeWidget* view, const QString& fileName);

private:
    std::unique_ptr<QAReporterNode> m_ownRoot; // set when the other nodes are borrowed
};

#endif
