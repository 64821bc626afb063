#ifndef DLIST_H
#define DLIST_H

#include "ditemcontainer.h"

class DList : public DItemContainer
{
public:
    DList();
    DList(const DList& other) = default;
};

#endif
