#include "dpagebreak.h"

DPageBreak::DPageBreak() : DItem(PageBreak) {}

DItem* DPageBreak::clone() const
{
    return new DPageBreak(*this);
}
