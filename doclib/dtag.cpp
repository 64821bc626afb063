#include "dtag.h"

DTag::DTag(const QString& name) : DItem(Tag)
{
    setName(name);
}
