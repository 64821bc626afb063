#include "dimage.h"

DImage::DImage(const QString& source) : DItem(Image), m_source(source) {}

DItem* DImage::clone() const
{
    return new DImage(*this);
}
