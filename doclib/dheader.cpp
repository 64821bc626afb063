#include "dheader.h"

DHeader::DHeader() : DItemContainer(Header) {}

DItem* DHeader::clone() const
{
    return new DHeader(*this);
}
