#include "dimage.h"

DImage::DImage(const QString& source) : DItem(Image), m_source(source) {}
