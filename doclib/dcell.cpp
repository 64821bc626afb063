#include "dcell.h"

DCell::DCell(int hspan, int vspan) : DCell(Cell, hspan, vspan) {}

DCell::DCell(Kind kind, int hspan, int vspan)
    : DItemContainer(kind), m_hspan(boundSpan(hspan)), m_vspan(boundSpan(vspan))
{
}

DItem* DCell::clone() const
{
    return new DCell(*this);
}

void DCell::setSpan(int hspan, int vspan)
{
    m_hspan = boundSpan(hspan);
    m_vspan = boundSpan(vspan);
}
