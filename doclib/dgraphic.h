#ifndef DGRAPHIC_H
#define DGRAPHIC_H

#include "ditemcontainer.h"

// A chart: axes and curves of points, drawn in a box of width x height.
class DGraphic : public DItemContainer
{
public:
    explicit DGraphic(const QString& title = QString(), int width = 400, int height = 250);
    DGraphic(const DGraphic& other) = default;

    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setSize(int width, int height);

private:
    QString m_title;
    int m_width;
    int m_height;
};

#endif
