#ifndef DAMLWRITER_H
#define DAMLWRITER_H

#include "diterator.h"

#include <QList>
#include <QXmlStreamWriter>

class QIODevice;
class QString;
class DItem;

// Writes a document as AML markup, so that reading the output back gives
// the same document (item kinds, names, style names, texts and kind data).
// Texts and attributes are escaped; characters that XML cannot carry are
// left out.
class DAmlWriter : public DIterator
{
public:
    explicit DAmlWriter(QIODevice* device);
    explicit DAmlWriter(QString* output);
    ~DAmlWriter() override;
    DAmlWriter(const DAmlWriter&) = delete;
    DAmlWriter& operator=(const DAmlWriter&) = delete;

    // Line breaks and indentation between elements (never inside items
    // that hold text, where they would become part of the text).
    void setAutoFormatting(bool on);

    // Writes the document element (no XML declaration).
    void doAll(DDocument* document) override;
    // Writes any item with its subtree.
    void write(DItem* item);
    bool hasError() const { return m_xml.hasError(); }

    // The document as compact AML text.
    static QString toAml(DDocument* document);

    // Kinds without data of their own: the element and its children.
    void visitItem(DItem* item) override;
    void doDocument(DDocument* item) override;
    void doTitle(DTitle* item) override;
    void doLink(DLink* item) override;
    void doTable(DTable* item) override;
    void doCell(DCell* item) override;
    void doCellText(DCellText* item) override;
    void doPopupLink(DPopupLink* item) override;
    void doGraphic(DGraphic* item) override;
    void doCurve(DCurve* item) override;
    void doText(DText* item) override;
    void doImage(DImage* item) override;
    void doTagPointer(DTagPointer* item) override;
    void doSEntry(DSEntry* item) override;
    void doIEntry(DIEntry* item) override;
    void doPoint(DPoint* item) override;
    void doAxis(DAxis* item) override;

protected:
    void leaveItemChildren(DItemContainer* container) override;
    // Runs right before the start tag of every item, so that a subclass can
    // put markup of its own between items.
    virtual void beforeStartTag(const DItem* item);
    QXmlStreamWriter& xml() { return m_xml; }

private:
    void startItem(const DItem* item);
    void attribute(const char* name, const QString& value);
    void attribute(const char* name, double value);
    void characters(const QString& text);
    void spanAttributes(const DCell* cell);
    // Opens the container's element content; its children follow.
    void enter(DItemContainer* item);
    void enter(DItemContainer* item, bool formatting);

    QXmlStreamWriter m_xml;
    QList<bool> m_formattingToRestore; // per open container, after its end tag
    bool m_formatting = false;
};

#endif
