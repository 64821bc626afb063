#include "dblockformats.h"

#include "ditems.h"
#include "ditemtraits.h"
#include "dpalette.h"
#include "dstyle.h"

QTextCharFormat DBlockFormats::base() const
{
    QTextCharFormat format;
    format.setFont(m_base);
    format.setForeground(DPalette::text);
    return format;
}

QTextCharFormat DBlockFormats::charFormat(const DItem* item, const QTextCharFormat& inherited) const
{
    QTextCharFormat format = inherited;
    QFont font = inherited.font();
    const DItemTraits& traits = DItemTraits::of(item);
    if (item->kind() == DItem::Title) {
        const int level = static_cast<const DTitle*>(item)->level();
        font.setPointSizeF(m_base.pointSizeF() * DItemTraits::titleScale(level));
        font.setBold(true);
        format.setForeground(DPalette::title);
    } else if (traits.fontScale != 1.0) {
        font.setPointSizeF(m_base.pointSizeF() * traits.fontScale);
        format.setForeground(DPalette::muted);
    }
    if (const DStyle* style = item->style()) {
        font = style->font(font);
        if (style->color().isValid())
            format.setForeground(style->color());
        if (style->background().isValid() && !traits.block)
            format.setBackground(style->background());
    }
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    return format;
}

QTextBlockFormat DBlockFormats::blockFormat(const DItem* item) const
{
    QTextBlockFormat format;
    switch (item->kind()) {
    case DItem::Title: {
        const int level = static_cast<const DTitle*>(item)->level();
        format.setTopMargin(level <= 1 ? 16 : level == 2 ? 12 : 8);
        format.setBottomMargin(level <= 2 ? 6 : 4);
        break;
    }
    case DItem::Paragraph:
        format.setTopMargin(3);
        format.setBottomMargin(3);
        break;
    case DItem::SEntry:
        format.setTopMargin(1);
        format.setBottomMargin(1);
        break;
    case DItem::IEntry:
        format.setLeftMargin(16);
        format.setTopMargin(1);
        format.setBottomMargin(1);
        break;
    default:
        break;
    }
    if (const DStyle* style = item->style()) {
        if (style->alignment())
            format.setAlignment(style->alignment());
        if (style->margin() >= 0) {
            // Titles keep room above them to set sections apart.
            const bool title = item->kind() == DItem::Title;
            format.setTopMargin(title ? qMax<qreal>(format.topMargin(), style->margin())
                                      : style->margin());
            format.setBottomMargin(title ? qMax<qreal>(format.bottomMargin(), style->margin())
                                         : style->margin());
        }
        if (style->background().isValid())
            format.setBackground(style->background());
    }
    return format;
}

QTextCharFormat DBlockFormats::linkFormat(const DItem* item, const QTextCharFormat& format,
                                          const QString& href) const
{
    QTextCharFormat link = format;
    link.setAnchor(true);
    link.setAnchorHref(href);
    const DStyle* style = item->style();
    if (!style || !style->color().isValid())
        link.setForeground(DPalette::link);
    if (!style)
        link.setFontUnderline(true);
    return link;
}

QTextFrameFormat DBlockFormats::frameFormat(const DItem* item) const
{
    QTextFrameFormat frame;
    frame.setBorder(1);
    frame.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    frame.setPadding(6);
    frame.setTopMargin(4);
    frame.setBottomMargin(4);
    frame.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    const bool popup = item->kind() == DItem::Popup;
    frame.setBorderBrush(popup ? DPalette::popupBorder : DPalette::frameBorder);
    frame.setBackground(popup ? DPalette::popupBackground : DPalette::frameBackground);
    const DStyle* style = item->style();
    if (style && style->background().isValid())
        frame.setBackground(style->background());
    return frame;
}

QTextTableFormat DBlockFormats::tableFormat(const DTable* table) const
{
    QTextTableFormat grid;
    grid.setBorderCollapse(true);
    grid.setCellSpacing(0);
    grid.setCellPadding(4);
    grid.setTopMargin(4);
    grid.setBottomMargin(6);
    grid.setBorder(table->frame() == DTable::NoFrame ? 0 : 1);
    grid.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    grid.setBorderBrush(DPalette::rule);
    if (table->style() && table->style()->alignment())
        grid.setAlignment(table->style()->alignment());
    return grid;
}

QTextBlockFormat DBlockFormats::graphicFormat(const DItem* graphic) const
{
    QTextBlockFormat block = blockFormat(graphic);
    block.setTopMargin(6);
    block.setBottomMargin(6);
    if (!graphic->style() || !graphic->style()->alignment())
        block.setAlignment(Qt::AlignHCenter);
    return block;
}

QTextBlockFormat DBlockFormats::pageBreakFormat() const
{
    QTextBlockFormat block;
    block.setTopMargin(8);
    block.setBottomMargin(8);
    block.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                      QTextLength(QTextLength::PercentageLength, 100));
    block.setProperty(QTextFormat::BackgroundBrush, QBrush(DPalette::rule));
    return block;
}

QTextCharFormat DBlockFormats::missingImageFormat(const QTextCharFormat& format) const
{
    QTextCharFormat missing = format;
    missing.setFontItalic(true);
    missing.setForeground(DPalette::muted);
    return missing;
}
