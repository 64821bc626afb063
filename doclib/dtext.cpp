#include "dtext.h"

DText::DText(const QString& text) : DItem(Text), m_text(text) {}
