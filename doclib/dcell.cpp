#include "dcell.h"

DCell::DCell(int hspan, int vspan) : DCell(Cell, hspan, vspan) {}

DCell::DCell(Kind kind, int hspan, int vspan) : DItemContainer(kind)
{
    setSpan(hspan, vspan);
}

void DCell::setSpan(int hspan, int vspan)
{
    m_kindData[0] = boundSpan(hspan);
    m_kindData[1] = boundSpan(vspan);
}
