#include "dcurve.h"

DCurve::DCurve(const QString& label, const QColor& color)
    : DItemContainer(Curve), m_label(label), m_color(color)
{
}
