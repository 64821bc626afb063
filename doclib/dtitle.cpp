#include "dtitle.h"

#include <QtGlobal>

DTitle::DTitle(int level) : DItemContainer(Title), m_level(qBound(1, level, 6)) {}

DItem* DTitle::clone() const
{
    return new DTitle(*this);
}

void DTitle::setLevel(int level)
{
    m_level = qBound(1, level, 6);
}
