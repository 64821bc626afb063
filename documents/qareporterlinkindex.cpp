#include "qareporterlinkindex.h"

#include "ddocument.h"
#include "dlink.h"
#include "qaprogresspulse.h"
#include "qareporterdata.h"

#include <vector>

namespace {

constexpr int None = -1;

using TreeNode = QTreeNode<QAReporterNode>;

// The first node starting and the first node ending at each item that
// starts or ends a node, in one open-addressed table sized once: the walk
// of the document asks it about every item, most of which are in none, so
// a question costs one probe into one flat array instead of a lookup in
// each of two hashes. Before the table, a bit per eight slots' worth of
// items, small enough to stay in the processor's cache, turns most of the
// items that are in none away without a probe into the table.
class ItemHeads
{
public:
    struct Heads
    {
        int starting = None;
        int ending = None;
    };

    // Room for this many items, the table at most three quarters full;
    // clears the table. The table is the largest thing an index build
    // holds, at the moment a report's memory peaks.
    void reserve(size_t items)
    {
        size_t size = 16;
        while (size * 3 < 4 * items)
            size *= 2;
        m_slots.assign(size, Slot());
        m_mask = size - 1;
        // Eight bits per slot, 64 to a word: size / 8 words.
        m_seen.assign(size / 8, 0);
        m_seenMask = size * 8 - 1;
    }

    // The item's heads, added empty when the item has none yet. The table
    // must have room left, as reserve() leaves it.
    Heads& insert(const DItem* item)
    {
        const quint64 key = keyOf(item);
        const size_t bit = size_t(key >> 32) & m_seenMask;
        m_seen[bit / 64] |= quint64(1) << (bit % 64);
        size_t at = size_t(key) & m_mask;
        while (m_slots[at].item && m_slots[at].item != item)
            at = (at + 1) & m_mask;
        m_slots[at].item = item;
        return m_slots[at].heads;
    }

    Heads find(const DItem* item) const
    {
        const quint64 key = keyOf(item);
        const size_t bit = size_t(key >> 32) & m_seenMask;
        if (!(m_seen[bit / 64] & (quint64(1) << (bit % 64))))
            return Heads();
        for (size_t at = size_t(key) & m_mask; m_slots[at].item; at = (at + 1) & m_mask) {
            if (m_slots[at].item == item)
                return m_slots[at].heads;
        }
        return Heads();
    }

private:
    struct Slot
    {
        const DItem* item = nullptr;
        Heads heads;
    };

    // Items are allocated a few dozen bytes apart: the address is mixed so
    // that neighbours do not crowd into neighbouring slots. The low half
    // picks the slot, the high half the bit.
    static quint64 keyOf(const DItem* item)
    {
        quint64 key = quint64(quintptr(item));
        key ^= key >> 33;
        key *= 0xff51afd7ed558ccdULL;
        key ^= key >> 33;
        key *= 0xc4ceb9fe1a85ec53ULL;
        key ^= key >> 33;
        return key;
    }

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    std::vector<quint64> m_seen; // one bit set per item held
    size_t m_seenMask = 0;
};

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

    // A container whose children are being walked, how many nodes were
    // opened before its children were entered, and the first node ending
    // at the container.
    struct Level
    {
        DItem* container;
        size_t openedBefore;
        int ending;
    };

    static size_t countNodes(const TreeNode* root);
    void collectNodes(TreeNode* root);
    int addNode(const TreeNode* treeNode, int parent);
    void chainByItem();
    void walk(DItem* document);
    int enter(DItem* item);
    void finish(int ending);
    void open(int node);
    void closeOpenedSince(size_t mark);
    int innermostOpen();

    QHash<const DItem*, QAReporterNode*>& m_result;
    std::vector<NodeInfo> m_nodes; // in tree pre-order
    ItemHeads m_heads;
    // Open nodes, the first in children-before-parent order on top. Closed
    // nodes leave lazily, when they come to the top.
    std::vector<int> m_open;
    std::vector<int> m_lifted;
    // Nodes opened at each level of the walk, outermost level first.
    std::vector<int> m_openedAtLevel;
};

// Counted first, so that the node list is made once at its size: grown by
// doubling, it would hold up to twice that, at the peak of a large report.
size_t RecordIndexer::countNodes(const TreeNode* root)
{
    size_t count = 0;
    std::vector<const TreeNode*> pending{root};
    while (!pending.empty()) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        ++count;
        pending.insert(pending.end(), node->children.cbegin(), node->children.cend());
    }
    return count;
}

void RecordIndexer::collectNodes(TreeNode* root)
{
    struct Pending
    {
        const TreeNode* treeNode;
        int index;
        qsizetype nextChild;
    };
    m_nodes.reserve(countNodes(root));
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
    const bool anchors = parent == None || (node && !node->base().isEmpty());
    const int anchor = anchors ? index : m_nodes[size_t(parent)].anchor;
    m_nodes.push_back({node, anchor, 0, None, None});
    return index;
}

// Chains the nodes by start and by end item, each chain in pre-order, so
// that nested ranges sharing a start open outermost first.
void RecordIndexer::chainByItem()
{
    size_t items = 0;
    for (const NodeInfo& info : m_nodes)
        items += info.node ? size_t(bool(info.node->startItem)) + bool(info.node->endItem) : 0;
    m_heads.reserve(items);
    for (int index = int(m_nodes.size()) - 1; index >= 0; --index) {
        QAProgressPulse::tick();
        NodeInfo& info = m_nodes[size_t(index)];
        if (!info.node)
            continue;
        if (const DItem* start = info.node->startItem) {
            ItemHeads::Heads& heads = m_heads.insert(start);
            info.nextStarting = heads.starting;
            heads.starting = index;
        }
        if (const DItem* end = info.node->endItem) {
            ItemHeads::Heads& heads = m_heads.insert(end);
            info.nextEnding = heads.ending;
            heads.ending = index;
        }
    }
}

// Pre-order over the document. The outermost level holds the document
// alone (its container is null).
void RecordIndexer::walk(DItem* document)
{
    std::vector<Level> levels{{nullptr, 0, None}};
    DItem* item = document;
    while (true) {
        QAProgressPulse::tick();
        int ending = enter(item);
        DItemContainer* container = item->toContainer();
        if (container && container->first()) {
            levels.push_back({item, m_openedAtLevel.size(), ending});
            item = container->first();
            continue;
        }
        while (true) {
            finish(ending);
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
            ending = done.ending;
        }
    }
}

// Opens the ranges starting at the item and, for a link, records its
// node: the first open range in children-before-parent order, or a range
// that merely ends at the link. Returns the first node ending at the item,
// for finish().
int RecordIndexer::enter(DItem* item)
{
    const ItemHeads::Heads heads = m_heads.find(item);
    for (int node = heads.starting; node != None; node = m_nodes[size_t(node)].nextStarting)
        open(node);
    if (!item->toLink() || m_result.contains(item))
        return heads.ending;
    int best = innermostOpen();
    for (int node = heads.ending; node != None; node = m_nodes[size_t(node)].nextEnding) {
        if (best == None || m_nodes[size_t(node)].postOrder < m_nodes[size_t(best)].postOrder)
            best = node;
    }
    if (best != None)
        m_result.insert(item, m_nodes[size_t(m_nodes[size_t(best)].anchor)].node);
    return heads.ending;
}

// An item and everything under it were walked: the ranges ending there,
// chained from ending, are done.
void RecordIndexer::finish(int ending)
{
    for (int node = ending; node != None; node = m_nodes[size_t(node)].nextEnding) {
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
