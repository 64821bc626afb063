#include "qareporterlinkindex.h"

#include "ddocument.h"
#include "dlink.h"
#include "qaprogresspulse.h"
#include "qareporterdata.h"

#include <vector>

namespace {

constexpr int None = -1;

using TreeNode = QTreeNode<QAReporterNode>;

// Indexes the links of one record into the result, in one pre-order pass
// over its tree and one over its document, both with explicit stacks.
class RecordIndexer
{
public:
    explicit RecordIndexer(QHash<const DItem*, QAReporterNode*>& result) : m_result(result) {}

    void index(TreeNode* root, DItem* document)
    {
        collectNodes(root);
        chainByItem();
        walk(document);
    }

private:
    enum State : quint8 { Waiting, Open, Closed };

    struct NodeInfo
    {
        QAReporterNode* node;
        int anchor;        // the node that gives this one its base
        int postOrder = 0; // children before their parent
        int nextStarting;  // next node with the same start item
        int nextEnding;    // next node with the same end item
        State state = Waiting;
    };

    // A container whose children are being walked, and how many nodes were
    // opened before its children were entered.
    struct Level
    {
        DItem* container;
        size_t openedBefore;
    };

    void collectNodes(TreeNode* root);
    int addNode(const TreeNode* treeNode, int parent);
    void chainByItem();
    void walk(DItem* document);
    void enter(DItem* item);
    void finish(const DItem* item);
    void open(int node);
    void closeOpenedSince(size_t mark);
    int innermostOpen();
    static int firstOf(const QHash<const DItem*, int>& heads, const DItem* item);

    QHash<const DItem*, QAReporterNode*>& m_result;
    std::vector<NodeInfo> m_nodes; // in tree pre-order
    QHash<const DItem*, int> m_firstStarting;
    QHash<const DItem*, int> m_firstEnding;
    // Open nodes, the first in children-before-parent order on top. Closed
    // nodes leave lazily, when they come to the top.
    std::vector<int> m_open;
    std::vector<int> m_lifted;
    // Nodes opened at each level of the walk, outermost level first.
    std::vector<int> m_openedAtLevel;
};

void RecordIndexer::collectNodes(TreeNode* root)
{
    struct Pending
    {
        const TreeNode* treeNode;
        int index;
        qsizetype nextChild;
    };
    int postOrder = 0;
    std::vector<Pending> pending{{root, addNode(root, None), 0}};
    while (!pending.empty()) {
        QAProgressPulse::tick();
        Pending& top = pending.back();
        if (top.nextChild < top.treeNode->children.size()) {
            const TreeNode* child = top.treeNode->children.at(top.nextChild++);
            const int index = addNode(child, top.index);
            pending.push_back({child, index, 0});
            continue;
        }
        m_nodes[size_t(top.index)].postOrder = postOrder++;
        pending.pop_back();
    }
}

// A node without data holds no link and passes its parent's anchor on.
int RecordIndexer::addNode(const TreeNode* treeNode, int parent)
{
    const int index = int(m_nodes.size());
    QAReporterNode* node = treeNode->data;
    const bool anchors = parent == None || (node && !node->base.isEmpty());
    const int anchor = anchors ? index : m_nodes[size_t(parent)].anchor;
    m_nodes.push_back({node, anchor, 0, None, None});
    return index;
}

// Chains the nodes by start and by end item, each chain in pre-order, so
// that nested ranges sharing a start open outermost first.
void RecordIndexer::chainByItem()
{
    for (int index = int(m_nodes.size()) - 1; index >= 0; --index) {
        QAProgressPulse::tick();
        NodeInfo& info = m_nodes[size_t(index)];
        if (!info.node)
            continue;
        if (const DItem* start = info.node->startItem) {
            info.nextStarting = firstOf(m_firstStarting, start);
            m_firstStarting.insert(start, index);
        }
        if (const DItem* end = info.node->endItem) {
            info.nextEnding = firstOf(m_firstEnding, end);
            m_firstEnding.insert(end, index);
        }
    }
}

int RecordIndexer::firstOf(const QHash<const DItem*, int>& heads, const DItem* item)
{
    const auto found = heads.constFind(item);
    return found == heads.constEnd() ? None : found.value();
}

// Pre-order over the document. The outermost level holds the document
// alone (its container is null).
void RecordIndexer::walk(DItem* document)
{
    std::vector<Level> levels{{nullptr, 0}};
    DItem* item = document;
    while (true) {
        QAProgressPulse::tick();
        enter(item);
        DItemContainer* container = item->toContainer();
        if (container && container->first()) {
            levels.push_back({item, m_openedAtLevel.size()});
            item = container->first();
            continue;
        }
        while (true) {
            finish(item);
            if (levels.size() > 1 && item->next()) {
                item = item->next();
                break;
            }
            // Leaving a container closes the ranges that started in it.
            const Level done = levels.back();
            levels.pop_back();
            closeOpenedSince(done.openedBefore);
            if (levels.empty())
                return;
            item = done.container;
        }
    }
}

// Opens the ranges starting at the item and, for a link, records its
// node: the first open range in children-before-parent order, or a range
// that merely ends at the link.
void RecordIndexer::enter(DItem* item)
{
    for (int node = firstOf(m_firstStarting, item); node != None;
         node = m_nodes[size_t(node)].nextStarting)
        open(node);
    if (!item->toLink() || m_result.contains(item))
        return;
    int best = innermostOpen();
    for (int node = firstOf(m_firstEnding, item); node != None;
         node = m_nodes[size_t(node)].nextEnding) {
        if (best == None || m_nodes[size_t(node)].postOrder < m_nodes[size_t(best)].postOrder)
            best = node;
    }
    if (best != None)
        m_result.insert(item, m_nodes[size_t(m_nodes[size_t(best)].anchor)].node);
}

// The item and everything under it were walked: the ranges ending there
// are done.
void RecordIndexer::finish(const DItem* item)
{
    for (int node = firstOf(m_firstEnding, item); node != None;
         node = m_nodes[size_t(node)].nextEnding) {
        NodeInfo& info = m_nodes[size_t(node)];
        if (info.state == Open)
            info.state = Closed;
    }
}

// Nested ranges open in order, each on top of the one holding it. A range
// that starts before an earlier sibling's range is done goes under it.
void RecordIndexer::open(int node)
{
    NodeInfo& info = m_nodes[size_t(node)];
    if (!info.node)
        return;
    info.state = Open;
    m_openedAtLevel.push_back(node);
    while (!m_open.empty() && m_nodes[size_t(m_open.back())].postOrder < info.postOrder) {
        if (m_nodes[size_t(m_open.back())].state == Open)
            m_lifted.push_back(m_open.back());
        m_open.pop_back();
    }
    m_open.push_back(node);
    while (!m_lifted.empty()) {
        m_open.push_back(m_lifted.back());
        m_lifted.pop_back();
    }
}

void RecordIndexer::closeOpenedSince(size_t mark)
{
    for (size_t i = mark; i < m_openedAtLevel.size(); ++i)
        m_nodes[size_t(m_openedAtLevel[i])].state = Closed;
    m_openedAtLevel.resize(mark);
}

int RecordIndexer::innermostOpen()
{
    while (!m_open.empty() && m_nodes[size_t(m_open.back())].state != Open)
        m_open.pop_back();
    return m_open.empty() ? None : m_open.back();
}

} // namespace

void QAReporterLinkIndex::clear()
{
    m_nodes = {};
}

void QAReporterLinkIndex::build(const QList<QAReporterData*>& records)
{
    clear();
    for (const QAReporterData* record : records) {
        if (!record || !record->tree || !record->tree->root() || !record->document)
            continue;
        TreeNode* root = record->tree->root();
        if (!root->data)
            continue;
        RecordIndexer(m_nodes).index(root, record->document.get());
    }
    m_nodes.squeeze();
}

QAReporterNode* QAReporterLinkIndex::nodeOf(const DLink* link) const
{
    return m_nodes.value(link, nullptr);
}
