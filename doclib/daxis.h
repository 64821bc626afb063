#ifndef DAXIS_H
#define DAXIS_H

#include "ditem.h"

// An axis of a chart, with its label and range. When min >= max, the range
// is taken from the points.
class DAxis : public DItem
{
public:
    explicit DAxis(Qt::Orientation orientation = Qt::Horizontal, const QString& label = QString(),
                   double min = 0.0, double max = 0.0);
    DAxis(const DAxis& other) = default;

    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation) { m_orientation = orientation; }
    const QString& label() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }
    double min() const { return m_min; }
    double max() const { return m_max; }
    void setRange(double min, double max);
    bool hasRange() const { return m_min < m_max; }

private:
    QString m_label;
    double m_min;
    double m_max;
    Qt::Orientation m_orientation;
};

#endif
