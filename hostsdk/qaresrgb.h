#ifndef QARESRGB_H
#define QARESRGB_H

#include "qares.h"

#include <QColor>

// A colour resource: red, green and blue components from 0 to 255.
class QAResRGB : public QARes
{
public:
    QAResRGB(const char* tag, int red, int green, int blue);

    int red() const { return m_red; }
    int green() const { return m_green; }
    int blue() const { return m_blue; }
    QColor color() const { return QColor(m_red, m_green, m_blue); }
    // Components outside 0 to 255 are clamped.
    void setRGB(int red, int green, int blue);

private:
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
};

#endif
