#include "dsentry.h"

DSEntry::DSEntry(const QString& target, const QString& text)
    : DItem(SEntry), m_target(target), m_text(text)
{
}
