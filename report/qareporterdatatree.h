#ifndef QAREPORTERDATATREE_H
#define QAREPORTERDATATREE_H

#include "qareporternode.h"
#include "qtree.h"

#include <QObject>

class QTreeWidget;

// The tree of test nodes of one report. It owns its nodes.
class QAReporterDataTree : public QObject, public QTree<QAReporterNode>
{
    Q_OBJECT

public:
    explicit QAReporterDataTree(QAReporterNode* root);
    ~QAReporterDataTree() override;

    // Adds one top-level item for the report file fileName first in view
    // and below it one item per node, in the tree's order, opened down to
    // the viewer's depth preference. Adds nothing when the tree has no
    // root data. Uses the tree's cursor.
    void fillListView(QTreeWidget* view, const QString& fileName);
};

#endif
