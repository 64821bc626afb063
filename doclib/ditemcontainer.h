#ifndef DITEMCONTAINER_H
#define DITEMCONTAINER_H

#include "ditem.h"

// An item with children, held as a chain from the first child.
class DItemContainer : public DItem
{
public:
    DItem* first() const { return m_first; }
    void setFirst(DItem* first) { m_first = first; }

    // Links item into this container right after previous (as first child
    // when previous is null) and returns it.
    DItem* insertAfter(DItem* previous, DItem* item);

protected:
    explicit DItemContainer(Kind kind) : DItem(kind) {}
    DItemContainer(const DItemContainer& other) : DItem(other) {}
    ~DItemContainer();

private:
    DItem* m_first = nullptr;
};

#endif
