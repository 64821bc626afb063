#include "dtag.h"

DTag::DTag(const QString& name) : DItem(Tag)
{
    setName(name);
}

DItem* DTag::clone() const
{
    return new DTag(*this);
}
