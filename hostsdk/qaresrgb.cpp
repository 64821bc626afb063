#include "qaresrgb.h"

QAResRGB::QAResRGB(const char* tag, int red, int green, int blue) : QARes(RGB, tag)
{
    setRGB(red, green, blue);
}

void QAResRGB::setRGB(int red, int green, int blue)
{
    m_red = qBound(0, red, 255);
    m_green = qBound(0, green, 255);
    m_blue = qBound(0, blue, 255);
}
