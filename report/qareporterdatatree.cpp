#include "qareporterdatatree.h"

#include "qareportertreegrower.h"

QAReporterDataTree::QAReporterDataTree(QAReporterNode* root) : QTree<QAReporterNode>(root)
{
    setAutoDelete(true);
}

QAReporterDataTree::~QAReporterDataTree() = default;

void QAReporterDataTree::fillListView(QTreeWidget* view, const QString& fileName)
{
    // Filled closed, then opened in one walk.
    QAReporterTreeGrower grower(view, fileName, this, 0);
    grower.grow();
    grower.open();
}
