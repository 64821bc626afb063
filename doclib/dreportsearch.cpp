#include "dreportsearch.h"

#include "dblocktext.h"
#include "ditemwalk.h"
#include "dlayoutcache.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Search scans the items' text in pieces of about this many characters.
constexpr int searchChunk = 1 << 16;

// The index of the block whose text holds offset, given where each block's
// text starts in the piece.
int blockAt(const std::vector<int>& starts, qsizetype offset)
{
    return int(std::upper_bound(starts.begin(), starts.end(), int(offset)) - starts.begin()) - 1;
}

} // namespace

DReportSearch::DReportSearch(const DReportModel& model, DLayoutCache& layouts)
    : m_model(model), m_layouts(layouts)
{
}

std::optional<DTextRange> DReportSearch::next(const QRegularExpression& pattern,
                                              DTextPos from) const
{
    const int count = m_model.blockCount();
    if (count == 0 || !pattern.isValid() || pattern.pattern().isEmpty())
        return std::nullopt;
    from.block = qBound(0, from.block, count - 1);
    const int start = from.block;
    if (auto found = inBlock(pattern, start, from, DTextPos()))
        return found;
    if (start + 1 < count) {
        if (auto found = inBlocks(pattern, start + 1, count - 1))
            return found;
    }
    // Wrap once: from the top down to where the search started.
    if (start > 0) {
        if (auto found = inBlocks(pattern, 0, start - 1))
            return found;
    }
    if (from.position > 0)
        return inBlock(pattern, start, DTextPos{start, 0}, from);
    return std::nullopt;
}

void DReportSearch::eachMatchInBlock(const QRegularExpression& pattern, int block,
                                     const DTextPos& after, const DTextPos& before,
                                     const std::function<bool(const DTextRange&)>& found) const
{
    const DBlockLayout* layout = m_layouts.layout(block);
    for (const DBlockLayout::TextRun& run : layout->textRuns()) {
        const QString* text = DBlockText::searchableText(run.item);
        if (!text || text->isEmpty())
            continue;
        QRegularExpressionMatchIterator matches = pattern.globalMatch(*text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedLength() == 0)
                continue;
            const int start = run.position + DBlockText::collapsedOffset(
                                                 *text, int(match.capturedStart()), run.dropped);
            const int end = run.position + DBlockText::collapsedOffset(
                                               *text, int(match.capturedEnd()), run.dropped);
            if (after.block == block && start < after.position)
                continue;
            if (before.block == block && start >= before.position)
                return;
            if (!found(DTextRange{block, start, qMax(start + 1, end)}))
                return;
        }
    }
}

std::optional<DTextRange> DReportSearch::inBlock(const QRegularExpression& pattern, int block,
                                                 const DTextPos& after,
                                                 const DTextPos& before) const
{
    std::optional<DTextRange> first;
    eachMatchInBlock(pattern, block, after, before, [&first](const DTextRange& range) {
        first = range;
        return false;
    });
    return first;
}

std::optional<DTextRange> DReportSearch::inBlocks(const QRegularExpression& pattern, int first,
                                                  int last) const
{
    int block = first;
    while (block <= last) {
        QString chunk;
        std::vector<int> starts;
        int next = block;
        for (; next <= last && chunk.size() < searchChunk; ++next) {
            starts.push_back(int(chunk.size()));
            appendBlockText(chunk, next);
        }
        qsizetype from = 0;
        while (true) {
            const QRegularExpressionMatch match = pattern.match(chunk, from);
            if (!match.hasMatch())
                break;
            if (match.capturedLength() == 0) {
                from = match.capturedStart() + 1;
                continue;
            }
            const int index = blockAt(starts, match.capturedStart());
            if (auto found = inBlock(pattern, block + index, DTextPos(), DTextPos()))
                return found;
            // The match ran across items: go on after that block.
            from = index + 1 < int(starts.size()) ? starts[size_t(index) + 1] : chunk.size();
        }
        block = next;
    }
    return std::nullopt;
}

void DReportSearch::appendBlockText(QString& chunk, int block) const
{
    const DReportModel::Block& blockInfo = m_model.block(block);
    DItemWalk::walkBlock(blockInfo.item, blockInfo.rows, [&chunk](const DItem* item) {
        if (const QString* text = DBlockText::searchableText(item)) {
            chunk += *text;
            chunk += QLatin1Char('\n');
        }
    });
}

std::optional<DTextRange> DReportSearch::previous(const QRegularExpression& pattern,
                                                  DTextPos before) const
{
    const int count = m_model.blockCount();
    if (count == 0 || !pattern.isValid() || pattern.pattern().isEmpty())
        return std::nullopt;
    before.block = qBound(0, before.block, count - 1);
    const int start = before.block;
    if (auto found = lastInBlock(pattern, start, DTextPos(), before))
        return found;
    if (start > 0) {
        if (auto found = lastInBlocks(pattern, 0, start - 1))
            return found;
    }
    // Wrap once: from the end up to where the search started.
    if (start + 1 < count) {
        if (auto found = lastInBlocks(pattern, start + 1, count - 1))
            return found;
    }
    return lastInBlock(pattern, start, before, DTextPos());
}

std::optional<DTextRange> DReportSearch::lastInBlock(const QRegularExpression& pattern, int block,
                                                     const DTextPos& after,
                                                     const DTextPos& before) const
{
    std::optional<DTextRange> last;
    eachMatchInBlock(pattern, block, after, before, [&last](const DTextRange& range) {
        last = range;
        return true;
    });
    return last;
}

std::optional<DTextRange> DReportSearch::lastInBlocks(const QRegularExpression& pattern, int first,
                                                      int last) const
{
    int block = last;
    while (block >= first) {
        // The blocks of one piece, bottom up, then their text top down.
        int low = block;
        qsizetype size = 0;
        std::vector<QString> texts;
        for (; low >= first && size < searchChunk; --low) {
            texts.emplace_back();
            appendBlockText(texts.back(), low);
            size += texts.back().size();
        }
        QString chunk;
        std::vector<int> starts;
        for (auto text = texts.crbegin(); text != texts.crend(); ++text) {
            starts.push_back(int(chunk.size()));
            chunk += *text;
        }
        // Blocks that hold a match, the lowest last.
        std::vector<int> matched;
        QRegularExpressionMatchIterator matches = pattern.globalMatch(chunk);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedLength() == 0)
                continue;
            const int index = blockAt(starts, match.capturedStart());
            if (matched.empty() || matched.back() != index)
                matched.push_back(index);
        }
        for (auto index = matched.crbegin(); index != matched.crend(); ++index) {
            if (auto found = lastInBlock(pattern, low + 1 + *index, DTextPos(), DTextPos()))
                return found;
        }
        block = low;
    }
    return std::nullopt;
}
