#include "dblocklayout.h"

#include "dblocktext.h"
#include "dcellgrid.h"
#include "dchartobject.h"
#include "ditems.h"
#include "ditemtraits.h"
#include "ditemwalk.h"
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

#include <cmath>

namespace {

// Marks text blocks that an item asked for, so that the empty separator
// blocks Qt keeps around tables and frames can be folded away.
constexpr int OwnBlockProperty = QTextFormat::UserProperty + 10;
constexpr int maxColumns = 64;

bool isBlockKind(const DItem* item)
{
    return DItemTraits::of(item).block;
}

} // namespace

DBlockLayout::DBlockLayout(const DItem* root, int rows, const Context& context)
    : m_context(context), m_formats(context.font), m_doc(std::make_unique<QTextDocument>())
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
    const QTextCharFormat base = m_formats.base();
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
            setTopMargin(DItemTraits::titleTopMargin(static_cast<const DTitle*>(root)->level(),
                                                     context.font));
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
    const bool dropped = m_lastSpace && !text.isEmpty() && DBlockText::collapses(text.front());
    const QString shown = DBlockText::collapse(text, m_lastSpace);
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
    DItemWalk::walk(item, [&](const DItem* inner) {
        record(inner, cursor);
        if (const QString* text = DBlockText::searchableText(inner)) {
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
    const QTextCharFormat own = m_formats.charFormat(item, format);
    switch (item->kind()) {
    case DItem::Title:
    case DItem::Paragraph:
        startBlock(cursor, m_formats.blockFormat(item), own);
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
        startBlock(cursor, m_formats.graphicFormat(item), own);
        record(item, cursor);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                          DChartObject::format(static_cast<const DGraphic*>(item)));
        m_inlineOpen = false;
        break;
    }
    case DItem::PageBreak: {
        startBlock(cursor, m_formats.pageBreakFormat(), own);
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
    if (DItemTraits::of(item).chartPart)
        return; // drawn by its graphic
    if (item->kind() == DItem::Image) {
        emitImage(item, cursor, format);
        return;
    }
    ensureInlineBlock(cursor, format);
    record(item, cursor);
    const QTextCharFormat own = m_formats.charFormat(item, format);
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
    return m_formats.linkFormat(item, format, QString::number(m_anchors.size() - 1));
}

void DBlockLayout::emitEntry(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format)
{
    startBlock(cursor, m_formats.blockFormat(item), format);
    record(item, cursor);
    const size_t index = m_anchors.size();
    m_anchors.push_back({item, cursor.position(), -1});
    const QTextCharFormat link = linkFormat(item, format);
    insertText(item, *DBlockText::searchableText(item), cursor, link);
    m_anchors[index].end = cursor.position();
    m_inlineOpen = false;
}

QImage DBlockLayout::loadImage(const QString& path)
{
    if (path.isEmpty())
        return QImage();
    if (m_context.images) {
        if (const QImage* cached = m_context.images->object(path))
            return *cached;
    }
    QImage image(path);
    // The cost is the decoded size in kilobytes; an image larger than the
    // whole cache is used once and not kept.
    if (m_context.images)
        m_context.images->insert(path, new QImage(image),
                                 qMax<qsizetype>(1, image.sizeInBytes() / 1024));
    return image;
}

void DBlockLayout::emitImage(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format)
{
    ensureInlineBlock(cursor, format);
    record(item, cursor);
    const QString source = static_cast<const DImage*>(item)->source();
    const QString path = m_context.findFile ? m_context.findFile(source) : QString();
    const QImage image = loadImage(path);
    if (image.isNull()) {
        cursor.insertText(QStringLiteral("[%1]").arg(source), m_formats.missingImageFormat(format));
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
    QTextFrame* inserted = cursor.insertFrame(m_formats.frameFormat(item));
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
        QTextBlockFormat item = m_formats.blockFormat(child);
        item.setTopMargin(1);
        item.setBottomMargin(1);
        const QTextCharFormat own =
            child->kind() == DItem::Paragraph ? m_formats.charFormat(child, format) : format;
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
    std::vector<const DItem*> rowItems;
    for (const DItem* row = firstRow; row && (rows < 0 || int(rowItems.size()) < rows);
         row = row->next())
        rowItems.push_back(row);
    const QTextCharFormat tableFormat = m_formats.charFormat(table, format);
    if (rowItems.empty()) {
        record(table, cursor);
        return;
    }

    // Place the cells on a grid, skipping places that spans above cover.
    auto spanOf = [](const DItem* cell) {
        if (cell->kind() != DItem::Cell && cell->kind() != DItem::CellText)
            return DCellGrid::Span{};
        return DCellGrid::Span{static_cast<const DCell*>(cell)->hspan(),
                               static_cast<const DCell*>(cell)->vspan()};
    };
    std::vector<std::vector<DCellGrid::Span>> spans(rowItems.size());
    std::vector<std::vector<const DItem*>> cells(rowItems.size());
    for (size_t r = 0; r < rowItems.size(); ++r) {
        const DItem* row = rowItems[r];
        // A stray item among the rows stands for one cell.
        const DItem* first = row->kind() == DItem::Row ? row->toContainer()->first() : row;
        for (const DItem* cell = first; cell;
             cell = row->kind() == DItem::Row ? cell->next() : nullptr) {
            cells[r].push_back(cell);
            spans[r].push_back(spanOf(cell));
        }
    }
    const DCellGrid placement(spans, maxColumns);
    const int rowCount = int(rowItems.size());
    const int columns = qMax(placement.columns(), qMin(maxColumns, int(table->widths().size())));

    QTextTableFormat grid = m_formats.tableFormat(table);
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
    if (placement.hasSpans()) {
        // Merging needs the table's frame known to the document, which an
        // open edit block defers: close it for the merge, then reopen it.
        cursor.endEditBlock();
        for (const DCellGrid::Placed& p : placement.cells())
            if (p.rowSpan > 1 || p.columnSpan > 1)
                textTable->mergeCells(p.row, p.column, p.rowSpan, p.columnSpan);
        cursor.beginEditBlock();
    }

    const DItem* previousRow = nullptr;
    QTextCharFormat rowFormat;
    for (const DCellGrid::Placed& placed : placement.cells()) {
        const DItem* row = rowItems[size_t(placed.row)];
        const DItem* item = cells[size_t(placed.row)][size_t(placed.index)];
        if (row != previousRow) {
            previousRow = row;
            rowFormat =
                row->kind() == DItem::Row ? m_formats.charFormat(row, tableFormat) : tableFormat;
            QTextCursor at = textTable->cellAt(placed.row, placed.column).firstCursorPosition();
            record(row, at);
        }
        const QTextCharFormat cellFormat =
            item == row ? rowFormat : m_formats.charFormat(item, rowFormat);
        QTextTableCell cell = textTable->cellAt(placed.row, placed.column);
        QColor background;
        if (row->style() && row->style()->background().isValid())
            background = row->style()->background();
        if (item->style() && item->style()->background().isValid())
            background = item->style()->background();
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
        if (row->style())
            align = row->style()->alignment();
        if (item->style() && item->style()->alignment())
            align = item->style()->alignment();
        QTextCursor at = cell.firstCursorPosition();
        m_claimed = false;
        m_inlineOpen = false;
        m_lastSpace = true;
        m_defaultAlign = align;
        if (item->kind() == DItem::Cell) {
            // Its first child takes the cell's first block.
            record(item, at);
            emitChildren(item, at, cellFormat, depth + 1);
        } else if (item->kind() == DItem::CellText) {
            QTextBlockFormat block;
            if (align)
                block.setAlignment(align);
            startBlock(at, block, cellFormat);
            m_inlineOpen = true;
            record(item, at);
            insertText(item, static_cast<const DCellText*>(item)->text(), at, cellFormat);
            emitChildren(item, at, cellFormat, depth + 1);
        } else if (isBlockKind(item)) {
            emitBlock(item, at, rowFormat, depth + 1);
        } else {
            emitInline(item, at, rowFormat, depth + 1);
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
