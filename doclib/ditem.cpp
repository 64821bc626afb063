#include "ditem.h"

#include "ditemcontainer.h"
#include "dlink.h"

DItem::DItem(const DItem& other)
    : m_style(other.m_style),
      m_name(other.m_name ? std::make_unique<QString>(*other.m_name) : nullptr),
      m_kind(other.m_kind), m_kindData{other.m_kindData[0], other.m_kindData[1]}
{
}

void DItem::setName(const QString& name)
{
    if (name.isNull())
        m_name.reset();
    else if (m_name)
        *m_name = name;
    else
        m_name = std::make_unique<QString>(name);
}

const QString& DItem::noName()
{
    static const QString none;
    return none;
}

DItem::~DItem() = default;

const char* DItem::kindName(Kind kind)
{
    static const char* const names[KindCount] = {
        "DOCUMENT", "SECTION",    "TITLE",   "HEADER", "FOOTER",    "PARAGRAPH", "LIST",
        "LINK",     "TABLE",      "ROW",     "CELL",   "CELLTEXT",  "POPUPLINK", "POPUP",
        "SUMMARY",  "INDEX",      "GRAPHIC", "CURVE",  "PAGEBREAK", "TEXT",      "IMAGE",
        "TAG",      "TAGPOINTER", "SENTRY",  "IENTRY", "POINT",     "AXIS"};
    return kind < KindCount ? names[kind] : "";
}

DItemContainer* DItem::toContainer()
{
    return isContainer() ? static_cast<DItemContainer*>(this) : nullptr;
}

const DItemContainer* DItem::toContainer() const
{
    return isContainer() ? static_cast<const DItemContainer*>(this) : nullptr;
}

DLink* DItem::toLink()
{
    return (m_kind == Link || m_kind == PopupLink) ? static_cast<DLink*>(this) : nullptr;
}

const DLink* DItem::toLink() const
{
    return (m_kind == Link || m_kind == PopupLink) ? static_cast<const DLink*>(this) : nullptr;
}
