#include "dlist.h"

DList::DList() : DItemContainer(List) {}

DItem* DList::clone() const
{
    return new DList(*this);
}
