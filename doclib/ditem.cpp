#include "ditem.h"

#include "ditems.h"
#include "dstyle.h"

static_assert(alignof(DStyle) >= 2, "the low bit of a style's address marks an item's extra");

// The class of each kind.
#define D_ITEM_CLASSES(X)                                                                          \
    X(Document, DDocument)                                                                         \
    X(Section, DSection)                                                                           \
    X(Title, DTitle)                                                                               \
    X(Header, DHeader)                                                                             \
    X(Footer, DFooter)                                                                             \
    X(Paragraph, DParagraph)                                                                       \
    X(List, DList)                                                                                 \
    X(Link, DLink)                                                                                 \
    X(Table, DTable)                                                                               \
    X(Row, DRow)                                                                                   \
    X(Cell, DCell)                                                                                 \
    X(CellText, DCellText)                                                                         \
    X(PopupLink, DPopupLink)                                                                       \
    X(Popup, DPopup)                                                                               \
    X(Summary, DSummary)                                                                           \
    X(Index, DIndex)                                                                               \
    X(Graphic, DGraphic)                                                                           \
    X(Curve, DCurve)                                                                               \
    X(PageBreak, DPageBreak)                                                                       \
    X(Text, DText)                                                                                 \
    X(Image, DImage)                                                                               \
    X(Tag, DTag)                                                                                   \
    X(TagPointer, DTagPointer)                                                                     \
    X(SEntry, DSEntry)                                                                             \
    X(IEntry, DIEntry)                                                                             \
    X(Point, DPoint)                                                                               \
    X(Axis, DAxis)

#define D_COUNT_ONE(kind, Class) +1
static_assert(0 D_ITEM_CLASSES(D_COUNT_ONE) == DItem::KindCount, "every kind has its class");
#undef D_COUNT_ONE

void DItem::destroy(DItem* item)
{
    if (!item)
        return;
    switch (item->kind()) {
#define D_DESTROY(kind, Class)                                                                     \
    case kind:                                                                                     \
        delete static_cast<Class*>(item);                                                          \
        return;
        D_ITEM_CLASSES(D_DESTROY)
#undef D_DESTROY
    case KindCount:
        break;
    }
    Q_UNREACHABLE();
}

DItem* DItem::clone() const
{
    switch (m_kind) {
#define D_COPY(kind, Class)                                                                        \
    case kind:                                                                                     \
        return new Class(*static_cast<const Class*>(this));
        D_ITEM_CLASSES(D_COPY)
#undef D_COPY
    case KindCount:
        break;
    }
    Q_UNREACHABLE();
    return nullptr;
}

DItem::DItem(const DItem& other)
    : m_kind(other.m_kind), m_kindData{other.m_kindData[0], other.m_kindData[1]}
{
    setStyle(other.style());
    setName(other.name());
}

DItem::~DItem()
{
    if (hasExtra())
        delete extra();
}

void DItem::setStyle(DStyle* style)
{
    if (hasExtra())
        extra()->style = style;
    else
        m_styleOrExtra = reinterpret_cast<quintptr>(style);
}

void DItem::setName(const QString& name)
{
    if (hasExtra()) {
        if (!name.isNull()) {
            extra()->name = name;
            return;
        }
        DStyle* kept = extra()->style;
        delete extra();
        m_styleOrExtra = reinterpret_cast<quintptr>(kept);
    } else if (!name.isNull()) {
        auto* added = new Extra{style(), name};
        m_styleOrExtra = reinterpret_cast<quintptr>(added) | 1;
    }
}

const QString& DItem::noName()
{
    static const QString none;
    return none;
}

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
