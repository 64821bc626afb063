#include "dientry.h"

DIEntry::DIEntry(const QString& target, const QString& text)
    : DItem(IEntry), m_target(target), m_text(text)
{
}
