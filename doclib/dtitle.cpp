#include "dtitle.h"

#include <QtGlobal>

DTitle::DTitle(int level) : DItemContainer(Title)
{
    setLevel(level);
}

void DTitle::setLevel(int level)
{
    m_kindData[0] = quint16(qBound(1, level, 6));
}
