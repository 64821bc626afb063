#ifndef DPOINT_H
#define DPOINT_H

#include "ditem.h"

// One point of a curve.
class DPoint : public DItem
{
public:
    explicit DPoint(double x = 0.0, double y = 0.0);
    DPoint(const DPoint& other) = default;

    double x() const { return m_x; }
    double y() const { return m_y; }
    void setCoord(double x, double y);
    void copyCoord(const DPoint& other);

private:
    double m_x;
    double m_y;
};

#endif
