#ifndef DINDEX_H
#define DINDEX_H

#include "ditemcontainer.h"

class DIndex : public DItemContainer
{
public:
    DIndex();
    DIndex(const DIndex& other) = default;
};

#endif
