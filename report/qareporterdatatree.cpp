#include "qareporterdatatree.h"

#include "qareportertreegrower.h"

QAReporterDataTree::QAReporterDataTree(QAReporterNode* root) : QTree<QAReporterNode>(root)
{
    setAutoDelete(true);
}

// The borrowed links below the root are left to their tree: the base
// destructor then deletes the root's link only.
QAReporterDataTree::~QAReporterDataTree()
{
    if (m_ownRoot)
        rootNode()->children.clear();
}

QAReporterDataTree* QAReporterDataTree::viewOf(const QAReporterDataTree& source)
{
    const QTreeNode<QAReporterNode>* sourceRoot = source.rootNode();
    if (!sourceRoot || !sourceRoot->data)
        return nullptr;
    auto* root = new QAReporterNode(*sourceRoot->data);
    auto* view = new QAReporterDataTree(root);
    view->setAutoDelete(false);
    view->m_ownRoot.reset(root);
    view->rootNode()->children = sourceRoot->children;
    return view;
}

void QAReporterDataTree::fillListView(QTreeWidget* view, const QString& fileName)
{
    // Filled closed, then opened in one walk.
    QAReporterTreeGrower grower(view, fileName, this, 0);
    grower.grow();
    grower.open();
}
