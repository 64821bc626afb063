#ifndef QARLISTVIEWITEM_H
#define QARLISTVIEWITEM_H

#include <QFileInfo>
#include <QIcon>
#include <QTreeWidgetItem>

class DItem;
class QAReporterNode;

// One row of the report tree: a report file (top level) or a test node.
// The item points into the report tree and the report document without
// owning either; both must outlive it.
//
// A report tree has hundreds of thousands of rows, so a node's row keeps
// what it shows in a few plain members and hands it out from data(): the
// node's name and icon in column 0, the status icon and word in column 1.
// Stored in the base item, each of them would cost lists of variants of
// their own. Anything set through the base item's setters still wins.
class QARListViewItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };
    // Column 1 holds, under this role, the word of the status icon shown
    // there ("ok", "KO" or "ne"; none without an icon), for hosts and
    // scripts that read the tree as text.
    static constexpr int StatusRole = Qt::UserRole;
    // Column 0 of a file item holds its file's path under this role.
    static constexpr int FilePathRole = Qt::UserRole + 1;

    enum Status : quint8 { NoStatus, Passed, Failed, NotExecuted };

    // An item in no view yet, to be inserted by its creator.
    QARListViewItem();
    ~QARListViewItem() override;

    // The item as a report item, or null when it is another kind of item.
    static QARListViewItem* cast(QTreeWidgetItem* item);

    QVariant data(int column, int role) const override;

    // The icon shown before the text of column 0.
    void setNodeIcon(const QIcon& icon);
    // The status shown in column 1, with its icon.
    void setStatus(Status status, const QIcon& icon);

    // The path of the report file, for file items; empty for node items.
    // Kept in the base item, as only file items have one.
    QString filePath() const;
    void setFilePath(const QString& path);
    QFileInfo fileInfo() const { return QFileInfo(filePath()); }

    // True for a node in state "ko"; false for file items.
    bool failed() const { return m_status == Failed; }

private:
    // Declared first, it takes what the base item leaves free of its last
    // eight bytes: a row then takes 128 bytes, a size the allocator keeps
    // apart, instead of 160.
    Status m_status = NoStatus;

public:
    // Where the item's part of the report begins; may be null.
    DItem* startItem = nullptr;
    // The node the item stands for; null for file items.
    QAReporterNode* node = nullptr;

private:
    QVariant shown(int column, int role) const;

    QIcon m_icons[2];
};

#endif
