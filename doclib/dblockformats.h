#ifndef DBLOCKFORMATS_H
#define DBLOCKFORMATS_H

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextTableFormat>

class DItem;
class DTable;

// The text formats of items: the default look (DPalette, title scales of
// DItemTraits) with the item's style over it.
class DBlockFormats
{
public:
    explicit DBlockFormats(const QFont& base) : m_base(base) {}

    // The format text starts with, before any item.
    QTextCharFormat base() const;
    // The character format of an item's content, inheriting the rest.
    QTextCharFormat charFormat(const DItem* item, const QTextCharFormat& inherited) const;
    QTextBlockFormat blockFormat(const DItem* item) const;
    // A link's text: the anchor href names the link's index in its block.
    QTextCharFormat linkFormat(const DItem* item, const QTextCharFormat& format,
                               const QString& href) const;
    // Headers, footers and opened popups.
    QTextFrameFormat frameFormat(const DItem* item) const;
    QTextTableFormat tableFormat(const DTable* table) const;
    QTextBlockFormat graphicFormat(const DItem* graphic) const;
    QTextBlockFormat pageBreakFormat() const;
    // An image that cannot be found, shown by its source.
    QTextCharFormat missingImageFormat(const QTextCharFormat& format) const;

private:
    QFont m_base;
};

#endif
