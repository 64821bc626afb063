#include "dindex.h"

DIndex::DIndex() : DItemContainer(Index) {}

DItem* DIndex::clone() const
{
    return new DIndex(*this);
}
