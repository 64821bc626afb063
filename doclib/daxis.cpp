#include "daxis.h"

DAxis::DAxis(Qt::Orientation orientation, const QString& label, double min, double max)
    : DItem(Axis), m_label(label), m_min(min), m_max(max), m_orientation(orientation)
{
}

DItem* DAxis::clone() const
{
    return new DAxis(*this);
}

void DAxis::setRange(double min, double max)
{
    m_min = min;
    m_max = max;
}
