#include "dpoint.h"

DPoint::DPoint(double x, double y) : DItem(Point), m_x(x), m_y(y) {}

void DPoint::setCoord(double x, double y)
{
    m_x = x;
    m_y = y;
}

void DPoint::copyCoord(const DPoint& other)
{
    setCoord(other.m_x, other.m_y);
}
