#include "qarlistviewitem.h"

#include "qareporternode.h"

// Hundreds of thousands of rows: see the order of the members.
static_assert(sizeof(QARListViewItem) <= 128, "a report row outgrew 128 bytes");

QARListViewItem::QARListViewItem() : QTreeWidgetItem(Type) {}

QARListViewItem::~QARListViewItem() = default;

QARListViewItem* QARListViewItem::cast(QTreeWidgetItem* item)
{
    return item && item->type() == Type ? static_cast<QARListViewItem*>(item) : nullptr;
}

QVariant QARListViewItem::data(int column, int role) const
{
    QVariant stored = QTreeWidgetItem::data(column, role);
    return stored.isValid() ? stored : shown(column, role);
}

void QARListViewItem::setNodeIcon(const QIcon& icon)
{
    m_icons[0] = icon;
}

void QARListViewItem::setStatus(Status status, const QIcon& icon)
{
    m_status = status;
    m_icons[1] = icon;
}

QString QARListViewItem::filePath() const
{
    return QTreeWidgetItem::data(0, FilePathRole).toString();
}

void QARListViewItem::setFilePath(const QString& path)
{
    setData(0, FilePathRole, path);
}

QVariant QARListViewItem::shown(int column, int role) const
{
    if (column < 0 || column > 1)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == 0 && node && !node->name.isNull())
            return node->name;
        break;
    case Qt::DecorationRole:
        if (!m_icons[column].isNull())
            return m_icons[column];
        break;
    case StatusRole:
        if (column == 1 && m_status == Passed)
            return QStringLiteral("ok");
        if (column == 1 && m_status == Failed)
            return QStringLiteral("KO");
        if (column == 1 && m_status == NotExecuted)
            return QStringLiteral("ne");
        break;
    default:
        break;
    }
    return QVariant();
}
