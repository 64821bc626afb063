#ifndef DREPORTMODEL_H
#define DREPORTMODEL_H

#include "dheightindex.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <utility>
#include <vector>

class DDocument;
class DItem;
class QFont;

// A place in the text of the view: a character position in a block.
struct DTextPos
{
    int block = -1;
    int position = 0;

    bool operator<(const DTextPos& o) const
    {
        return block < o.block || (block == o.block && position < o.position);
    }
    bool operator==(const DTextPos& o) const { return block == o.block && position == o.position; }
};

// A range of text inside one block.
struct DTextRange
{
    int block = -1;
    int start = 0;
    int end = 0;
};

// The documents a view shows, cut into flow blocks (titles, paragraphs,
// tables or runs of rows of long tables, graphics...), without any widget.
// Each block has a height, estimated until the block is laid out, kept in
// a Fenwick tree; items map to their block and names to their item.
class DReportModel
{
public:
    struct Block
    {
        const DItem* item;        // the item shown, or the first row of a run of rows
        const DItem* namedBefore; // the last named item before it in document order
        int rows;                 // rows of a run of a long table, 0 otherwise
    };
    // What height estimates need of the font and width, taken once per
    // document rather than once per block.
    struct Metrics
    {
        int line = 0;
        int charWidth = 1;
        int width = 50;
        int titleMargins[6] = {};

        static Metrics of(const QFont& font, int width);
    };

    // Tables longer than this are cut into runs of rows, one block per run.
    static constexpr int rowsPerBlock = 48;

    void setMetrics(const Metrics& metrics) { m_metrics = metrics; }
    // Adds a document below the others; false when it is null or shown.
    bool addDocument(DDocument* doc);
    // Adds the blocks of what a document being read got since the last
    // call, adding the document first when it is not shown yet. Items of
    // open elements (openItems, from the reader) wait until they are
    // complete, except grouping items, entered as they come. Costs the new
    // items only; once the document is complete, it is shown as any other.
    void extend(DDocument* doc, const QList<const DItem*>& openItems);
    using BlockIndex = QHash<const DItem*, int>;
    using IndexEntries = std::vector<std::pair<const DItem*, int>>;
    // Room for this many blocks (and the items they index), so that a
    // document being read grows without copying or rehashing what it has,
    // in three steps; the second may run on another thread, as it touches
    // tens of megabytes for the largest reports. beginReserve returns the items indexed so far and
    // keeps those indexed from then on aside; reservedIndex makes an index with room for the items
    // of this many blocks, holding those entries; reserve takes it, adds the entries kept aside,
    // and reserves the blocks. clear() drops what was kept aside: an index made before then must
    // not be given.
    IndexEntries beginReserve();
    static BlockIndex reservedIndex(int blocks, const IndexEntries& entries);
    // Adds entries to an index made by reservedIndex; may run on another
    // thread too.
    static void addEntries(BlockIndex& index, const IndexEntries& entries);
    // The entries kept aside so far, given up for another thread to add
    // (the many that came while it made the index); those indexed from then
    // on are kept aside for reserve.
    IndexEntries takeIndexedAside();
    size_t indexedAsideCount() const { return m_indexedAside.size(); }
    void reserve(int blocks, BlockIndex&& index);
    // Forgets the documents, their blocks and the opened popups.
    void clear();
    // Cuts the same documents again (the metrics changed).
    void rebuild();

    const QList<DDocument*>& documents() const { return m_documents; }
    int blockCount() const { return int(m_blocks.size()); }
    bool isEmpty() const { return m_blocks.empty(); }
    const Block& block(int index) const { return m_blocks[size_t(index)]; }
    // The item of a block; null when out of range.
    const DItem* blockItem(int index) const;
    // The block that shows an item, or the first block of a grouping
    // item; -1 when the item is not shown.
    int blockOf(const DItem* item) const;
    // The first item of that name in document order.
    const DItem* findNamed(const QString& name) const;
    // Plain text of a whole block, from its items.
    QString plainText(int index) const;

    DHeightIndex& heights() { return m_heights; }
    const DHeightIndex& heights() const { return m_heights; }
    int estimateHeight(const DItem* item, int rows) const;

    // Popups and popup links opened by the reader.
    const QSet<const DItem*>& expanded() const { return m_expanded; }
    bool isExpanded(const DItem* item) const { return m_expanded.contains(item); }
    void setExpanded(const DItem* item, bool open);

private:
    // Where the walk of a document being read stands: the open grouping
    // items, outermost first, each with its last child made into blocks.
    struct Growth
    {
        const DDocument* doc = nullptr;
        std::vector<std::pair<const DItem*, const DItem*>> spine;
        const DItem* lastNamed = nullptr;
        QList<const DItem*> openItems;
    };

    void appendBlocks(DDocument* doc);
    void startGrowth(DDocument* doc);
    const DItem* lastNamedSoFar() const;
    void addGroupingItem(const DItem* item, const DItem*& lastNamed);
    // Maps the item to the block about to be added.
    void indexItem(const DItem* item);
    void addLeafBlocks(const DItem* item, const DItem*& lastNamed);
    void clearBlocks();

    QList<DDocument*> m_documents;
    std::vector<Block> m_blocks;
    DHeightIndex m_heights;
    Metrics m_metrics;
    BlockIndex m_blockIndex;     // block roots and grouping items
    IndexEntries m_indexedAside; // entries since beginReserve, for reserve
    bool m_reserving = false;
    mutable QHash<QString, const DItem*> m_names; // built on first lookup by name
    mutable bool m_namesBuilt = false;
    QSet<const DItem*> m_expanded;
    Growth m_growth;
};

#endif
