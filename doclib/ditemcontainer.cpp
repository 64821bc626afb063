#include "ditemcontainer.h"

// Children are released without recursion and without a work list: the
// first child of a container is moved in front of it in the chain of items
// still to release, so that every item is read once, when it goes, and a
// container (still in the cache) again after each of its children. Neither
// a long sibling chain nor a deep document recurses.
DItemContainer::~DItemContainer()
{
    DItem* pending = m_first;
    m_first = nullptr;
    while (pending) {
        DItem* item = pending;
        DItemContainer* container = item->toContainer();
        if (container && container->m_first) {
            DItem* child = container->m_first;
            container->m_first = child->next();
            child->setNext(item);
            pending = child;
            continue;
        }
        pending = item->next();
        DItem::destroy(item);
    }
}

DItem* DItemContainer::insertAfter(DItem* previous, DItem* item)
{
    item->setParent(this);
    if (previous) {
        item->setNext(previous->next());
        previous->setNext(item);
    } else {
        item->setNext(m_first);
        m_first = item;
    }
    return item;
}
