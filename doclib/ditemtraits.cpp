#include "ditemtraits.h"

#include "ditems.h"

#include <QFontMetricsF>

#include <array>

namespace {

// Indexed by DItem::Kind.
// clang-format off
constexpr std::array<DItemTraits, DItem::KindCount> table{{
    //  block  grouping text   link   chart  endsLine cell  fontScale
    {true,  true,  false, false, false, false, false, 1.0}, // Document
    {true,  true,  false, false, false, false, false, 1.0}, // Section
    {true,  false, false, false, false, true,  false, 1.0}, // Title
    {true,  false, false, false, false, true,  false, 0.85}, // Header
    {true,  false, false, false, false, true,  false, 0.85}, // Footer
    {true,  false, false, false, false, true,  false, 1.0}, // Paragraph
    {true,  false, false, false, false, false, false, 1.0}, // List
    {false, false, false, true,  false, false, false, 1.0}, // Link
    {true,  false, false, false, false, false, false, 1.0}, // Table
    {true,  false, false, false, false, true,  false, 1.0}, // Row
    {true,  false, false, false, false, false, true,  1.0}, // Cell
    {false, false, true,  false, false, false, true,  1.0}, // CellText
    {false, false, false, true,  false, false, false, 1.0}, // PopupLink
    {true,  false, false, false, false, true,  false, 1.0}, // Popup
    {true,  true,  false, false, false, false, false, 1.0}, // Summary
    {true,  true,  false, false, false, false, false, 1.0}, // Index
    {true,  false, false, false, false, true,  false, 1.0}, // Graphic
    {false, false, false, false, true,  false, false, 1.0}, // Curve
    {true,  false, false, false, false, false, false, 1.0}, // PageBreak
    {false, false, true,  false, false, false, false, 1.0}, // Text
    {false, false, false, false, false, false, false, 1.0}, // Image
    {false, false, false, false, false, false, false, 1.0}, // Tag
    {false, false, false, true,  false, false, false, 1.0}, // TagPointer
    {true,  false, true,  true,  false, true,  false, 1.0}, // SEntry
    {true,  false, true,  true,  false, true,  false, 1.0}, // IEntry
    {false, false, false, false, true,  false, false, 1.0}, // Point
    {false, false, false, false, true,  false, false, 1.0}, // Axis
}};
// clang-format on

constexpr qreal titleScales[] = {1.9, 1.55, 1.3, 1.15, 1.05, 1.0};

} // namespace

const DItemTraits& DItemTraits::of(DItem::Kind kind)
{
    return table[qBound(0, int(kind), int(DItem::KindCount) - 1)];
}

qreal DItemTraits::titleScale(int level)
{
    return titleScales[qBound(1, level, 6) - 1];
}

int DItemTraits::titleTopMargin(int level, const QFont& font)
{
    return qRound(QFontMetricsF(font).height() * titleScale(level) * 0.6);
}

QString DItemTraits::linkTarget(const DItem* item)
{
    if (!of(item).link)
        return QString();
    switch (item->kind()) {
    case DItem::TagPointer:
        return static_cast<const DTagPointer*>(item)->target();
    case DItem::SEntry:
        return static_cast<const DSEntry*>(item)->target();
    case DItem::IEntry:
        return static_cast<const DIEntry*>(item)->target();
    default:
        return static_cast<const DLink*>(item)->target();
    }
}
