#ifndef DITEM_H
#define DITEM_H

#include <QString>

#include <memory>

class DItemContainer;
class DLink;
class DStyle;

// One item of a document. Items form a tree through parent, next sibling and
// (for containers) first child; a container owns its children.
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

    virtual ~DItem();
    DItem& operator=(const DItem&) = delete;

    // A copy of this item (kind, style, name and kind data), without links.
    virtual DItem* clone() const = 0;

    Kind kind() const { return m_kind; }
    bool isContainer() const { return m_kind < PageBreak; }
    // Element name of a kind in the markup ("SECTION" for Section).
    static const char* kindName(Kind kind);

    DItemContainer* parent() const { return m_parent; }
    void setParent(DItemContainer* parent) { m_parent = parent; }
    DItem* next() const { return m_next; }
    void setNext(DItem* next) { m_next = next; }
    DStyle* style() const { return m_style; }
    void setStyle(DStyle* style) { m_style = style; }
    // The item's name; a null string when it has none.
    const QString& name() const { return m_name ? *m_name : noName(); }
    void setName(const QString& name);

    DItemContainer* toContainer();
    const DItemContainer* toContainer() const;
    DLink* toLink();
    const DLink* toLink() const;

protected:
    explicit DItem(Kind kind) : m_kind(kind) {}
    DItem(const DItem& other);

private:
    static const QString& noName();

    DItemContainer* m_parent = nullptr;
    DItem* m_next = nullptr;
    DStyle* m_style = nullptr;
    // Few items have a name: a pointer keeps the others 16 bytes smaller.
    std::unique_ptr<QString> m_name;
    Kind m_kind;

protected:
    // Two small numbers of a kind's own (a cell's spans, a title's level),
    // kept in what would otherwise be padding after the kind.
    quint16 m_kindData[2] = {0, 0};
};

#endif
