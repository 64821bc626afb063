#include "qaasideplacement.h"

#include <QList>

namespace {

// Space left between the window and the rectangle it keeps clear of.
constexpr int gap = 8;

QRect inside(QRect window, const QRect& area)
{
    if (window.right() > area.right())
        window.moveRight(area.right());
    if (window.bottom() > area.bottom())
        window.moveBottom(area.bottom());
    if (window.left() < area.left())
        window.moveLeft(area.left());
    if (window.top() < area.top())
        window.moveTop(area.top());
    return window;
}

} // namespace

QRect QAAsidePlacement::aside(const QRect& window, const QRect& keepClear, const QRect& area)
{
    if (keepClear.isEmpty() || !window.intersects(keepClear))
        return window;
    QRect above = window;
    above.moveBottom(keepClear.top() - 1 - gap);
    QRect below = window;
    below.moveTop(keepClear.bottom() + 1 + gap);
    QRect left = window;
    left.moveRight(keepClear.left() - 1 - gap);
    QRect right = window;
    right.moveLeft(keepClear.right() + 1 + gap);
    const bool moreRoomAbove = keepClear.top() - area.top() > area.bottom() - keepClear.bottom();
    const QList<QRect> candidates = moreRoomAbove ? QList<QRect>{above, below, left, right}
                                                  : QList<QRect>{below, above, right, left};
    for (const QRect& candidate : candidates) {
        const QRect placed = inside(candidate, area);
        if (!placed.intersects(keepClear))
            return placed;
    }
    return inside(candidates.first(), area);
}
