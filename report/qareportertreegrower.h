#ifndef QAREPORTERTREEGROWER_H
#define QAREPORTERTREEGROWER_H

#include "qareporternode.h"
#include "qtree.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QARListViewItem;
class QAReporterDataTree;
class QTreeWidget;
class QTreeWidgetItem;

// Shows a report's tree of test nodes in a tree view: one item for the
// report file first in view, below it one item per node, opened down to
// the viewer's depth preference. While the report is being read, each
// grow() adds the nodes read since the last call: the reader appends to
// the deepest open node only, so a call costs the new nodes, and each
// branch gets its new items in one insertion.
class QAReporterTreeGrower
{
public:
    using Node = QTreeNode<QAReporterNode>;

    // openDepth: levels opened as they come (the file item is level 0);
    // -1 for the viewer's preference.
    QAReporterTreeGrower(QTreeWidget* view, const QString& fileName, QAReporterDataTree* tree,
                         int openDepth = -1);
    ~QAReporterTreeGrower();

    // Called with each item once it knows the first report item of its
    // node (at once, or on a later grow() when the node had none yet).
    void setItemStarted(const std::function<void(QARListViewItem*)>& started);
    void grow();
    // Opens the items down to depth (-1: the viewer's preference) in one
    // walk: a view re-lays out its open items after each insertion, so
    // a tree being read stays shallow until it is complete.
    void open(int depth = -1);
    QARListViewItem* fileItem() const { return m_fileItem; }
    // Items made so far, the file item's included.
    int itemCount() const { return m_itemCount; }

    // The pictures of the items, each made once.
    class Icons;

private:
    struct Level
    {
        Node* node;
        QTreeWidgetItem* item;
        int done;  // children given an item
        int depth; // in the view: the file item is 0
    };

    QARListViewItem* makeItem(QAReporterNode* node);
    // Gives node's children from child on, all complete, their items and
    // their whole subtrees, in one insertion.
    void addComplete(const Level& level, int child);
    void noteStarted(QTreeWidgetItem* item);

    QTreeWidget* m_view;
    std::unique_ptr<Icons> m_icons;
    QARListViewItem* m_fileItem = nullptr;
    std::vector<Level> m_spine;
    std::function<void(QARListViewItem*)> m_started;
    int m_openDepth;
    int m_itemCount = 0;
};

#endif
