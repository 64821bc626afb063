#include "dcelltext.h"

DCellText::DCellText(int hspan, int vspan, const QString& text)
    : DCell(CellText, hspan, vspan), m_text(text)
{
}
