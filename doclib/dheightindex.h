#ifndef DHEIGHTINDEX_H
#define DHEIGHTINDEX_H

#include <QtGlobal>

#include <vector>

// Heights of a sequence of blocks in a Fenwick tree: the offset of a block,
// the block at an offset and a height change each cost O(log n).
class DHeightIndex
{
public:
    void clear();
    // Replaces the content with these heights, in O(n).
    void assign(const std::vector<int>& heights);
    // Room for count blocks, so that appending them moves nothing.
    void reserve(int count);
    // Appends blocks; amortised O(log n) each.
    void append(int height);

    int count() const { return int(m_heights.size()); }
    int height(int block) const { return m_heights[size_t(block)]; }
    void setHeight(int block, int height);

    // Sum of the heights of the blocks before block.
    qint64 offsetOf(int block) const;
    qint64 total() const { return m_total; }
    // The block that covers offset (the last block when offset is past the
    // end, the first when negative); -1 when empty.
    int blockAt(qint64 offset) const;

private:
    void rebuildTree();

    std::vector<int> m_heights;
    std::vector<qint64> m_tree; // 1-based Fenwick sums
    qint64 m_total = 0;
};

#endif
