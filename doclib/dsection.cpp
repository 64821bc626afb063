#include "dsection.h"

DSection::DSection() : DItemContainer(Section) {}

DItem* DSection::clone() const
{
    return new DSection(*this);
}
