#ifndef DHTMLWRITER_H
#define DHTMLWRITER_H

#include "dhtmlpictures.h"
#include "ditem.h"
#include "diterator.h"

#include <QHash>
#include <QSet>
#include <QStringList>

class DHTMLRes;
class QTextStream;

// Writes the items of a document as HTML5 to a text stream, one visit per
// item kind. A document is written as the body of one page; DExportHtml
// opens the page, sets the stream and the configuration, and closes it.
// Every text and attribute it writes is escaped. Subclasses change how
// some kinds are written, links in particular: they write an opening tag,
// enter the link's children with doItemChildren and name the text that
// follows the children with closeChildrenWith.
class DHTMLWriter : public DIterator
{
public:
    // Files: pages are written to files by DExportHtml (onFile() is true).
    enum Mode { Stream = 0, Files = 1 };

    DHTMLWriter();
    ~DHTMLWriter() override;

    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }
    bool onFile() const { return m_mode == Files; }

    // The stream written to; not owned.
    void setStream(QTextStream* stream) { m_stream = stream; }
    QTextStream* stream() const { return m_stream; }

    // The export's settings; not owned. Never null once an export runs.
    void setConfig(const DHTMLRes* config) { m_config = config; }
    const DHTMLRes* config() const { return m_config; }

    // Pictures that image items name, looked for in these folders in
    // order, are copied next to the pages (DExportHtml fills this).
    void setImageFolders(const QStringList& folders) { m_imageFolders = folders; }
    const QStringList& imageFolders() const { return m_imageFolders; }

    // Writes text as HTML text / as the value of a double-quoted attribute.
    static QString escapeText(const QString& text);
    static QString escapeAttribute(const QString& text);

    // Writes the document: collects its item names first (links to them
    // stay on the page), then every item.
    void doAll(DDocument* document) override;
    // Forgets what the last page left: ids, pictures, open elements, cancel.
    void reset();

    // Whether the page being written is the document of that tag or holds
    // an item of that name (collected before the first item is written).
    bool isOnPage(const QString& name) const
    {
        return !name.isEmpty() && (name == m_documentTag || m_names.contains(name));
    }

    // Called every few thousand items; when it was canceled, the writer
    // stops writing (wasCanceled() is then true). Not owned.
    void setProgressMonitor(QAIProgressMonitor* progress) { m_progressMonitor = progress; }
    bool wasCanceled() const { return m_canceled; }
    // Items visited since the last reset.
    qint64 itemCount() const { return m_itemCount; }

    // The pictures the written items showed, found or missing.
    const DHtmlPictures& pictures() const { return m_pictures; }

    // The href written for a link target, empty when it gets none.
    QString hrefFor(const QString& target);
    // The href of the item of that name: its anchor on this page, else
    // hrefForAbsentItem.
    QString hrefForItem(const QString& name);

    void doItemChildren(DItemContainer* container) override;

    void doDocument(DDocument* item) override;
    void doSection(DSection* item) override;
    void doTitle(DTitle* item) override;
    void doHeader(DHeader* item) override;
    void doFooter(DFooter* item) override;
    void doParagraph(DParagraph* item) override;
    void doList(DList* item) override;
    void doTable(DTable* item) override;
    void doRow(DRow* item) override;
    void doCell(DCell* item) override;
    void doCellText(DCellText* item) override;
    void doPopupLink(DPopupLink* item) override;
    void doPopup(DPopup* item) override;
    void doSummary(DSummary* item) override;
    void doIndex(DIndex* item) override;
    void doGraphic(DGraphic* item) override;
    void doCurve(DCurve* item) override;
    void doPageBreak(DPageBreak* item) override;
    void doText(DText* item) override;
    void doImage(DImage* item) override;
    void doTag(DTag* item) override;
    void doTagPointer(DTagPointer* item) override;
    void doSEntry(DSEntry* item) override;
    void doIEntry(DIEntry* item) override;
    void doPoint(DPoint* item) override;
    void doAxis(DAxis* item) override;
    void doLink(DLink* link) override;
    // Writes a link item: by default an <a> whose href is the target when
    // the target is a web address, a relative file or an anchor, and no
    // href otherwise (scripts and other schemes are never written).
    virtual void doLink(DItem* item);

    // After doItemChildren(container), writes html once the container's
    // children have all been written (also when it has none).
    void closeChildrenWith(const QString& html);

protected:
    // The page of the document with that tag; empty when there is none.
    // By default the page DExportHtml names after the tag.
    virtual QString hrefForDocument(const QString& tag);
    // Where an item this page does not hold is, empty when nowhere (the
    // default): a page that shows part of a report may send it to the page
    // of the whole report.
    virtual QString hrefForAbsentItem(const QString& name);
    // The tag of the document being written.
    const QString& pageTag() const { return m_documentTag; }

    void leaveItemChildren(DItemContainer* container) override;
    QTextStream& out() { return *m_stream; }
    // The attributes every element of an item carries: id (the item's name,
    // the first time it is met) and class (the kind's, then the style's).
    QString attributes(DItem* item, const QString& kindClass = QString());
    // Writes <tag attributes>, enters the container and closes it after.
    void openContainer(DItemContainer* item, const QString& tag,
                       const QString& kindClass = QString());

private:
    // An entered container and what is written once its children are.
    struct Open
    {
        DItemContainer* container;
        QString closing;
    };
    // What a visit writes around its item, for the item's parent: <li> in
    // lists, a cell or row in tables.
    struct Wrap
    {
        bool write = true;
        qsizetype depth = 0;
        QString after;
    };

    Wrap beginItem(DItem* item);
    void endItem(const Wrap& wrap);
    DItem::Kind parentKind() const;
    void countItem();
    void writeEntry(DItem* item, const QString& target, const QString& text);
    void collectNames(DDocument* document);

    Mode m_mode = Stream;
    QTextStream* m_stream = nullptr;
    const DHTMLRes* m_config = nullptr;
    QStringList m_imageFolders;
    QList<Open> m_open;
    // closeChildrenWith names the closing of this entered container, until
    // the next item is visited.
    qsizetype m_closable = -1;
    QAIProgressMonitor* m_progressMonitor = nullptr;
    qint64 m_itemCount = 0;
    qint64 m_totalItems = 0;
    bool m_canceled = false;
    DHtmlPictures m_pictures;
    QSet<QString> m_usedIds;
    QSet<QString> m_names;
    QString m_documentTag;
    // Popups written inside the <details> their link opened, with what
    // closes the pair's wrapping.
    QHash<const DItem*, QString> m_pairedPopups;
};

#endif
