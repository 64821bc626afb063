#include "dreportmodel.h"

#include "dblocktext.h"
#include "ditems.h"
#include "ditemtraits.h"
#include "ditemwalk.h"
#include "qaprogresspulse.h"

#include <QFontMetrics>

namespace {

int countRows(const DItem* table, int stopAt)
{
    int rows = 0;
    for (const DItem* row = table->toContainer()->first(); row && rows <= stopAt; row = row->next())
        ++rows;
    return rows;
}

} // namespace

DReportModel::Metrics DReportModel::Metrics::of(const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    Metrics result;
    result.line = metrics.lineSpacing();
    result.charWidth = qMax(1, metrics.averageCharWidth());
    result.width = qMax(50, width);
    for (int level = 1; level <= 6; ++level)
        result.titleMargins[level - 1] = DItemTraits::titleTopMargin(level, font);
    return result;
}

bool DReportModel::addDocument(DDocument* doc)
{
    if (!doc || m_documents.contains(doc))
        return false;
    m_documents.append(doc);
    appendBlocks(doc);
    m_names.clear();
    m_namesBuilt = false;
    return true;
}

void DReportModel::clear()
{
    m_documents.clear();
    m_growth = Growth();
    m_expanded.clear();
    clearBlocks();
}

DReportModel::IndexEntries DReportModel::beginReserve()
{
    m_reserving = true;
    m_indexedAside.clear();
    IndexEntries entries;
    entries.reserve(size_t(m_blockIndex.size()));
    for (auto entry = m_blockIndex.cbegin(); entry != m_blockIndex.cend(); ++entry)
        entries.emplace_back(entry.key(), entry.value());
    return entries;
}

DReportModel::BlockIndex DReportModel::reservedIndex(int blocks, const IndexEntries& entries)
{
    BlockIndex index;
    // Grouping items and long tables' rows are indexed too.
    index.reserve(qMax(qsizetype(qMax(blocks, 0)) * 3 / 2, qsizetype(entries.size())));
    addEntries(index, entries);
    return index;
}

void DReportModel::addEntries(BlockIndex& index, const IndexEntries& entries)
{
    for (const auto& [item, block] : entries)
        index.insert(item, block);
}

DReportModel::IndexEntries DReportModel::takeIndexedAside()
{
    IndexEntries taken;
    taken.swap(m_indexedAside);
    return taken;
}

void DReportModel::reserve(int blocks, BlockIndex&& index)
{
    if (!m_reserving)
        return;
    m_reserving = false;
    addEntries(index, takeIndexedAside());
    m_blockIndex.swap(index);
    m_blocks.reserve(size_t(qMax(blocks, 0)));
    m_heights.reserve(qMax(blocks, 0));
}

void DReportModel::indexItem(const DItem* item)
{
    const int block = int(m_blocks.size());
    m_blockIndex.insert(item, block);
    if (m_reserving)
        m_indexedAside.emplace_back(item, block);
}

void DReportModel::clearBlocks()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_heights.clear();
    m_blockIndex.clear();
    m_blockIndex.squeeze();
    m_reserving = false;
    IndexEntries().swap(m_indexedAside);
    m_names.clear();
    m_namesBuilt = false;
}

void DReportModel::rebuild()
{
    clearBlocks();
    for (DDocument* doc : std::as_const(m_documents))
        appendBlocks(doc);
}

const DItem* DReportModel::lastNamedSoFar() const
{
    if (m_blocks.empty())
        return nullptr;
    // The named items of the last block come before what is added next.
    const Block& last = m_blocks.back();
    const DItem* lastNamed = last.namedBefore;
    DItemWalk::walkBlock(last.item, last.rows, [&lastNamed](const DItem* item) {
        if (!item->name().isEmpty())
            lastNamed = item;
    });
    return lastNamed;
}

void DReportModel::addGroupingItem(const DItem* item, const DItem*& lastNamed)
{
    indexItem(item);
    if (!item->name().isEmpty())
        lastNamed = item;
}

// An item that is not a grouping item is a block of its own, or several
// for a long table.
void DReportModel::addLeafBlocks(const DItem* item, const DItem*& lastNamed)
{
    auto noteNames = [&lastNamed](const DItem* inner) {
        if (!inner->name().isEmpty())
            lastNamed = inner;
    };
    auto addBlock = [this, &lastNamed](const DItem* first, int rows) {
        m_blocks.push_back({first, lastNamed, rows});
        m_heights.append(estimateHeight(first, rows));
    };
    indexItem(item);
    if (item->kind() == DItem::Table && countRows(item, rowsPerBlock) > rowsPerBlock) {
        const DItem* row = item->toContainer()->first();
        while (row) {
            const DItem* runStart = row;
            int rows = 0;
            for (; row && rows < rowsPerBlock; row = row->next(), ++rows)
                indexItem(row);
            addBlock(runStart, rows);
            DItemWalk::walkBlock(runStart, rows, noteNames);
        }
    } else {
        addBlock(item, 0);
        DItemWalk::walk(item, noteNames);
    }
}

void DReportModel::appendBlocks(DDocument* doc)
{
    if (doc == m_growth.doc) {
        startGrowth(doc);
        return;
    }
    const DItem* lastNamed = lastNamedSoFar();
    // Grouping items (sections...) are entered; every other item makes
    // blocks of its own.
    DItemWalk::walk(static_cast<const DItem*>(doc), [&](const DItem* item) {
        QAProgressPulse::tick();
        if (DItemTraits::of(item).grouping) {
            addGroupingItem(item, lastNamed);
            return true;
        }
        addLeafBlocks(item, lastNamed);
        return false;
    });
}

void DReportModel::startGrowth(DDocument* doc)
{
    m_growth.doc = doc;
    m_growth.lastNamed = lastNamedSoFar();
    m_growth.spine.clear();
    addGroupingItem(doc, m_growth.lastNamed);
    m_growth.spine.push_back({doc, nullptr});
    extend(doc, m_growth.openItems);
}

void DReportModel::extend(DDocument* doc, const QList<const DItem*>& openItems)
{
    if (!doc)
        return;
    m_growth.openItems = openItems;
    if (!m_documents.contains(doc)) {
        m_documents.append(doc);
        m_names.clear();
        m_namesBuilt = false;
        startGrowth(doc);
        return;
    }
    if (doc != m_growth.doc)
        return;
    auto isOpen = [&openItems](const DItem* item) { return openItems.contains(item); };
    auto& spine = m_growth.spine;
    while (!spine.empty()) {
        auto& [container, done] = spine.back();
        const DItem* next = done ? done->next() : container->toContainer()->first();
        if (!next) {
            if (isOpen(container))
                break;
            spine.pop_back();
            continue;
        }
        if (DItemTraits::of(next).grouping) {
            addGroupingItem(next, m_growth.lastNamed);
            done = next;
            spine.push_back({next, nullptr});
            continue;
        }
        // A block still being read, or an implicit text that more text may
        // join, waits until it is complete.
        if (isOpen(next) || (!next->next() && next->kind() == DItem::Text && isOpen(container)))
            break;
        addLeafBlocks(next, m_growth.lastNamed);
        done = next;
    }
    if (spine.empty())
        m_growth = Growth();
    m_namesBuilt = false;
    m_names.clear();
}

int DReportModel::estimateHeight(const DItem* item, int rows) const
{
    const int line = m_metrics.line;
    switch (item->kind()) {
    case DItem::Title: {
        const int level = qBound(1, static_cast<const DTitle*>(item)->level(), 6);
        return int(line * DItemTraits::titleScale(level)) + (level <= 2 ? 22 : 12) +
               m_metrics.titleMargins[level - 1];
    }
    case DItem::Graphic:
        return static_cast<const DGraphic*>(item)->height() + 12;
    case DItem::PageBreak:
        return 17;
    case DItem::Popup:
        return m_expanded.contains(item) ? 3 * line : 0;
    case DItem::Image:
        return 120;
    default:
        break;
    }
    qint64 characters = 0;
    int rowCount = 0;
    int lines = 0;
    DItemWalk::walkBlock(item, rows, [&](const DItem* inner) {
        if (const QString* text = DBlockText::searchableText(inner))
            characters += text->size();
        if (inner->kind() == DItem::Row)
            ++rowCount;
        else if (inner->kind() == DItem::Paragraph || inner->kind() == DItem::SEntry ||
                 inner->kind() == DItem::IEntry)
            ++lines;
    });
    const int wrapped = int(characters * m_metrics.charWidth / m_metrics.width);
    if (rowCount > 0)
        return rowCount * (line + 9) + 12 + wrapped * line / 2;
    return qMax(1, qMax(lines, wrapped + 1)) * line + 6;
}

const DItem* DReportModel::blockItem(int index) const
{
    return index >= 0 && index < blockCount() ? m_blocks[size_t(index)].item : nullptr;
}

int DReportModel::blockOf(const DItem* item) const
{
    for (const DItem* up = item; up; up = up->parent()) {
        const auto found = m_blockIndex.constFind(up);
        if (found != m_blockIndex.constEnd())
            return m_blocks.empty() ? -1 : qMin(found.value(), int(m_blocks.size()) - 1);
    }
    return -1;
}

const DItem* DReportModel::findNamed(const QString& name) const
{
    if (!m_namesBuilt) {
        // One pass over every item on the first lookup; later ones are O(1).
        m_namesBuilt = true;
        for (DDocument* doc : m_documents)
            DItemWalk::walk(static_cast<const DItem*>(doc), [this](const DItem* item) {
                if (!item->name().isEmpty() && !m_names.contains(item->name()))
                    m_names.insert(item->name(), item);
            });
    }
    return m_names.value(name);
}

QString DReportModel::plainText(int index) const
{
    const Block& blockInfo = block(index);
    return DBlockText::plainText(blockInfo.item, blockInfo.rows);
}

void DReportModel::setExpanded(const DItem* item, bool open)
{
    if (open)
        m_expanded.insert(item);
    else
        m_expanded.remove(item);
}
