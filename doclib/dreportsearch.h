#ifndef DREPORTSEARCH_H
#define DREPORTSEARCH_H

#include "dreportmodel.h"

#include <functional>
#include <optional>

class DLayoutCache;
class QRegularExpression;

// Finds text in the blocks of a model, as the view shows it (white space
// folded). The items' own text is scanned in large pieces, block after
// block; only the block that holds a match is laid out, to place it.
class DReportSearch
{
public:
    DReportSearch(const DReportModel& model, DLayoutCache& layouts);

    // The first match that starts at or after from, going down to the end
    // and then once from the top back to from; none when the pattern is
    // empty, invalid or matches nothing. A match is never empty.
    std::optional<DTextRange> next(const QRegularExpression& pattern, DTextPos from) const;
    // The last match that starts before before, going up to the top and
    // then once from the end back to before; as next() otherwise.
    std::optional<DTextRange> previous(const QRegularExpression& pattern, DTextPos before) const;

private:
    // Hands found each match of the block that starts at or after `after`
    // and before `before` (bounds of other blocks do not count), in order,
    // until it returns false.
    void eachMatchInBlock(const QRegularExpression& pattern, int block, const DTextPos& after,
                          const DTextPos& before,
                          const std::function<bool(const DTextRange&)>& found) const;
    // The first match of a block from after on and before before.
    std::optional<DTextRange> inBlock(const QRegularExpression& pattern, int block,
                                      const DTextPos& after, const DTextPos& before) const;
    std::optional<DTextRange> inBlocks(const QRegularExpression& pattern, int first,
                                       int last) const;
    // The last match of a block from after on and before before.
    std::optional<DTextRange> lastInBlock(const QRegularExpression& pattern, int block,
                                          const DTextPos& after, const DTextPos& before) const;
    std::optional<DTextRange> lastInBlocks(const QRegularExpression& pattern, int first,
                                           int last) const;
    void appendBlockText(QString& chunk, int block) const;

    const DReportModel& m_model;
    DLayoutCache& m_layouts;
};

#endif
