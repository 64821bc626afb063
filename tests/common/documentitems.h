#ifndef DOCUMENTITEMS_H
#define DOCUMENTITEMS_H

#include "ditemcontainer.h"

#include <QList>

#include <algorithm>

// Every item from root down, in document order, walked with an explicit
// stack so that deep test documents do not recurse.
inline QList<DItem*> itemsOf(DItem* root)
{
    QList<DItem*> items;
    QList<DItem*> pending{root};
    QList<DItem*> children;
    while (!pending.isEmpty()) {
        DItem* item = pending.takeLast();
        items.append(item);
        if (DItemContainer* container = item->toContainer()) {
            children.clear();
            for (DItem* child = container->first(); child; child = child->next())
                children.append(child);
            std::reverse(children.begin(), children.end());
            pending.append(children);
        }
    }
    return items;
}

#endif
