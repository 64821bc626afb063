#include "ditemcontainer.h"

#include <vector>

// Children are released with an explicit work list: neither a long sibling
// chain nor a deep document recurses.
DItemContainer::~DItemContainer()
{
    std::vector<DItem*> pending;
    for (DItem* child = m_first; child; child = child->next())
        pending.push_back(child);
    m_first = nullptr;
    while (!pending.empty()) {
        DItem* item = pending.back();
        pending.pop_back();
        if (DItemContainer* container = item->toContainer()) {
            for (DItem* child = container->m_first; child; child = child->next())
                pending.push_back(child);
            container->m_first = nullptr;
        }
        delete item;
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
