#ifndef QAREPORTERFILTERWRITER_H
#define QAREPORTERFILTERWRITER_H

#include "ditem.h"
#include "diterator.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class DItem;
class QAReporterDataTree;
class QAReporterFilterCriteria;
class QAReporterNode;

// Builds the filtered copy of one report: first its tree (buildTree), which
// keeps the nodes that pass the criteria and lists the rejected ones, then
// its document (doAll), a copy of the source document without the items
// of rejected nodes. The filtered nodes are re-bound to the copied items;
// a null tag is inserted before each copy where a kept node starts. A kept
// node without kept children ends at the copy of its own end item (or where
// the copy stood when that item was dropped); a kept node with kept children,
// the root included, ends where its last kept child ends, unless that child
// has no end item, in which case it keeps its own.
class QAReporterFilterWriter : public DIterator
{
public:
    explicit QAReporterFilterWriter(const QAReporterFilterCriteria* criteria);
    ~QAReporterFilterWriter() override;
    QAReporterFilterWriter(const QAReporterFilterWriter&) = delete;
    QAReporterFilterWriter& operator=(const QAReporterFilterWriter&) = delete;

    void setFileName(const QString& fileName) { m_fileName = fileName; }
    const QString& fileName() const { return m_fileName; }
    void setSourceDocument(DDocument* document) { m_source = document; }
    DDocument* sourceDocument() const { return m_source; }

    // Builds the filtered tree from the source tree and returns it (the
    // writer keeps it until takeTree). Null without criteria, without a
    // source root, or when the root does not pass.
    QAReporterDataTree* buildTree(QAReporterDataTree* source);
    // Source nodes left out of the filtered tree, in pre-order.
    const QList<QAReporterNode*>& rejected() const { return m_rejected; }

    // Copies the document (normally the source document); call after
    // buildTree. Filtered nodes whose items were not met end up unbound;
    // then parents take the end of their last kept child.
    void doAll(DDocument* document) override;

    // Hand the results over to the caller.
    std::unique_ptr<QAReporterDataTree> takeTree();
    std::unique_ptr<DDocument> takeDocument();

    void doDocument(DDocument* item) override;
    void doSection(DSection* item) override;
    void doTitle(DTitle* item) override;
    void doHeader(DHeader* item) override;
    void doFooter(DFooter* item) override;
    void doParagraph(DParagraph* item) override;
    void doList(DList* item) override;
    void doLink(DLink* item) override;
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

protected:
    void leaveItemChildren(DItemContainer* container) override;

private:
    // What the source item at a hash key means for the copy: the first
    // rejected node starting there, and the filtered nodes still bound to
    // it as their start or end.
    struct Binding
    {
        QAReporterNode* firstRejected = nullptr;
        QList<QAReporterNode*> starting;
        QList<QAReporterNode*> ending;
    };
    // A source container being walked, with its copy (null when dropped).
    struct Frame
    {
        DItem* copy;
        Binding* binding;
    };
    // An open container of the output and the item last added to it.
    struct Level
    {
        DItemContainer* container;
        DItem* lastAdded;
    };

    void keepNode(QAReporterNode* node);
    void rejectNode(QAReporterNode* node);
    void clearTree();

    bool keep(const DItem* item, const Binding* binding);
    DItem* place(DItem* item, Binding* binding, bool tagAllowed);
    void visitContainer(DItemContainer* item, DItem::Kind kind);
    DItem* visitLeaf(DItem* item, DItem::Kind kind, bool tagAllowed = true);
    void link(DItem* copy);
    DItem* placeOfDropped() const;
    void bindStart(Binding* binding, DItem* copy);
    void bindEnd(Binding* binding, DItem* copy);
    Binding* bindingOf(const DItem* item);
    void unbindRest();
    void endParentsWithLastChild();

    const QAReporterFilterCriteria* m_criteria;
    QString m_fileName;
    DDocument* m_source = nullptr;

    QAReporterDataTree* m_tree = nullptr;
    QList<QAReporterNode*> m_rejected;
    QHash<const DItem*, Binding> m_bindings;

    DDocument* m_document = nullptr;
    QList<Frame> m_walk; // the source containers being walked, outermost first
    QList<Level> m_output;
    int m_droppedDepth = 0; // open source containers that were dropped
    const QAReporterNode* m_skipping = nullptr;
    qsizetype m_skipDepth = 0; // walk depth where the skipped range began
};

#endif
