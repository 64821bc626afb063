#ifndef DITEM_H
#define DITEM_H

#include <QString>

class DItemContainer;
class DLink;
class DStyle;

// One item of a document. Items form a tree through parent, next sibling and
// (for containers) first child; a container owns its children.
//
// Documents hold millions of items, so an item has no virtual table: what
// differs by kind (copy, destruction) goes through the kind, and an item of
// unknown class is deleted with destroy() (or held with Deleter).
class DItem
{
public:
    // Containers come first, leaves from PageBreak on.
    enum Kind : quint8 {
        Document,
        Section,
        Title,
        Header,
        Footer,
        Paragraph,
        List,
        Link,
        Table,
        Row,
        Cell,
        CellText,
        PopupLink,
        Popup,
        Summary,
        Index,
        Graphic,
        Curve,
        PageBreak,
        Text,
        Image,
        Tag,
        TagPointer,
        SEntry,
        IEntry,
        Point,
        Axis,
        KindCount
    };

    DItem& operator=(const DItem&) = delete;

    // Deletes an item, with its children, as the class of its kind.
    static void destroy(DItem* item);
    struct Deleter
    {
        void operator()(DItem* item) const { destroy(item); }
    };

    // A copy of this item (kind, style, name and kind data), without links.
    DItem* clone() const;

    Kind kind() const { return m_kind; }
    bool isContainer() const { return m_kind < PageBreak; }
    // Element name of a kind in the markup ("SECTION" for Section).
    static const char* kindName(Kind kind);

    DItemContainer* parent() const { return m_parent; }
    void setParent(DItemContainer* parent) { m_parent = parent; }
    DItem* next() const { return m_next; }
    void setNext(DItem* next) { m_next = next; }
    DStyle* style() const
    {
        return hasExtra() ? extra()->style : reinterpret_cast<DStyle*>(m_styleOrExtra);
    }
    void setStyle(DStyle* style);
    // The item's name; a null string when it has none.
    const QString& name() const { return hasExtra() ? extra()->name : noName(); }
    void setName(const QString& name);

    DItemContainer* toContainer();
    const DItemContainer* toContainer() const;
    DLink* toLink();
    const DLink* toLink() const;

protected:
    explicit DItem(Kind kind) : m_kind(kind) {}
    DItem(const DItem& other);
    ~DItem();

private:
    // The style and name of an item that has a name.
    struct Extra
    {
        DStyle* style;
        QString name;
    };
    static const QString& noName();
    bool hasExtra() const { return m_styleOrExtra & 1; }
    Extra* extra() const { return reinterpret_cast<Extra*>(m_styleOrExtra & ~quintptr(1)); }

    DItemContainer* m_parent = nullptr;
    DItem* m_next = nullptr;
    // Few items have a name: those that have one keep it, with their style,
    // in an Extra; the others keep only their style. The low bit of the
    // address tells the two apart (a style is at least 2-aligned), which
    // saves every item a pointer.
    quintptr m_styleOrExtra = 0;
    Kind m_kind;

protected:
    // Two small numbers of a kind's own (a cell's spans, a title's level),
    // kept in what would otherwise be padding after the kind.
    quint16 m_kindData[2] = {0, 0};
};

#endif
