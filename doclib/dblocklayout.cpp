#include "dblocklayout.h"

#include "dchartobject.h"
#include "ditems.h"
#include "dstyle.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// Marks text blocks that an item asked for, so that the empty separator
// blocks Qt keeps around tables and frames can be folded away.
constexpr int OwnBlockProperty = QTextFormat::UserProperty + 10;
constexpr int maxColumns = 64;

const QColor textColor(0x1f, 0x24, 0x2b);
const QColor linkColor(0x15, 0x58, 0xb0);
const QColor titleColor(0x16, 0x32, 0x55);
const QColor mutedColor(0x5b, 0x65, 0x70);
const QColor ruleColor(0xc5, 0xcc, 0xd3);

qreal titleScale(int level)
{
    static const qreal scales[] = {1.9, 1.55, 1.3, 1.15, 1.05, 1.0};
    return scales[qBound(1, level, 6) - 1];
}

// Exit hook for plain text: what separates an item from what follows.
QString separatorAfter(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Cell:
    case DItem::CellText:
        return item->next() ? QStringLiteral("\t") : QString();
    case DItem::Row:
    case DItem::Title:
    case DItem::Paragraph:
    case DItem::Header:
    case DItem::Footer:
    case DItem::SEntry:
    case DItem::IEntry:
    case DItem::Graphic:
    case DItem::Popup:
        return QStringLiteral("\n");
    default:
        return item->parent() && item->parent()->kind() == DItem::List ? QStringLiteral("\n")
                                                                       : QString();
    }
}

} // namespace

DBlockLayout::DBlockLayout(const DItem* root, int rows, const Context& context)
    : m_context(context), m_doc(std::make_unique<QTextDocument>())
{
    m_doc->setUndoRedoEnabled(false);
    m_doc->setDocumentMargin(0);
    m_doc->setDefaultFont(context.font);
    QTextOption option = m_doc->defaultTextOption();
    option.setWrapMode(context.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                        : QTextOption::NoWrap);
    m_doc->setDefaultTextOption(option);
    if (context.chartHandler)
        m_doc->documentLayout()->registerHandler(DChartObject::ObjectType, context.chartHandler);

    // The width first and the content in one edit block: Qt then lays the
    // document out once at the end instead of after every insertion.
    m_doc->setTextWidth(context.width);
    QTextCharFormat base;
    base.setFont(context.font);
    base.setForeground(textColor);
    QTextCursor cursor(m_doc.get());
    cursor.beginEditBlock();
    if (root) {
        const DItem* parent = root->parent();
        if (rows > 0 && root->kind() == DItem::Row && parent && parent->kind() == DItem::Table)
            emitTable(static_cast<const DTable*>(parent), root, rows, cursor, base, 0);
        else if (isBlockKind(root))
            emitBlock(root, cursor, base, 0);
        else
            emitInline(root, cursor, base, 0);
        if (root->kind() == DItem::Title)
            setTopMargin(titleTopMargin(static_cast<const DTitle*>(root)->level(), context.font));
    }

    // Fold the empty blocks that Qt places before and after tables and frames.
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        if (block.length() > 1 || block.blockFormat().hasProperty(OwnBlockProperty))
            continue;
        QTextCursor fold(block);
        QTextBlockFormat format;
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        fold.setBlockFormat(format);
        QTextCharFormat tiny;
        tiny.setFontPointSize(1);
        fold.setBlockCharFormat(tiny);
    }
    cursor.endEditBlock();
    m_height = int(std::ceil(m_doc->size().height()));
}

DBlockLayout::~DBlockLayout() = default;

int DBlockLayout::titleTopMargin(int level, const QFont& font)
{
    return qRound(QFontMetricsF(font).height() * titleScale(level) * 0.6);
}

void DBlockLayout::setTopMargin(qreal margin)
{
    // Qt drops the top margin of a frame's first text block, so the room
    // above a block goes on the root frame.
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setTopMargin(margin);
    m_doc->rootFrame()->setFrameFormat(frame);
}

qreal DBlockLayout::idealWidth() const
{
    return m_doc->idealWidth();
}

bool DBlockLayout::isBlockKind(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Text:
    case DItem::Link:
    case DItem::PopupLink:
    case DItem::Image:
    case DItem::Tag:
    case DItem::TagPointer:
    case DItem::CellText:
    case DItem::Curve:
    case DItem::Point:
    case DItem::Axis:
        return false;
    default:
        return true;
    }
}

const QString* DBlockLayout::searchableText(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Text:
        return &static_cast<const DText*>(item)->text();
    case DItem::CellText:
        return &static_cast<const DCellText*>(item)->text();
    case DItem::SEntry: {
        auto entry = static_cast<const DSEntry*>(item);
        return entry->text().isEmpty() ? &entry->target() : &entry->text();
    }
    case DItem::IEntry: {
        auto entry = static_cast<const DIEntry*>(item);
        return entry->text().isEmpty() ? &entry->target() : &entry->text();
    }
    case DItem::TagPointer:
        return &static_cast<const DTagPointer*>(item)->target();
    default:
        return nullptr;
    }
}

QString DBlockLayout::collapse(QStringView text, bool dropLeading)
{
    QString out;
    out.reserve(text.size());
    bool inSpace = false;
    bool leading = true;
    for (QChar ch : text) {
        if (ch.isSpace()) {
            if (!inSpace && !(leading && dropLeading))
                out.append(QLatin1Char(' '));
            inSpace = true;
        } else {
            out.append(ch);
            inSpace = false;
            leading = false;
        }
    }
    return out;
}

int DBlockLayout::collapsedOffset(QStringView raw, int rawOffset, bool dropLeading)
{
    int count = 0;
    bool inSpace = false;
    bool leading = true;
    const int end = qBound(0, rawOffset, int(raw.size()));
    for (int i = 0; i < end; ++i) {
        if (raw[i].isSpace()) {
            if (!inSpace && !(leading && dropLeading))
                ++count;
            inSpace = true;
        } else {
            ++count;
            inSpace = false;
            leading = false;
        }
    }
    return count;
}

void DBlockLayout::walk(const DItem* root, int rows, const std::function<void(const DItem*)>& visit)
{
    auto walkOne = [&visit](const DItem* top) {
        const DItem* item = top;
        while (item) {
            visit(item);
            if (item->isContainer() && item->toContainer()->first()) {
                item = item->toContainer()->first();
                continue;
            }
            while (item != top && !item->next())
                item = item->parent();
            if (item == top)
                break;
            item = item->next();
        }
    };
    if (rows <= 0) {
        if (root)
            walkOne(root);
        return;
    }
    int count = 0;
    for (const DItem* row = root; row && count < rows; row = row->next(), ++count)
        walkOne(row);
}

QString DBlockLayout::plainText(const DItem* root, int rows)
{
    QString out;
    auto walkOne = [&out](const DItem* top) {
        const DItem* item = top;
        bool lastSpace = true;
        while (item) {
            if (const QString* text = searchableText(item)) {
                const QString part = collapse(*text, lastSpace || out.endsWith(QLatin1Char('\n')));
                out += part;
                if (!part.isEmpty())
                    lastSpace = part.endsWith(QLatin1Char(' '));
            }
            if (item->isContainer() && item->toContainer()->first()) {
                item = item->toContainer()->first();
                continue;
            }
            // Leave finished items, adding what separates them from the next.
            while (true) {
                const QString separator = separatorAfter(item);
                if (!separator.isEmpty() && !out.endsWith(QLatin1Char('\n'))) {
                    out += separator;
                    lastSpace = true;
                }
                if (item == top || item->next())
                    break;
                item = item->parent();
            }
            if (item == top)
                break;
            item = item->next();
        }
    };
    if (rows <= 0) {
        if (root)
            walkOne(root);
    } else {
        int count = 0;
        for (const DItem* row = root; row && count < rows; row = row->next(), ++count)
            walkOne(row);
    }
    while (out.endsWith(QLatin1Char('\n')) || out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

QTextCharFormat DBlockLayout::charFormatFor(const DItem* item,
                                            const QTextCharFormat& inherited) const
{
    QTextCharFormat format = inherited;
    QFont font = inherited.font();
    switch (item->kind()) {
    case DItem::Title: {
        const int level = static_cast<const DTitle*>(item)->level();
        font.setPointSizeF(m_context.font.pointSizeF() * titleScale(level));
        font.setBold(true);
        format.setForeground(titleColor);
        break;
    }
    case DItem::Header:
    case DItem::Footer:
        font.setPointSizeF(m_context.font.pointSizeF() * 0.85);
        format.setForeground(mutedColor);
        break;
    default:
        break;
    }
    if (const DStyle* style = item->style()) {
        font = style->font(font);
        if (style->color().isValid())
            format.setForeground(style->color());
        if (style->background().isValid() && !isBlockKind(item))
            format.setBackground(style->background());
    }
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    return format;
}

QTextBlockFormat DBlockLayout::blockFormatFor(const DItem* item) const
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

void DBlockLayout::record(const DItem* item, const QTextCursor& cursor)
{
    m_items.push_back({item, cursor.position()});
}

void DBlockLayout::startBlock(QTextCursor& cursor, const QTextBlockFormat& block,
                              const QTextCharFormat& format)
{
    QTextBlockFormat own(block);
    own.setProperty(OwnBlockProperty, true);
    if (!m_claimed && cursor.block().length() == 1) {
        cursor.setBlockFormat(own);
        // The first block of a table cell holds the cell's format (spans).
        if (!cursor.currentTable())
            cursor.setBlockCharFormat(format);
    } else {
        cursor.insertBlock(own, format);
    }
    cursor.setCharFormat(format);
    m_claimed = true;
    m_lastSpace = true;
}

void DBlockLayout::ensureInlineBlock(QTextCursor& cursor, const QTextCharFormat& format)
{
    if (m_inlineOpen)
        return;
    QTextBlockFormat block;
    if (m_defaultAlign)
        block.setAlignment(m_defaultAlign);
    startBlock(cursor, block, format);
    m_inlineOpen = true;
}

void DBlockLayout::insertText(const DItem* item, const QString& text, QTextCursor& cursor,
                              const QTextCharFormat& format)
{
    const bool dropped = m_lastSpace && !text.isEmpty() && text.front().isSpace();
    const QString shown = collapse(text, m_lastSpace);
    m_runs.push_back({item, cursor.position(), dropped});
    if (shown.isEmpty())
        return;
    cursor.insertText(shown, format);
    m_lastSpace = shown.endsWith(QLatin1Char(' '));
}

void DBlockLayout::emitChildren(const DItem* item, QTextCursor& cursor,
                                const QTextCharFormat& format, int depth)
{
    if (!item->isContainer())
        return;
    for (const DItem* child = item->toContainer()->first(); child; child = child->next()) {
        if (isBlockKind(child))
            emitBlock(child, cursor, format, depth + 1);
        else
            emitInline(child, cursor, format, depth + 1);
    }
}

void DBlockLayout::emitFlat(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format)
{
    // Deeper than any real report nests: shown as plain text, without recursion.
    ensureInlineBlock(cursor, format);
    walk(item, 0, [&](const DItem* inner) {
        record(inner, cursor);
        if (const QString* text = searchableText(inner)) {
            if (!m_lastSpace) {
                cursor.insertText(QStringLiteral(" "), format);
                m_lastSpace = true;
            }
            insertText(inner, *text, cursor, format);
        }
    });
}

void DBlockLayout::emitBlock(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                             int depth)
{
    if (depth > maxNesting) {
        emitFlat(item, cursor, format);
        return;
    }
    const QTextCharFormat own = charFormatFor(item, format);
    switch (item->kind()) {
    case DItem::Title:
    case DItem::Paragraph:
        startBlock(cursor, blockFormatFor(item), own);
        record(item, cursor);
        m_inlineOpen = true;
        emitChildren(item, cursor, own, depth);
        m_inlineOpen = false;
        break;
    case DItem::Header:
    case DItem::Footer:
    case DItem::Popup:
        emitFrame(item, cursor, own, depth);
        break;
    case DItem::List:
        emitList(item, cursor, own, depth);
        break;
    case DItem::Table:
        // Qt lays nested tables out again for each enclosing one: past a
        // few levels that cost explodes, so deeper tables become text.
        if (m_tableDepth >= maxTableNesting) {
            emitFlat(item, cursor, own);
            break;
        }
        emitTable(static_cast<const DTable*>(item), item->toContainer()->first(), -1, cursor, own,
                  depth);
        break;
    case DItem::Graphic: {
        QTextBlockFormat block = blockFormatFor(item);
        block.setTopMargin(6);
        block.setBottomMargin(6);
        if (!item->style() || !item->style()->alignment())
            block.setAlignment(Qt::AlignHCenter);
        startBlock(cursor, block, own);
        record(item, cursor);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                          DChartObject::format(static_cast<const DGraphic*>(item)));
        m_inlineOpen = false;
        break;
    }
    case DItem::PageBreak: {
        QTextBlockFormat block;
        block.setTopMargin(8);
        block.setBottomMargin(8);
        block.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                          QTextLength(QTextLength::PercentageLength, 100));
        block.setProperty(QTextFormat::BackgroundBrush, QBrush(ruleColor));
        startBlock(cursor, block, own);
        record(item, cursor);
        m_inlineOpen = false;
        break;
    }
    case DItem::SEntry:
    case DItem::IEntry:
        emitEntry(item, cursor, own);
        break;
    default:
        // Sections, documents, summaries, indexes and stray rows or cells
        // only group what they hold.
        m_inlineOpen = false;
        record(item, cursor);
        emitChildren(item, cursor, own, depth);
        m_inlineOpen = false;
        break;
    }
}

void DBlockLayout::emitInline(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                              int depth)
{
    if (depth > maxNesting) {
        emitFlat(item, cursor, format);
        return;
    }
    switch (item->kind()) {
    case DItem::Curve:
    case DItem::Point:
    case DItem::Axis:
        return; // only meaningful inside a graphic
    case DItem::Image:
        emitImage(item, cursor, format);
        return;
    default:
        break;
    }
    ensureInlineBlock(cursor, format);
    record(item, cursor);
    const QTextCharFormat own = charFormatFor(item, format);
    switch (item->kind()) {
    case DItem::Text:
        insertText(item, static_cast<const DText*>(item)->text(), cursor, own);
        break;
    case DItem::CellText:
        insertText(item, static_cast<const DCellText*>(item)->text(), cursor, own);
        emitChildren(item, cursor, own, depth);
        break;
    case DItem::Link:
    case DItem::PopupLink: {
        const size_t index = m_anchors.size();
        m_anchors.push_back({item, cursor.position(), -1});
        const QTextCharFormat link = linkFormat(item, own);
        if (item->kind() == DItem::PopupLink) {
            const bool open = m_context.expanded && m_context.expanded->contains(item);
            cursor.insertText(open ? QStringLiteral("\u25BE ") : QStringLiteral("\u25B8 "), link);
            m_lastSpace = true;
        }
        if (item->toContainer()->first())
            emitChildren(item, cursor, link, depth);
        else
            insertText(item, static_cast<const DLink*>(item)->target(), cursor, link);
        m_anchors[index].end = cursor.position();
        break;
    }
    case DItem::TagPointer: {
        const size_t index = m_anchors.size();
        m_anchors.push_back({item, cursor.position(), -1});
        const QTextCharFormat link = linkFormat(item, own);
        cursor.insertText(QStringLiteral("\u2192 "), link);
        m_lastSpace = true;
        insertText(item, static_cast<const DTagPointer*>(item)->target(), cursor, link);
        m_anchors[index].end = cursor.position();
        break;
    }
    case DItem::Tag:
        break; // an anchor: its place is recorded above
    default:
        emitChildren(item, cursor, own, depth);
        break;
    }
}

QTextCharFormat DBlockLayout::linkFormat(const DItem* item, const QTextCharFormat& format)
{
    QTextCharFormat link = format;
    link.setAnchor(true);
    link.setAnchorHref(QString::number(m_anchors.size() - 1));
    const DStyle* style = item->style();
    if (!style || !style->color().isValid())
        link.setForeground(linkColor);
    if (!style)
        link.setFontUnderline(true);
    return link;
}

void DBlockLayout::emitEntry(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format)
{
    startBlock(cursor, blockFormatFor(item), format);
    record(item, cursor);
    const size_t index = m_anchors.size();
    m_anchors.push_back({item, cursor.position(), -1});
    const QTextCharFormat link = linkFormat(item, format);
    insertText(item, *searchableText(item), cursor, link);
    m_anchors[index].end = cursor.position();
    m_inlineOpen = false;
}

void DBlockLayout::emitImage(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format)
{
    ensureInlineBlock(cursor, format);
    record(item, cursor);
    const QString source = static_cast<const DImage*>(item)->source();
    const QString path = m_context.findFile ? m_context.findFile(source) : QString();
    QImage image;
    if (!path.isEmpty()) {
        if (m_context.images && m_context.images->contains(path)) {
            image = m_context.images->value(path);
        } else {
            image.load(path);
            if (m_context.images)
                m_context.images->insert(path, image);
        }
    }
    if (image.isNull()) {
        QTextCharFormat missing = format;
        missing.setFontItalic(true);
        missing.setForeground(mutedColor);
        cursor.insertText(QStringLiteral("[%1]").arg(source), missing);
        m_lastSpace = false;
        return;
    }
    const QString name = QStringLiteral("dimage:") + path;
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat shown;
    shown.setName(name);
    QSizeF size = image.deviceIndependentSize();
    if (m_context.width > 0 && size.width() > m_context.width)
        size *= m_context.width / size.width();
    shown.setWidth(size.width());
    shown.setHeight(size.height());
    cursor.insertImage(shown);
    m_lastSpace = false;
}

void DBlockLayout::emitFrame(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                             int depth)
{
    if (item->kind() == DItem::Popup &&
        !(m_context.expanded && m_context.expanded->contains(item))) {
        record(item, cursor); // a closed popup takes no room
        return;
    }
    QTextFrameFormat frame;
    frame.setBorder(1);
    frame.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    frame.setPadding(6);
    frame.setTopMargin(4);
    frame.setBottomMargin(4);
    frame.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    const DStyle* style = item->style();
    if (item->kind() == DItem::Popup) {
        frame.setBorderBrush(QColor(0xe0, 0xc8, 0x70));
        frame.setBackground(QColor(0xff, 0xfb, 0xea));
    } else {
        frame.setBorderBrush(QColor(0xdd, 0xe2, 0xe7));
        frame.setBackground(QColor(0xf4, 0xf6, 0xf8));
    }
    if (style && style->background().isValid())
        frame.setBackground(style->background());
    QTextFrame* inserted = cursor.insertFrame(frame);
    record(item, cursor);
    m_claimed = false;
    m_inlineOpen = false;
    m_lastSpace = true;
    emitChildren(item, cursor, format, depth);
    cursor = inserted->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    m_claimed = false;
    m_inlineOpen = false;
    m_lastSpace = true;
}

void DBlockLayout::emitList(const DItem* list, QTextCursor& cursor, const QTextCharFormat& format,
                            int depth)
{
    record(list, cursor);
    QTextListFormat listFormat;
    listFormat.setStyle(depth % 2 ? QTextListFormat::ListDisc : QTextListFormat::ListCircle);
    int indent = 1;
    for (const DItem* up = list->parent(); up; up = up->parent())
        indent += up->kind() == DItem::List ? 1 : 0;
    listFormat.setIndent(qMin(indent, 8));
    QTextList* textList = nullptr;
    for (const DItem* child = list->toContainer()->first(); child; child = child->next()) {
        if (isBlockKind(child) && child->kind() != DItem::Paragraph) {
            emitBlock(child, cursor, format, depth + 1);
            continue;
        }
        QTextBlockFormat item = blockFormatFor(child);
        item.setTopMargin(1);
        item.setBottomMargin(1);
        const QTextCharFormat own =
            child->kind() == DItem::Paragraph ? charFormatFor(child, format) : format;
        startBlock(cursor, item, own);
        if (!textList)
            textList = cursor.createList(listFormat);
        else
            textList->add(cursor.block());
        m_inlineOpen = true;
        if (child->kind() == DItem::Paragraph) {
            record(child, cursor);
            emitChildren(child, cursor, own, depth + 1);
        } else {
            emitInline(child, cursor, format, depth + 1);
        }
        m_inlineOpen = false;
    }
}

void DBlockLayout::emitTable(const DTable* table, const DItem* firstRow, int rows,
                             QTextCursor& cursor, const QTextCharFormat& format, int depth)
{
    struct Placed
    {
        const DItem* cell;
        const DItem* row;
        int row_, column, rowSpan, columnSpan;
    };
    std::vector<const DItem*> rowItems;
    for (const DItem* row = firstRow; row && (rows < 0 || int(rowItems.size()) < rows);
         row = row->next())
        rowItems.push_back(row);
    const QTextCharFormat tableFormat = charFormatFor(table, format);
    if (rowItems.empty()) {
        record(table, cursor);
        return;
    }

    // Place the cells on a grid, skipping places that spans above cover.
    const int rowCount = int(rowItems.size());
    std::vector<std::vector<char>> taken(rowItems.size());
    std::vector<Placed> placed;
    int columns = qMin(maxColumns, int(table->widths().size()));
    for (int r = 0; r < rowCount; ++r) {
        const DItem* row = rowItems[size_t(r)];
        const DItem* cell =
            row->isContainer() && row->kind() == DItem::Row ? row->toContainer()->first() : row;
        int column = 0;
        for (; cell; cell = row->kind() == DItem::Row ? cell->next() : nullptr) {
            auto& line = taken[size_t(r)];
            while (column < int(line.size()) && line[size_t(column)])
                ++column;
            if (column >= maxColumns)
                break;
            int hspan = 0, vspan = 0;
            if (cell->kind() == DItem::Cell || cell->kind() == DItem::CellText) {
                hspan = static_cast<const DCell*>(cell)->hspan();
                vspan = static_cast<const DCell*>(cell)->vspan();
            }
            const int columnSpan = qBound(1, 1 + hspan, maxColumns - column);
            const int rowSpan = qBound(1, 1 + vspan, rowCount - r);
            for (int rr = r; rr < r + rowSpan; ++rr) {
                auto& cells = taken[size_t(rr)];
                if (int(cells.size()) < column + columnSpan)
                    cells.resize(size_t(column + columnSpan), 0);
                for (int cc = column; cc < column + columnSpan; ++cc)
                    cells[size_t(cc)] = 1;
            }
            placed.push_back({cell, row, r, column, rowSpan, columnSpan});
            column += columnSpan;
            columns = qMax(columns, column);
        }
    }
    columns = qMax(1, columns);

    QTextTableFormat grid;
    grid.setBorderCollapse(true);
    grid.setCellSpacing(0);
    grid.setCellPadding(4);
    grid.setTopMargin(4);
    grid.setBottomMargin(6);
    grid.setBorder(table->frame() == DTable::NoFrame ? 0 : 1);
    grid.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    grid.setBorderBrush(ruleColor);
    if (table->style() && table->style()->alignment())
        grid.setAlignment(table->style()->alignment());
    const QList<double>& widths = table->widths();
    double sum = 0;
    for (int c = 0; c < columns; ++c)
        sum += c < widths.size() && widths[c] > 0 ? widths[c] : 0;
    if (sum > 0 || rows > 0) {
        QList<QTextLength> constraints;
        const double missing = sum > 0 ? sum / qMax<qsizetype>(1, widths.size()) : 1.0;
        double total = 0;
        for (int c = 0; c < columns; ++c)
            total += c < widths.size() && widths[c] > 0 ? widths[c] : missing;
        for (int c = 0; c < columns; ++c) {
            const double w = c < widths.size() && widths[c] > 0 ? widths[c] : missing;
            constraints.append(QTextLength(QTextLength::PercentageLength, 100.0 * w / total));
        }
        grid.setColumnWidthConstraints(constraints);
        grid.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    }

    record(table, cursor);
    QTextTable* textTable = cursor.insertTable(rowCount, columns, grid);
    ++m_tableDepth;
    const bool spans = std::any_of(placed.begin(), placed.end(), [](const Placed& p) {
        return p.rowSpan > 1 || p.columnSpan > 1;
    });
    if (spans) {
        // Merging needs the table's frame known to the document, which an
        // open edit block defers: close it for the merge, then reopen it.
        cursor.endEditBlock();
        for (const Placed& p : placed)
            if (p.rowSpan > 1 || p.columnSpan > 1)
                textTable->mergeCells(p.row_, p.column, p.rowSpan, p.columnSpan);
        cursor.beginEditBlock();
    }

    const DItem* previousRow = nullptr;
    QTextCharFormat rowFormat;
    for (const Placed& p : placed) {
        if (p.row != previousRow) {
            previousRow = p.row;
            rowFormat =
                p.row->kind() == DItem::Row ? charFormatFor(p.row, tableFormat) : tableFormat;
            QTextCursor at = textTable->cellAt(p.row_, p.column).firstCursorPosition();
            record(p.row, at);
        }
        const QTextCharFormat cellFormat =
            p.cell == p.row ? rowFormat : charFormatFor(p.cell, rowFormat);
        QTextTableCell cell = textTable->cellAt(p.row_, p.column);
        QColor background;
        if (p.row->style() && p.row->style()->background().isValid())
            background = p.row->style()->background();
        if (p.cell->style() && p.cell->style()->background().isValid())
            background = p.cell->style()->background();
        // Most cells keep the table's look: reading and setting a cell's
        // format is costly, so only the others do it.
        const bool ownLook = background.isValid() || table->frame() == DTable::Outline;
        QTextTableCellFormat look;
        if (ownLook) {
            look = cell.format().toTableCellFormat();
            if (background.isValid())
                look.setBackground(background);
            if (table->frame() == DTable::Outline)
                look.setBorder(0);
        }

        Qt::Alignment align;
        if (p.row->style())
            align = p.row->style()->alignment();
        if (p.cell->style() && p.cell->style()->alignment())
            align = p.cell->style()->alignment();
        QTextCursor at = cell.firstCursorPosition();
        m_claimed = false;
        m_inlineOpen = false;
        m_lastSpace = true;
        m_defaultAlign = align;
        if (p.cell->kind() == DItem::Cell) {
            // Its first child takes the cell's first block.
            record(p.cell, at);
            emitChildren(p.cell, at, cellFormat, depth + 1);
        } else if (p.cell->kind() == DItem::CellText) {
            QTextBlockFormat block;
            if (align)
                block.setAlignment(align);
            startBlock(at, block, cellFormat);
            m_inlineOpen = true;
            record(p.cell, at);
            insertText(p.cell, static_cast<const DCellText*>(p.cell)->text(), at, cellFormat);
            emitChildren(p.cell, at, cellFormat, depth + 1);
        } else if (isBlockKind(p.cell)) {
            emitBlock(p.cell, at, rowFormat, depth + 1);
        } else {
            emitInline(p.cell, at, rowFormat, depth + 1);
        }
        m_inlineOpen = false;
        m_defaultAlign = {};
        // Set once the content is in: the look lives in the format of the
        // cell's first block.
        if (ownLook)
            cell.setFormat(look);
    }
    --m_tableDepth;
    cursor = textTable->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    m_claimed = false;
    m_inlineOpen = false;
    m_lastSpace = true;
}

int DBlockLayout::positionOf(const DItem* item) const
{
    for (const ItemPosition& entry : m_items)
        if (entry.item == item)
            return entry.position;
    return -1;
}

const DBlockLayout::TextRun* DBlockLayout::runOf(const DItem* item) const
{
    for (const TextRun& run : m_runs)
        if (run.item == item)
            return &run;
    return nullptr;
}

qreal DBlockLayout::yOfPosition(int position) const
{
    const QTextBlock block = m_doc->findBlock(position);
    if (!block.isValid())
        return 0;
    const QRectF rect = m_doc->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    return rect.top() + (line.isValid() ? line.y() : 0);
}

QRectF DBlockLayout::rectOfRange(int start, int end) const
{
    const qreal top = yOfPosition(start);
    const QTextBlock block = m_doc->findBlock(qMax(start, end));
    qreal bottom = top + QFontMetricsF(m_context.font).height();
    if (block.isValid()) {
        const QRectF rect = m_doc->documentLayout()->blockBoundingRect(block);
        const QTextLine line =
            block.layout()->lineForTextPosition(qMax(start, end) - block.position());
        if (line.isValid())
            bottom = qMax(bottom, rect.top() + line.y() + line.height());
    }
    return QRectF(0, top, m_context.width, bottom - top);
}

int DBlockLayout::anchorAt(const QPointF& point) const
{
    const QString href = m_doc->documentLayout()->anchorAt(point);
    bool ok = false;
    const int index = href.toInt(&ok);
    return ok && index >= 0 && index < int(m_anchors.size()) ? index : -1;
}

int DBlockLayout::hitTest(const QPointF& point) const
{
    const int position = m_doc->documentLayout()->hitTest(point, Qt::FuzzyHit);
    return position < 0 ? (point.y() <= 0 ? 0 : endPosition()) : position;
}

int DBlockLayout::endPosition() const
{
    return qMax(0, m_doc->characterCount() - 1);
}
