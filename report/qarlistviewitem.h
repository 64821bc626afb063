#ifndef QARLISTVIEWITEM_H
#define QARLISTVIEWITEM_H

#include <QFileInfo>
#include <QTreeWidgetItem>

class DItem;
class QAReporterNode;

// One row of the report tree: a report file (top level) or a test node.
// The item points into the report tree and the report document without
// owning either; both must outlive it.
class QARListViewItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };
    // Column 1 holds, under this role, the word of the status icon shown
    // there ("ok", "KO" or "ne"; none without an icon), for hosts and
    // scripts that read the tree as text.
    static constexpr int StatusRole = Qt::UserRole;

    // An item in no view yet, to be inserted by its creator.
    QARListViewItem();
    ~QARListViewItem() override;

    // The item as a report item, or null when it is another kind of item.
    static QARListViewItem* cast(QTreeWidgetItem* item);

    // True for a node in state "ko"; false for file items.
    bool failed = false;
    // The report file, for file items; empty for node items.
    QFileInfo fileInfo;
    // Where the item's part of the report begins; may be null.
    DItem* startItem = nullptr;
    // The node the item stands for; null for file items.
    QAReporterNode* node = nullptr;
};

#endif
