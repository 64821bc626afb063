#include "drow.h"

DRow::DRow() : DItemContainer(Row) {}

DItem* DRow::clone() const
{
    return new DRow(*this);
}
