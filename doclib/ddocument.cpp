#include "ddocument.h"

DDocument::DDocument(const QString& title, const QString& tag)
    : DItemContainer(Document), m_title(title)
{
    setName(tag);
}
