#include "dsummary.h"

DSummary::DSummary() : DItemContainer(Summary) {}

DItem* DSummary::clone() const
{
    return new DSummary(*this);
}
