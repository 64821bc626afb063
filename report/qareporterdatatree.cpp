#include "qareporterdatatree.h"

#include "qareportertreegrower.h"

QAReporterDataTree::QAReporterDataTree(QAReporterNode* root, Ownership ownership)
    : QTree<QAReporterNode>(root)
{
    if (ownership == OwnsRootOnly)
        m_ownRoot.reset(root);
    else
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
