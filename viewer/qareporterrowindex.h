#ifndef QAREPORTERROWINDEX_H
#define QAREPORTERROWINDEX_H

#include <QHash>

#include <array>

class DItem;
class QTreeWidgetItem;

// The tree row of each report item that starts a node. Kept in parts chosen
// by the item's address, so that a part grows by rehashing its own entries
// only: one hash of half a million rows held the event loop for 50 ms while
// it doubled, in the middle of a report being read. A lookup costs one
// multiplication more than a lookup in one hash.
class QAReporterRowIndex
{
public:
    QTreeWidgetItem* value(const DItem* item) const { return partOf(item).value(item, nullptr); }
    bool contains(const DItem* item) const { return partOf(item).contains(item); }
    void insert(const DItem* item, QTreeWidgetItem* row) { partOf(item).insert(item, row); }
    qsizetype size() const;
    void clear();

private:
    using Part = QHash<const DItem*, QTreeWidgetItem*>;
    static constexpr int PartBits = 6;

    static size_t indexOf(const DItem* item)
    {
        // Fibonacci hashing: the top bits of the product mix every bit of
        // the address, also the low ones that allocation alignment fixes.
        return size_t((quint64(quintptr(item)) * 0x9e3779b97f4a7c15ULL) >> (64 - PartBits));
    }
    Part& partOf(const DItem* item) { return m_parts[indexOf(item)]; }
    const Part& partOf(const DItem* item) const { return m_parts[indexOf(item)]; }

    std::array<Part, size_t(1) << PartBits> m_parts;
};

#endif
