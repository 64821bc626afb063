#include "dgraphic.h"

#include <QtGlobal>

DGraphic::DGraphic(const QString& title, int width, int height)
    : DItemContainer(Graphic), m_title(title)
{
    setSize(width, height);
}

void DGraphic::setSize(int width, int height)
{
    m_width = qBound(16, width, 4000);
    m_height = qBound(16, height, 4000);
}
