#include "daxis.h"

DAxis::DAxis(Qt::Orientation orientation, const QString& label, double min, double max)
    : DItem(Axis), m_label(label), m_min(min), m_max(max), m_orientation(orientation)
{
}

void DAxis::setRange(double min, double max)
{
    m_min = min;
    m_max = max;
}
