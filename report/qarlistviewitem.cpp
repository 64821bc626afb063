#include "qarlistviewitem.h"

QARListViewItem::QARListViewItem() : QTreeWidgetItem(Type) {}

QARListViewItem::~QARListViewItem() = default;

QARListViewItem* QARListViewItem::cast(QTreeWidgetItem* item)
{
    return item && item->type() == Type ? static_cast<QARListViewItem*>(item) : nullptr;
}
