#include "qareporterfilterwriter.h"

#include "ditems.h"
#include "qaprogresspulse.h"
#include "qareporterdatatree.h"
#include "qareporterfiltercriteria.h"

QAReporterFilterWriter::QAReporterFilterWriter(const QAReporterFilterCriteria* criteria)
    : DIterator(nullptr), m_criteria(criteria)
{
}

QAReporterFilterWriter::~QAReporterFilterWriter()
{
    delete m_tree;
    delete m_document;
}

std::unique_ptr<QAReporterDataTree> QAReporterFilterWriter::takeTree()
{
    std::unique_ptr<QAReporterDataTree> tree(m_tree);
    m_tree = nullptr;
    return tree;
}

std::unique_ptr<DDocument> QAReporterFilterWriter::takeDocument()
{
    std::unique_ptr<DDocument> document(m_document);
    m_document = nullptr;
    return document;
}

void QAReporterFilterWriter::clearTree()
{
    delete m_tree;
    m_tree = nullptr;
    m_rejected.clear();
    m_bindings.clear();
}

// Walks the source tree in pre-order and repeats each step's moves on the
// filtered tree, so that the filtered cursor stands on the copy of the
// source node's parent whenever that parent was kept. Downs that find no
// child there (the parent was left out, or, for the first step, the root
// has no children yet) are counted instead and undone by the Ups that
// match them; the count starts at -1 for that first step.
QAReporterDataTree* QAReporterFilterWriter::buildTree(QAReporterDataTree* source)
{
    clearTree();
    if (!m_criteria || !source || !source->iterator())
        return nullptr;
    QAReporterNode* root = source->iterator()->toRoot();
    if (!root || m_criteria->match(root) != QAReporterFilterCriteria::AllFields)
        return nullptr;
    m_tree = new QAReporterDataTree(new QAReporterNode(*root));
    keepNode(m_tree->root()->data);

    QList<bool> rejectedOnPath{false}; // per depth of the current source path
    int notEntered = -1;
    while (QAReporterNode* node = source->next(PreOrder)) {
        QAProgressPulse::tick();
        for (IterateDirection move : source->history()) {
            if (move == Up) {
                if (notEntered > 0)
                    --notEntered;
                else
                    m_tree->toParent();
            } else if (move == Down) {
                if (!m_tree->toLastChild())
                    ++notEntered;
            }
        }
        const int depth = source->iterator()->depth();
        rejectedOnPath.resize(depth + 1);
        const bool rejected = rejectedOnPath.at(depth - 1) ||
                              m_criteria->match(node) != QAReporterFilterCriteria::AllFields;
        rejectedOnPath[depth] = rejected;
        if (rejected) {
            rejectNode(node);
        } else {
            auto* kept = new QAReporterNode(*node);
            m_tree->appendChild(kept);
            keepNode(kept);
        }
    }
    m_tree->iterator()->toRoot();
    return m_tree;
}

// A kept node still points to source items; it is re-bound to their
// copies as the document is copied.
void QAReporterFilterWriter::keepNode(QAReporterNode* node)
{
    if (node->startItem)
        m_bindings[node->startItem].starting.append(node);
    if (node->endItem)
        m_bindings[node->endItem].ending.append(node);
}

void QAReporterFilterWriter::rejectNode(QAReporterNode* node)
{
    m_rejected.append(node);
    if (node->startItem) {
        Binding& binding = m_bindings[node->startItem];
        if (!binding.firstRejected)
            binding.firstRejected = node;
    }
}

QAReporterFilterWriter::Binding* QAReporterFilterWriter::bindingOf(const DItem* item)
{
    const auto found = m_bindings.find(item);
    return found == m_bindings.end() ? nullptr : &found.value();
}

void QAReporterFilterWriter::doAll(DDocument* document)
{
    delete m_document;
    m_document = nullptr;
    m_walk.clear();
    m_output.clear();
    m_droppedDepth = 0;
    m_skipping = nullptr;
    if (document)
        doItem(document);
    unbindRest();
    endParentsWithLastChild();
}

// A kept parent ends where its last kept child ends, so that its range
// does not reach past what the filter kept of it. Children are done before
// their parent (post-order), with an explicit stack: no recursion along
// deep trees or long sibling chains.
void QAReporterFilterWriter::endParentsWithLastChild()
{
    if (!m_tree || !m_tree->root())
        return;
    using TreeNode = QTreeNode<QAReporterNode>;
    struct Pending
    {
        TreeNode* node;
        bool childrenDone;
    };
    QList<Pending> pending{{m_tree->root(), false}};
    while (!pending.isEmpty()) {
        Pending& top = pending.last();
        TreeNode* node = top.node;
        if (!top.childrenDone) {
            top.childrenDone = true;
            for (TreeNode* child : std::as_const(node->children))
                pending.append({child, false});
            continue;
        }
        pending.removeLast();
        if (node->children.isEmpty() || !node->data)
            continue;
        const QAReporterNode* last = node->children.last()->data;
        if (last && last->endItem)
            node->data->endItem = last->endItem;
    }
}

// Nodes whose items were never met (not in this document) must not keep
// pointing into the source document.
void QAReporterFilterWriter::unbindRest()
{
    for (Binding& binding : m_bindings) {
        for (QAReporterNode* node : std::as_const(binding.starting))
            node->startItem = nullptr;
        for (QAReporterNode* node : std::as_const(binding.ending))
            node->endItem = nullptr;
    }
    m_bindings.clear();
}

// Whether the item goes into the copy. Starting a rejected node's range
// drops everything up to the node's end item.
bool QAReporterFilterWriter::keep(const DItem* item, const Binding* binding)
{
    if (m_skipping) {
        if (item == m_skipping->endItem)
            m_skipping = nullptr;
        return false;
    }
    if (!binding || !binding->firstRejected)
        return true;
    const QAReporterNode* node = binding->firstRejected;
    if (node->endItem && node->endItem != item) {
        m_skipping = node;
        m_skipDepth = m_walk.size();
    }
    return false;
}

// Decides about the item, copies and links it when kept, and binds the
// nodes that start there. Returns the copy, or null when dropped.
DItem* QAReporterFilterWriter::place(DItem* item, Binding* binding, bool tagAllowed)
{
    const bool kept = keep(item, binding) && m_droppedDepth == 0;
    const bool isRoot = m_output.isEmpty();
    if (!kept || (isRoot && (item->kind() != DItem::Document || m_document))) {
        bindStart(binding, placeOfDropped());
        return nullptr;
    }
    DItem* copy = item->clone();
    if (isRoot) {
        m_document = static_cast<DDocument*>(copy);
        if (m_tree && m_tree->root()->data)
            m_tree->root()->data->setId(m_document->name());
    } else {
        if (tagAllowed && binding && !binding->starting.isEmpty())
            link(new DTag);
        link(copy);
    }
    bindStart(binding, copy);
    return copy;
}

void QAReporterFilterWriter::link(DItem* copy)
{
    Level& level = m_output.last();
    level.container->insertAfter(level.lastAdded, copy);
    level.lastAdded = copy;
}

// Where nodes bound to a dropped item go: the item added last at the
// current output level, else the open output container.
DItem* QAReporterFilterWriter::placeOfDropped() const
{
    if (m_output.isEmpty())
        return nullptr;
    const Level& level = m_output.last();
    return level.lastAdded ? level.lastAdded : level.container;
}

void QAReporterFilterWriter::bindStart(Binding* binding, DItem* copy)
{
    if (!binding)
        return;
    for (QAReporterNode* node : std::as_const(binding->starting))
        node->startItem = copy;
    binding->starting.clear();
}

void QAReporterFilterWriter::bindEnd(Binding* binding, DItem* copy)
{
    if (!binding)
        return;
    for (QAReporterNode* node : std::as_const(binding->ending))
        node->endItem = copy;
    binding->ending.clear();
}

DItem* QAReporterFilterWriter::visitLeaf(DItem* item, DItem::Kind kind, bool tagAllowed)
{
    if (item->kind() != kind)
        return nullptr;
    QAProgressPulse::tick();
    Binding* binding = bindingOf(item);
    DItem* copy = place(item, binding, tagAllowed);
    bindEnd(binding, copy ? copy : placeOfDropped());
    return copy;
}

// Opens the container's copy (or notes that it is dropped) and enters its
// children.
void QAReporterFilterWriter::visitContainer(DItemContainer* item, DItem::Kind kind)
{
    if (item->kind() != kind)
        return;
    QAProgressPulse::tick();
    Binding* binding = bindingOf(item);
    DItem* copy = place(item, binding, true);
    if (copy)
        m_output.append({copy->toContainer(), nullptr});
    else
        ++m_droppedDepth;
    m_walk.append({copy, binding});
    doItemChildren(item);
}

void QAReporterFilterWriter::leaveItemChildren(DItemContainer*)
{
    const Frame frame = m_walk.takeLast();
    if (frame.copy) {
        m_output.removeLast();
        bindEnd(frame.binding, frame.copy);
    } else {
        --m_droppedDepth;
        bindEnd(frame.binding, placeOfDropped());
    }
    // A node's items all lie inside the container holding its start item;
    // leaving that container ends a skip whose end item was never met.
    if (m_skipping && m_walk.size() < m_skipDepth)
        m_skipping = nullptr;
}

void QAReporterFilterWriter::doDocument(DDocument* item)
{
    visitContainer(item, DItem::Document);
}

void QAReporterFilterWriter::doSection(DSection* item)
{
    visitContainer(item, DItem::Section);
}

void QAReporterFilterWriter::doTitle(DTitle* item)
{
    visitContainer(item, DItem::Title);
}

void QAReporterFilterWriter::doHeader(DHeader* item)
{
    visitContainer(item, DItem::Header);
}

void QAReporterFilterWriter::doFooter(DFooter* item)
{
    visitContainer(item, DItem::Footer);
}

void QAReporterFilterWriter::doParagraph(DParagraph* item)
{
    visitContainer(item, DItem::Paragraph);
}

void QAReporterFilterWriter::doList(DList* item)
{
    visitContainer(item, DItem::List);
}

void QAReporterFilterWriter::doLink(DLink* item)
{
    visitContainer(item, DItem::Link);
}

void QAReporterFilterWriter::doTable(DTable* item)
{
    visitContainer(item, DItem::Table);
}

void QAReporterFilterWriter::doRow(DRow* item)
{
    visitContainer(item, DItem::Row);
}

void QAReporterFilterWriter::doCell(DCell* item)
{
    visitContainer(item, DItem::Cell);
}

void QAReporterFilterWriter::doCellText(DCellText* item)
{
    visitContainer(item, DItem::CellText);
}

void QAReporterFilterWriter::doPopupLink(DPopupLink* item)
{
    visitContainer(item, DItem::PopupLink);
}

void QAReporterFilterWriter::doPopup(DPopup* item)
{
    visitContainer(item, DItem::Popup);
}

void QAReporterFilterWriter::doSummary(DSummary* item)
{
    visitContainer(item, DItem::Summary);
}

void QAReporterFilterWriter::doIndex(DIndex* item)
{
    visitContainer(item, DItem::Index);
}

void QAReporterFilterWriter::doGraphic(DGraphic* item)
{
    visitContainer(item, DItem::Graphic);
}

void QAReporterFilterWriter::doCurve(DCurve* item)
{
    visitContainer(item, DItem::Curve);
}

void QAReporterFilterWriter::doPageBreak(DPageBreak* item)
{
    visitLeaf(item, DItem::PageBreak);
}

void QAReporterFilterWriter::doText(DText* item)
{
    visitLeaf(item, DItem::Text);
}

void QAReporterFilterWriter::doImage(DImage* item)
{
    visitLeaf(item, DItem::Image);
}

void QAReporterFilterWriter::doTag(DTag* item)
{
    visitLeaf(item, DItem::Tag);
}

void QAReporterFilterWriter::doTagPointer(DTagPointer* item)
{
    visitLeaf(item, DItem::TagPointer);
}

void QAReporterFilterWriter::doSEntry(DSEntry* item)
{
    visitLeaf(item, DItem::SEntry);
}

void QAReporterFilterWriter::doIEntry(DIEntry* item)
{
    visitLeaf(item, DItem::IEntry);
}

void QAReporterFilterWriter::doPoint(DPoint* item)
{
    if (DItem* copy = visitLeaf(item, DItem::Point))
        static_cast<DPoint*>(copy)->copyCoord(*item);
}

// A chart holds axes and curves only: no anchor goes before an axis.
void QAReporterFilterWriter::doAxis(DAxis* item)
{
    visitLeaf(item, DItem::Axis, false);
}
