#ifndef DITERATOR_H
#define DITERATOR_H

#include <QList>

class QAIProgressMonitor;
class DItem;
class DItemContainer;
class DDocument;
class DSection;
class DTitle;
class DHeader;
class DFooter;
class DParagraph;
class DList;
class DLink;
class DTable;
class DRow;
class DCell;
class DCellText;
class DPopupLink;
class DPopup;
class DSummary;
class DIndex;
class DGraphic;
class DCurve;
class DPageBreak;
class DText;
class DImage;
class DTag;
class DTagPointer;
class DSEntry;
class DIEntry;
class DPoint;
class DAxis;

// Walks a document in document order, calling one visit per item kind.
// Container visits enter their children through doItemChildren (the
// default visit of every container does). The walk keeps an explicit stack:
// the children a visit enters are visited once that visit has returned,
// then leaveItemChildren runs for their container. So no document, however
// deep, makes the walk recurse. Every per-kind visit falls back to
// visitItem, so a walker that treats most kinds alike overrides that one.
class DIterator
{
public:
    explicit DIterator(QAIProgressMonitor* progress = nullptr);
    virtual ~DIterator();

    virtual void doAll(DDocument* document);
    // Visits the item, then everything its visit entered.
    void doItem(DItem* item);
    // Enters the container: its children are visited next.
    virtual void doItemChildren(DItemContainer* container);
    // What every per-kind visit does unless overridden: enters containers.
    virtual void visitItem(DItem* item);

    virtual void doDocument(DDocument* item);
    virtual void doSection(DSection* item);
    virtual void doTitle(DTitle* item);
    virtual void doHeader(DHeader* item);
    virtual void doFooter(DFooter* item);
    virtual void doParagraph(DParagraph* item);
    virtual void doList(DList* item);
    virtual void doLink(DLink* item);
    virtual void doTable(DTable* item);
    virtual void doRow(DRow* item);
    virtual void doCell(DCell* item);
    virtual void doCellText(DCellText* item);
    virtual void doPopupLink(DPopupLink* item);
    virtual void doPopup(DPopup* item);
    virtual void doSummary(DSummary* item);
    virtual void doIndex(DIndex* item);
    virtual void doGraphic(DGraphic* item);
    virtual void doCurve(DCurve* item);
    virtual void doPageBreak(DPageBreak* item);
    virtual void doText(DText* item);
    virtual void doImage(DImage* item);
    virtual void doTag(DTag* item);
    virtual void doTagPointer(DTagPointer* item);
    virtual void doSEntry(DSEntry* item);
    virtual void doIEntry(DIEntry* item);
    virtual void doPoint(DPoint* item);
    virtual void doAxis(DAxis* item);

protected:
    QAIProgressMonitor* progressMonitor() const { return m_progress; }
    // Runs after the last child of an entered container has been visited.
    virtual void leaveItemChildren(DItemContainer* container);

private:
    struct Frame
    {
        DItemContainer* container;
        DItem* nextChild;
    };

    void visit(DItem* item);

    QAIProgressMonitor* m_progress;
    QList<Frame> m_frames;
    bool m_walking = false;
};

#endif
