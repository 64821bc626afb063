#include "dfooter.h"

DFooter::DFooter() : DItemContainer(Footer) {}

DItem* DFooter::clone() const
{
    return new DFooter(*this);
}
