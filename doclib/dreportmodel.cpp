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
    m_expanded.clear();
    clearBlocks();
}

void DReportModel::clearBlocks()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_heights.clear();
    m_blockIndex.clear();
    m_blockIndex.squeeze();
    m_names.clear();
    m_namesBuilt = false;
}

void DReportModel::rebuild()
{
    clearBlocks();
    for (DDocument* doc : std::as_const(m_documents))
        appendBlocks(doc);
}

void DReportModel::appendBlocks(DDocument* doc)
{
    const DItem* lastNamed = nullptr;
    if (!m_blocks.empty()) {
        // The named items of the previous last block come before this document.
        const Block& last = m_blocks.back();
        lastNamed = last.namedBefore;
        DItemWalk::walkBlock(last.item, last.rows, [&lastNamed](const DItem* item) {
            if (!item->name().isEmpty())
                lastNamed = item;
        });
    }
    auto noteNames = [&lastNamed](const DItem* inner) {
        if (!inner->name().isEmpty())
            lastNamed = inner;
    };
    auto addBlock = [this, &lastNamed](const DItem* item, int rows) {
        m_blocks.push_back({item, lastNamed, rows});
        m_heights.append(estimateHeight(item, rows));
    };
    // Grouping items (sections...) are entered; every other item is a
    // block of its own, or several for a long table.
    DItemWalk::walk(static_cast<const DItem*>(doc), [&](const DItem* item) {
        QAProgressPulse::tick();
        const int index = int(m_blocks.size());
        m_blockIndex.insert(item, index);
        if (DItemTraits::of(item).grouping) {
            if (!item->name().isEmpty())
                lastNamed = item;
            return true;
        }
        if (item->kind() == DItem::Table && countRows(item, rowsPerBlock) > rowsPerBlock) {
            const DItem* row = item->toContainer()->first();
            while (row) {
                const DItem* runStart = row;
                int rows = 0;
                for (; row && rows < rowsPerBlock; row = row->next(), ++rows)
                    m_blockIndex.insert(row, int(m_blocks.size()));
                addBlock(runStart, rows);
                DItemWalk::walkBlock(runStart, rows, noteNames);
            }
        } else {
            addBlock(item, 0);
            DItemWalk::walk(item, noteNames);
        }
        return false;
    });
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
