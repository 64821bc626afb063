#ifndef QAREPORTERDATATREE_H
#define QAREPORTERDATATREE_H

#include "qareporternode.h"
#include "qtree.h"

#include <QObject>

// The tree of test nodes of one report. It owns its nodes.
class QAReporterDataTree : public QObject, public QTree<QAReporterNode>
{
    Q_OBJECT

public:
    explicit QAReporterDataTree(QAReporterNode* root);
    ~QAReporterDataTree() override;
};

#endif
