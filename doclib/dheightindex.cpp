#include "dheightindex.h"

void DHeightIndex::clear()
{
    m_heights.clear();
    m_tree.clear();
    m_total = 0;
}

void DHeightIndex::assign(const std::vector<int>& heights)
{
    m_heights = heights;
    rebuildTree();
}

void DHeightIndex::rebuildTree()
{
    const size_t n = m_heights.size();
    m_tree.assign(n + 1, 0);
    m_total = 0;
    for (size_t i = 1; i <= n; ++i) {
        m_tree[i] += m_heights[i - 1];
        m_total += m_heights[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent] += m_tree[i];
    }
}

void DHeightIndex::reserve(int count)
{
    m_heights.reserve(size_t(count));
    m_tree.reserve(size_t(count) + 1);
}

void DHeightIndex::append(int height)
{
    // A new Fenwick node i covers (i - lowbit(i), i]: its sum is the new
    // height plus the sums of the nodes that tile the rest of that range.
    m_heights.push_back(height);
    const size_t i = m_heights.size();
    if (m_tree.empty())
        m_tree.push_back(0);
    qint64 sum = height;
    const size_t low = i & (~i + 1);
    for (size_t step = 1; step < low; step <<= 1)
        sum += m_tree[i - step];
    m_tree.push_back(sum);
    m_total += height;
}

void DHeightIndex::setHeight(int block, int height)
{
    const qint64 delta = qint64(height) - m_heights[size_t(block)];
    if (delta == 0)
        return;
    m_heights[size_t(block)] = height;
    m_total += delta;
    for (size_t i = size_t(block) + 1; i < m_tree.size(); i += i & (~i + 1))
        m_tree[i] += delta;
}

qint64 DHeightIndex::offsetOf(int block) const
{
    qint64 sum = 0;
    for (size_t i = size_t(qBound(0, block, count())); i > 0; i -= i & (~i + 1))
        sum += m_tree[i];
    return sum;
}

int DHeightIndex::blockAt(qint64 offset) const
{
    const int n = count();
    if (n == 0)
        return -1;
    if (offset < 0)
        return 0;
    // Binary lifting: the largest prefix whose sum stays <= offset.
    size_t pos = 0;
    size_t step = 1;
    while (step * 2 <= size_t(n))
        step *= 2;
    qint64 rest = offset;
    for (; step > 0; step >>= 1) {
        const size_t next = pos + step;
        if (next <= size_t(n) && m_tree[next] <= rest) {
            pos = next;
            rest -= m_tree[next];
        }
    }
    return qMin(int(pos), n - 1);
}
