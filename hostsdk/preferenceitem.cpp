#include "preferenceitem.h"

PreferenceItem::PreferenceItem(const QString& title, const QString& tag, const QString& helpTag,
                               QObject* parent)
    : QObject(parent), m_title(title), m_tag(tag), m_helpTag(helpTag)
{
}
