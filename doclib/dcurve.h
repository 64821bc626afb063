#ifndef DCURVE_H
#define DCURVE_H

#include "ditemcontainer.h"

#include <QColor>

// One curve of a chart; its children are its points.
class DCurve : public DItemContainer
{
public:
    explicit DCurve(const QString& label = QString(), const QColor& color = QColor());
    DCurve(const DCurve& other) = default;

    const QString& label() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }
    const QColor& color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }

private:
    QString m_label;
    QColor m_color;
};

#endif
