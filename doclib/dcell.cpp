#include "dcell.h"

#include <QtGlobal>

DCell::DCell(int hspan, int vspan) : DCell(Cell, hspan, vspan) {}

DCell::DCell(Kind kind, int hspan, int vspan)
    : DItemContainer(kind), m_hspan(qMax(0, hspan)), m_vspan(qMax(0, vspan))
{
}

DItem* DCell::clone() const
{
    return new DCell(*this);
}

void DCell::setSpan(int hspan, int vspan)
{
    m_hspan = qMax(0, hspan);
    m_vspan = qMax(0, vspan);
}
