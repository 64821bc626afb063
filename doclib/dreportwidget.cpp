#include "dreportwidget.h"

#include "dblocklayout.h"
#include "dchartobject.h"
#include "ditems.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// Tables longer than this are cut into runs of rows, one block per run.
constexpr int rowsPerBlock = 48;
// Search scans the items' text in pieces of about this many characters.
constexpr int searchChunk = 1 << 16;
// How far Tab looks for the next link.
constexpr int anchorScanBlocks = 400;

bool isGrouping(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Document:
    case DItem::Section:
    case DItem::Summary:
    case DItem::Index:
        return true;
    default:
        return false;
    }
}

int countRows(const DItem* table, int stopAt)
{
    int rows = 0;
    for (const DItem* row = table->toContainer()->first(); row && rows <= stopAt; row = row->next())
        ++rows;
    return rows;
}

QString linkTarget(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Link:
    case DItem::PopupLink:
        return static_cast<const DLink*>(item)->target();
    case DItem::TagPointer:
        return static_cast<const DTagPointer*>(item)->target();
    case DItem::SEntry:
        return static_cast<const DSEntry*>(item)->target();
    case DItem::IEntry:
        return static_cast<const DIEntry*>(item)->target();
    default:
        return QString();
    }
}

} // namespace

DReportWidget::DReportWidget(QWidget* parent)
    : DApidocView(parent), m_entryLink(std::make_unique<DLink>())
{
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    m_top.offset = -pageMargins().top();
    syncScrollBars();
}

DReportWidget::~DReportWidget() = default;

// ---------------------------------------------------------------- content

void DReportWidget::setDocument(DDocument* doc, bool first)
{
    if (first)
        clearDocs();
    if (!doc || m_documents.contains(doc))
        return;
    const bool wasEmpty = m_blocks.empty();
    m_documents.append(doc);
    appendDocument(doc);
    m_namesBuilt = false;
    m_names.clear();
    if (wasEmpty)
        m_top = {0, -pageMargins().top()};
    syncScrollBars();
    viewport()->update();
}

void DReportWidget::clearDocs()
{
    if (!m_documents.isEmpty())
        m_keptName = currentItemName();
    m_documents.clear();
    m_expanded.clear();
    resetContent();
    m_top = {0, -pageMargins().top()};
    syncScrollBars();
    viewport()->update();
}

void DReportWidget::resetContent()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_heights.clear();
    m_blockIndex.clear();
    m_blockIndex.squeeze();
    m_names.clear();
    m_namesBuilt = false;
    m_cache.clear();
    m_pinned = nullptr;
    m_anchor = m_cursor = TextPos();
    m_focusBlock = m_focusAnchor = -1;
    m_pressBlock = m_pressAnchor = -1;
    m_widestBlock = 0;
}

void DReportWidget::rebuildDoc()
{
    const DItem* topItem = m_blocks.empty() ? nullptr : m_blocks[size_t(m_top.block)].item;
    const int offset = m_top.offset;
    const DItem* pinned = m_pinned;
    const QList<DDocument*> documents = m_documents;
    resetContent();
    m_layoutWidth = textWidth();
    for (DDocument* doc : documents)
        appendDocument(doc);
    if (pinned) {
        moveTo(pinned);
        return;
    }
    const int block = topItem ? blockOf(topItem) : -1;
    setPlace(qMax(0, block), block < 0 ? -pageMargins().top() : offset);
}

void DReportWidget::appendDocument(DDocument* doc)
{
    updateEstimateMetrics();
    const DItem* lastNamed = m_blocks.empty() ? nullptr : m_blocks.back().namedBefore;
    if (!m_blocks.empty()) {
        // The named items of the previous last block come before this document.
        const Block& last = m_blocks.back();
        DBlockLayout::walk(last.item, last.rows, [&lastNamed](const DItem* item) {
            if (!item->name().isEmpty())
                lastNamed = item;
        });
    }
    m_blockIndex.insert(doc, int(m_blocks.size()));
    if (!doc->name().isEmpty())
        lastNamed = doc;

    // Walk the grouping items (sections...) with an explicit stack; every
    // other item is a block of its own.
    std::vector<const DItem*> open;
    const DItem* item = doc->first();
    while (true) {
        if (!item) {
            if (open.empty())
                break;
            item = open.back()->next();
            open.pop_back();
            continue;
        }
        if (isGrouping(item)) {
            m_blockIndex.insert(item, int(m_blocks.size()));
            if (!item->name().isEmpty())
                lastNamed = item;
            if (item->toContainer()->first()) {
                open.push_back(item);
                item = item->toContainer()->first();
            } else {
                item = item->next();
            }
            continue;
        }
        auto noteNames = [&lastNamed](const DItem* inner) {
            if (!inner->name().isEmpty())
                lastNamed = inner;
        };
        if (item->kind() == DItem::Table && countRows(item, rowsPerBlock) > rowsPerBlock) {
            m_blockIndex.insert(item, int(m_blocks.size()));
            const DItem* row = item->toContainer()->first();
            while (row) {
                const DItem* runStart = row;
                int rows = 0;
                for (; row && rows < rowsPerBlock; row = row->next(), ++rows)
                    m_blockIndex.insert(row, int(m_blocks.size()));
                addBlock(runStart, rows, lastNamed);
                DBlockLayout::walk(runStart, rows, noteNames);
            }
        } else {
            m_blockIndex.insert(item, int(m_blocks.size()));
            addBlock(item, 0, lastNamed);
            DBlockLayout::walk(item, 0, noteNames);
        }
        item = item->next();
    }
}

void DReportWidget::addBlock(const DItem* item, int rows, const DItem* namedBefore)
{
    m_blocks.push_back({item, namedBefore, rows});
    m_heights.append(estimateHeight(item, rows));
}

void DReportWidget::updateEstimateMetrics()
{
    const QFontMetrics metrics(font());
    m_estimate.line = metrics.lineSpacing();
    m_estimate.charWidth = qMax(1, metrics.averageCharWidth());
    m_estimate.width = qMax(50, textWidth());
    for (int level = 1; level <= 6; ++level)
        m_estimate.titleMargins[level - 1] = DBlockLayout::titleTopMargin(level, font());
}

int DReportWidget::estimateHeight(const DItem* item, int rows) const
{
    const int line = m_estimate.line;
    const int width = m_estimate.width;
    const int charWidth = m_estimate.charWidth;
    switch (item->kind()) {
    case DItem::Title: {
        const int level = static_cast<const DTitle*>(item)->level();
        return int(line * (level <= 1   ? 1.9
                           : level == 2 ? 1.55
                                        : 1.25)) +
               (level <= 2 ? 22 : 12) + m_estimate.titleMargins[qBound(1, level, 6) - 1];
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
    DBlockLayout::walk(item, rows, [&](const DItem* inner) {
        if (const QString* text = DBlockLayout::searchableText(inner))
            characters += text->size();
        if (inner->kind() == DItem::Row)
            ++rowCount;
        else if (inner->kind() == DItem::Paragraph || inner->kind() == DItem::SEntry ||
                 inner->kind() == DItem::IEntry)
            ++lines;
    });
    const int wrapped = int(characters * charWidth / width);
    if (rowCount > 0)
        return rowCount * (line + 9) + 12 + wrapped * line / 2;
    return qMax(1, qMax(lines, wrapped + 1)) * line + 6;
}

QObject* DReportWidget::chartHandler() const
{
    if (!m_chart)
        m_chart = new DChartObject(const_cast<DReportWidget*>(this));
    return m_chart;
}

int DReportWidget::textWidth() const
{
    const QMargins& margins = pageMargins();
    return qMax(50, viewport()->width() - margins.left() - margins.right());
}

void DReportWidget::invalidateLayouts()
{
    m_cache.clear();
    m_widestBlock = 0;
}

void DReportWidget::setCacheLimit(int blocks)
{
    m_cacheLimit = qMax(8, blocks);
    evictLayouts();
}

DBlockLayout* DReportWidget::layoutOf(int block) const
{
    auto found = m_cache.find(block);
    if (found != m_cache.end()) {
        found->second.lastUse = ++m_useClock;
        return found->second.layout.get();
    }
    DBlockLayout::Context context;
    context.font = font();
    context.width = textWidth();
    context.wordWrap = wordWrap();
    context.chartHandler = chartHandler();
    context.findFile = [this](const QString& source) { return findFile(source); };
    context.expanded = &m_expanded;
    context.images = &m_images;
    const Block& spec = m_blocks[size_t(block)];
    auto layout = std::make_unique<DBlockLayout>(spec.item, spec.rows, context);
    if (layout->height() != m_heights.height(block)) {
        m_heights.setHeight(block, layout->height());
        ++m_heightChanges;
    }
    m_widestBlock = qMax(m_widestBlock, int(std::ceil(layout->idealWidth())));
    DBlockLayout* result = layout.get();
    m_cache[block] = {std::move(layout), ++m_useClock};
    if (int(m_cache.size()) > m_cacheLimit)
        evictLayouts();
    return result;
}

void DReportWidget::evictLayouts() const
{
    // One least recently used layout at a time, as new ones come: freeing
    // many documents at once would stall the frame that makes it happen.
    while (int(m_cache.size()) > m_cacheLimit) {
        auto oldest = m_cache.begin();
        for (auto entry = m_cache.begin(); entry != m_cache.end(); ++entry)
            if (entry->second.lastUse < oldest->second.lastUse)
                oldest = entry;
        m_cache.erase(oldest);
    }
}

int DReportWidget::blockOf(const DItem* item) const
{
    for (const DItem* up = item; up; up = up->parent()) {
        const auto found = m_blockIndex.constFind(up);
        if (found != m_blockIndex.constEnd())
            return m_blocks.empty() ? -1 : qMin(found.value(), int(m_blocks.size()) - 1);
    }
    return -1;
}

const DItem* DReportWidget::blockItem(int block) const
{
    return block >= 0 && block < blockCount() ? m_blocks[size_t(block)].item : nullptr;
}

const DBlockLayout* DReportWidget::blockLayout(int block) const
{
    return block >= 0 && block < blockCount() ? layoutOf(block) : nullptr;
}

// ---------------------------------------------------------------- places

qreal DReportWidget::yInBlock(int block, const DItem* item) const
{
    if (item == m_blocks[size_t(block)].item)
        return 0;
    const DBlockLayout* layout = layoutOf(block);
    const int position = layout->positionOf(item);
    return position < 0 ? 0 : layout->yOfPosition(position);
}

qint64 DReportWidget::topOffset() const
{
    return pageMargins().top() + m_heights.offsetOf(m_top.block) + m_top.offset;
}

qint64 DReportWidget::itemOffset(const DItem* item) const
{
    const int block = blockOf(item);
    if (block < 0)
        return -1;
    return pageMargins().top() + m_heights.offsetOf(block) + qint64(yInBlock(block, item));
}

void DReportWidget::normalize()
{
    const int count = blockCount();
    if (count == 0) {
        m_top = {0, -pageMargins().top()};
        return;
    }
    m_top.block = qBound(0, m_top.block, count - 1);
    // Blocks passed over keep their estimated height: going down, only the
    // block that ends up at the top is laid out; going up, also those that
    // may show below it (they decide where the top lands, as at the end).
    while (m_top.block < count - 1) {
        if (m_top.offset < m_heights.height(m_top.block) &&
            m_top.offset < layoutOf(m_top.block)->height())
            break;
        m_top.offset -= m_heights.height(m_top.block);
        ++m_top.block;
    }
    const int viewHeight = viewport()->height();
    while (m_top.offset < 0 && m_top.block > 0) {
        --m_top.block;
        const int estimate = m_heights.height(m_top.block);
        const bool belowView = -(m_top.offset + estimate) > viewHeight;
        m_top.offset += belowView ? estimate : layoutOf(m_top.block)->height();
    }
    if (m_top.block == 0)
        m_top.offset = qMax(m_top.offset, -pageMargins().top());
}

void DReportWidget::clampToEnd()
{
    const int count = blockCount();
    if (count == 0)
        return;
    const int viewHeight = viewport()->height();
    const qint64 below =
        m_heights.total() - m_heights.offsetOf(m_top.block) - m_top.offset + pageMargins().bottom();
    if (below >= viewHeight)
        return;
    // Too close to the end: measure the last blocks and fill the viewport.
    const int last = count - 1;
    m_top = {last, layoutOf(last)->height() + pageMargins().bottom() - viewHeight};
    normalize();
}

void DReportWidget::setPlace(int block, int offset)
{
    m_top = {block, offset};
    normalize();
    clampToEnd();
    syncScrollBars();
    viewport()->update();
}

void DReportWidget::setTopFromValue(int value)
{
    const qint64 y = qint64(value) - pageMargins().top();
    if (y < 0 || m_blocks.empty()) {
        m_top = {0, int(y)};
    } else {
        const int block = m_heights.blockAt(y);
        m_top = {block, int(y - m_heights.offsetOf(block))};
    }
    normalize();
}

void DReportWidget::syncScrollBars()
{
    m_syncing = true;
    const QMargins& margins = pageMargins();
    const qint64 content = margins.top() + m_heights.total() + margins.bottom();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0,
                       int(qBound<qint64>(0, content - viewport()->height(), qint64(INT_MAX / 2))));
    vertical->setPageStep(viewport()->height());
    vertical->setSingleStep(QFontMetrics(font()).lineSpacing());
    vertical->setValue(int(qMin<qint64>(topOffset(), INT_MAX / 2)));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(
        0, qMax(0, m_widestBlock + margins.left() + margins.right() - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    m_syncing = false;
}

void DReportWidget::scrollContentsBy(int, int dy)
{
    if (dy != 0 && !m_syncing) {
        m_pinned = nullptr;
        setTopFromValue(verticalScrollBar()->value());
    }
    viewport()->update();
}

void DReportWidget::scrollBy(int pixels)
{
    if (m_blocks.empty())
        return;
    m_pinned = nullptr;
    setPlace(m_top.block, m_top.offset + pixels);
}

void DReportWidget::scrollToTop()
{
    m_pinned = nullptr;
    setPlace(0, -pageMargins().top());
}

void DReportWidget::scrollToBottom()
{
    if (m_blocks.empty())
        return;
    m_pinned = nullptr;
    const int last = blockCount() - 1;
    setPlace(last, layoutOf(last)->height());
}

bool DReportWidget::moveTo(const DItem* item)
{
    const int block = item ? blockOf(item) : -1;
    if (block < 0)
        return false;
    setPlace(block, int(yInBlock(block, item)));
    m_pinned = item;
    return true;
}

bool DReportWidget::moveTo(const QString&, const QString&, const QString& tag)
{
    if (tag.isEmpty())
        return false;
    for (DDocument* doc : std::as_const(m_documents))
        if (doc->tag() == tag)
            return moveTo(doc);
    return moveTo(findNamed(tag));
}

const DItem* DReportWidget::findNamed(const QString& name) const
{
    if (!m_namesBuilt) {
        // One pass over every item on the first lookup; later ones are O(1).
        m_namesBuilt = true;
        for (DDocument* doc : m_documents)
            DBlockLayout::walk(doc, 0, [this](const DItem* item) {
                if (!item->name().isEmpty() && !m_names.contains(item->name()))
                    m_names.insert(item->name(), item);
            });
    }
    return m_names.value(name);
}

const DItem* DReportWidget::namedAtOrBefore(const DItem* item) const
{
    if (!item->name().isEmpty())
        return item;
    const int block = blockOf(item);
    if (block < 0)
        return nullptr;
    const Block& spec = m_blocks[size_t(block)];
    const DBlockLayout* layout = layoutOf(block);
    if (item != spec.item && layout->positionOf(item) < 0)
        return spec.namedBefore; // a grouping item just before the block
    const DItem* best = spec.namedBefore;
    for (const DBlockLayout::ItemPosition& entry : layout->items()) {
        if (!entry.item->name().isEmpty())
            best = entry.item;
        if (entry.item == item)
            break;
    }
    return best;
}

const DItem* DReportWidget::currentItem() const
{
    if (m_blocks.empty())
        return nullptr;
    if (m_pinned)
        return namedAtOrBefore(m_pinned);
    const Block& spec = m_blocks[size_t(m_top.block)];
    const DItem* best = spec.namedBefore;
    if (m_top.offset < 0)
        return best;
    const DBlockLayout* layout = layoutOf(m_top.block);
    for (const DBlockLayout::ItemPosition& entry : layout->items()) {
        if (entry.item->name().isEmpty())
            continue;
        const qreal y = entry.item == spec.item ? 0 : layout->yOfPosition(entry.position);
        if (y <= m_top.offset + 1)
            best = entry.item;
    }
    return best;
}

QString DReportWidget::currentItemName() const
{
    if (m_documents.isEmpty())
        return m_keptName;
    const DItem* item = currentItem();
    return item ? item->name() : QString();
}

// ---------------------------------------------------------------- painting

void DReportWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), backgroundColor());
    if (m_blocks.empty())
        return;
    if (textWidth() != m_layoutWidth) {
        invalidateLayouts();
        m_layoutWidth = textWidth();
    }
    const int changesBefore = m_heightChanges;
    normalize();
    const int viewHeight = viewport()->height();
    const int x = pageMargins().left() - horizontalScrollBar()->value();
    const TextPos selStart = std::min(m_anchor, m_cursor);
    const TextPos selEnd = std::max(m_anchor, m_cursor);
    const bool selection = hasSelection();

    QPalette textPalette = palette();
    textPalette.setColor(QPalette::Text, QColor(0x1f, 0x24, 0x2b));
    int y = -m_top.offset;
    for (int block = m_top.block; block < blockCount() && y < viewHeight; ++block) {
        const DBlockLayout* layout = layoutOf(block);
        const int height = layout->height();
        if (height > 0) {
            QAbstractTextDocumentLayout::PaintContext context;
            context.palette = textPalette;
            // Only the part of the block inside the viewport is drawn.
            context.clip = QRectF(-x, qMax(0, -y), viewport()->width(),
                                  qMin(height, viewHeight - y) - qMax(0, -y));
            QTextDocument* doc = layout->document();
            if (selection && selStart.block <= block && block <= selEnd.block) {
                QAbstractTextDocumentLayout::Selection range;
                range.cursor = QTextCursor(doc);
                range.cursor.setPosition(block == selStart.block ? selStart.position : 0);
                range.cursor.setPosition(block == selEnd.block ? selEnd.position
                                                               : layout->endPosition(),
                                         QTextCursor::KeepAnchor);
                range.format.setBackground(palette().color(QPalette::Highlight));
                range.format.setForeground(palette().color(QPalette::HighlightedText));
                context.selections.append(range);
            }
            if (block == m_focusBlock && m_focusAnchor >= 0 &&
                m_focusAnchor < int(layout->anchors().size())) {
                const DBlockLayout::Anchor& anchor = layout->anchors()[size_t(m_focusAnchor)];
                QAbstractTextDocumentLayout::Selection focus;
                focus.cursor = QTextCursor(doc);
                focus.cursor.setPosition(anchor.start);
                focus.cursor.setPosition(anchor.end, QTextCursor::KeepAnchor);
                focus.format.setBackground(QColor(0xff, 0xe5, 0x8f));
                context.selections.append(focus);
            }
            painter.save();
            painter.translate(x, y);
            painter.setClipRect(context.clip);
            doc->documentLayout()->draw(&painter, context);
            painter.restore();
        }
        y += height;
    }
    if (!m_prefetchQueued) {
        m_prefetchQueued = true;
        QTimer::singleShot(0, this, &DReportWidget::prefetch);
    }
    if (m_heightChanges != changesBefore) {
        // Real heights replaced estimates: keep the scroll bars honest and
        // do not leave a gap below the last block.
        const Place before = m_top;
        clampToEnd();
        syncScrollBars();
        if (before.block != m_top.block || before.offset != m_top.offset)
            viewport()->update();
    }
}

void DReportWidget::prefetch()
{
    // When idle, lay out the page below the viewport and the one above, so
    // that paging there paints at once.
    m_prefetchQueued = false;
    if (m_blocks.empty() || !isVisible())
        return;
    const int viewHeight = viewport()->height();
    int y = -m_top.offset;
    int block = m_top.block;
    for (; block < blockCount() && y < 2 * viewHeight; ++block)
        y += layoutOf(block)->height();
    for (int above = m_top.block - 1, room = viewHeight; above >= 0 && room > 0; --above)
        room -= layoutOf(above)->height();
    syncScrollBars();
}

void DReportWidget::resizeEvent(QResizeEvent* event)
{
    DApidocView::resizeEvent(event);
    if (textWidth() != m_layoutWidth) {
        invalidateLayouts();
        m_layoutWidth = textWidth();
    }
    if (!m_blocks.empty()) {
        if (m_pinned) {
            const DItem* pinned = m_pinned;
            moveTo(pinned);
        } else {
            normalize();
            clampToEnd();
        }
    }
    syncScrollBars();
}

void DReportWidget::settingsChanged()
{
    invalidateLayouts();
    m_images.clear();
    rebuildDoc();
}

// ---------------------------------------------------------------- mouse and keys

bool DReportWidget::findVisible(const QPoint& point, int& block, QPointF& local) const
{
    if (m_blocks.empty())
        return false;
    const int x = pageMargins().left() - horizontalScrollBar()->value();
    int y = -m_top.offset;
    for (int b = m_top.block; b < blockCount(); ++b) {
        const int height = layoutOf(b)->height();
        if (point.y() < y + height || b == blockCount() - 1) {
            block = b;
            local = QPointF(point.x() - x, qMin<qreal>(point.y() - y, height));
            return true;
        }
        y += height;
    }
    return false;
}

DReportWidget::TextPos DReportWidget::positionAt(const QPoint& point) const
{
    int block = 0;
    QPointF local;
    if (point.y() < 0 && m_top.block > 0)
        return {m_top.block, 0};
    if (!findVisible(point, block, local))
        return TextPos();
    return {block, layoutOf(block)->hitTest(local)};
}

void DReportWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        DApidocView::mousePressEvent(event);
        return;
    }
    int block = 0;
    QPointF local;
    m_pressBlock = m_pressAnchor = -1;
    if (findVisible(event->position().toPoint(), block, local)) {
        m_pressBlock = block;
        m_pressAnchor = layoutOf(block)->anchorAt(local);
    }
    m_anchor = m_cursor = positionAt(event->position().toPoint());
    m_selecting = true;
    viewport()->update();
}

void DReportWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_selecting && (event->buttons() & Qt::LeftButton)) {
        if (point.y() < 0)
            scrollBy(-QFontMetrics(font()).lineSpacing());
        else if (point.y() > viewport()->height())
            scrollBy(QFontMetrics(font()).lineSpacing());
        m_cursor = positionAt(point);
        viewport()->update();
        return;
    }
    int block = 0;
    QPointF local;
    int anchor = -1;
    if (findVisible(point, block, local))
        anchor = layoutOf(block)->anchorAt(local);
    if (anchor < 0) {
        viewport()->setCursor(Qt::IBeamCursor);
        QToolTip::hideText();
        return;
    }
    const QString target = linkTarget(layoutOf(block)->anchors()[size_t(anchor)].item);
    viewport()->setCursor(Qt::PointingHandCursor);
    if (!target.isEmpty())
        QToolTip::showText(event->globalPosition().toPoint(), target, viewport());
    emit linkHovered(target);
}

void DReportWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        DApidocView::mouseReleaseEvent(event);
        return;
    }
    m_selecting = false;
    if (m_pressAnchor < 0 || hasSelection())
        return;
    int block = 0;
    QPointF local;
    if (findVisible(event->position().toPoint(), block, local) && block == m_pressBlock &&
        layoutOf(block)->anchorAt(local) == m_pressAnchor) {
        const int anchor = m_pressAnchor;
        m_pressAnchor = -1;
        activateAnchor(block, anchor);
    }
}

void DReportWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const TextPos at = positionAt(event->position().toPoint());
    if (at.block < 0)
        return;
    QTextCursor word(layoutOf(at.block)->document());
    word.setPosition(at.position);
    word.select(QTextCursor::WordUnderCursor);
    m_anchor = {at.block, word.selectionStart()};
    m_cursor = {at.block, word.selectionEnd()};
    viewport()->update();
}

void DReportWidget::wheelEvent(QWheelEvent* event)
{
    int delta = event->pixelDelta().y();
    if (delta == 0)
        delta = event->angleDelta().y() * 3 * QFontMetrics(font()).lineSpacing() / 120;
    if (delta == 0) {
        DApidocView::wheelEvent(event);
        return;
    }
    scrollBy(-delta);
    event->accept();
}

void DReportWidget::keyPressEvent(QKeyEvent* event)
{
    const int line = QFontMetrics(font()).lineSpacing();
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else {
        switch (event->key()) {
        case Qt::Key_Up:
            scrollBy(-2 * line);
            break;
        case Qt::Key_Down:
            scrollBy(2 * line);
            break;
        case Qt::Key_PageUp:
            scrollBy(-(viewport()->height() - line));
            break;
        case Qt::Key_PageDown:
        case Qt::Key_Space:
            scrollBy(viewport()->height() - line);
            break;
        case Qt::Key_Home:
            scrollToTop();
            break;
        case Qt::Key_End:
            scrollToBottom();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_focusBlock >= 0 && m_focusAnchor >= 0)
                activateAnchor(m_focusBlock, m_focusAnchor);
            break;
        default:
            DApidocView::keyPressEvent(event);
            return;
        }
    }
    event->accept();
}

bool DReportWidget::focusNextPrevChild(bool next)
{
    if (focusAnchor(next))
        return true;
    return DApidocView::focusNextPrevChild(next);
}

bool DReportWidget::focusAnchor(bool next)
{
    if (m_blocks.empty())
        return false;
    // Start after the focused link when it is on screen, else at the top.
    const qint64 top = topOffset();
    const bool focusShown =
        m_focusBlock >= 0 && m_heights.offsetOf(m_focusBlock + 1) + pageMargins().top() > top &&
        m_heights.offsetOf(m_focusBlock) + pageMargins().top() < top + viewport()->height();
    int block = focusShown ? m_focusBlock : m_top.block;
    int anchor = focusShown ? m_focusAnchor : -1;
    if (!next && !focusShown) {
        block = qMin(blockCount() - 1,
                     m_heights.blockAt(top - pageMargins().top() + viewport()->height()));
        anchor = int(layoutOf(block)->anchors().size());
    }
    for (int scanned = 0; scanned < anchorScanBlocks && block >= 0 && block < blockCount();
         ++scanned) {
        const int count = int(layoutOf(block)->anchors().size());
        const int candidate = next ? anchor + 1 : (anchor < 0 ? count - 1 : anchor - 1);
        if (candidate >= 0 && candidate < count) {
            m_focusBlock = block;
            m_focusAnchor = candidate;
            const DBlockLayout::Anchor found = layoutOf(block)->anchors()[size_t(candidate)];
            ensureRangeVisible(block, found.start, found.end);
            viewport()->update();
            return true;
        }
        block += next ? 1 : -1;
        anchor = next ? -1
                      : (block >= 0 && block < blockCount() ? int(layoutOf(block)->anchors().size())
                                                            : 0);
    }
    return false;
}

void DReportWidget::activateAnchor(int block, int anchor)
{
    if (block < 0 || block >= blockCount())
        return;
    const DBlockLayout* layout = layoutOf(block);
    if (anchor < 0 || anchor >= int(layout->anchors().size()))
        return;
    const DItem* item = layout->anchors()[size_t(anchor)].item;
    switch (item->kind()) {
    case DItem::Link:
        emit activatedLink(const_cast<DLink*>(static_cast<const DLink*>(item)));
        break;
    case DItem::PopupLink:
        togglePopup(item);
        break;
    case DItem::TagPointer:
        moveTo(QString(), QString(), static_cast<const DTagPointer*>(item)->target());
        break;
    case DItem::SEntry:
    case DItem::IEntry:
        m_entryLink->setTarget(linkTarget(item));
        emit activatedLink(m_entryLink.get());
        break;
    default:
        break;
    }
}

const DItem* DReportWidget::popupOf(const DItem* popupLink) const
{
    for (const DItem* child = popupLink->toContainer()->first(); child; child = child->next())
        if (child->kind() == DItem::Popup)
            return child;
    const QString& target = static_cast<const DLink*>(popupLink)->target();
    if (!target.isEmpty()) {
        const DItem* named = findNamed(target);
        if (named && named->kind() == DItem::Popup)
            return named;
    }
    // Otherwise the popup that follows the link, in its paragraph or after it.
    for (const DItem* up = popupLink; up && !isGrouping(up); up = up->parent())
        for (const DItem* sibling = up->next(); sibling; sibling = sibling->next())
            if (sibling->kind() == DItem::Popup)
                return sibling;
    return nullptr;
}

void DReportWidget::togglePopup(const DItem* popupLink)
{
    const DItem* popup = popupOf(popupLink);
    if (m_expanded.contains(popupLink)) {
        m_expanded.remove(popupLink);
        m_expanded.remove(popup);
    } else {
        m_expanded.insert(popupLink);
        if (popup)
            m_expanded.insert(popup);
    }
    m_focusBlock = m_focusAnchor = -1;
    m_anchor = m_cursor = TextPos();
    for (const DItem* changed : {popupLink, popup}) {
        const int block = changed ? blockOf(changed) : -1;
        if (block >= 0) {
            m_cache.erase(block);
            layoutOf(block);
        }
    }
    setPlace(m_top.block, m_top.offset);
}

// ---------------------------------------------------------------- selection

bool DReportWidget::hasSelection() const
{
    return m_anchor.block >= 0 && m_cursor.block >= 0 && !(m_anchor == m_cursor);
}

void DReportWidget::clearSelection()
{
    m_anchor = m_cursor = TextPos();
    viewport()->update();
}

void DReportWidget::selectAll()
{
    if (m_blocks.empty())
        return;
    m_anchor = {0, 0};
    m_cursor = {blockCount() - 1, layoutOf(blockCount() - 1)->endPosition()};
    viewport()->update();
}

QString DReportWidget::blockText(int block, int from, int to) const
{
    const DBlockLayout* layout = layoutOf(block);
    if (from <= 0 && to >= layout->endPosition()) {
        const Block& spec = m_blocks[size_t(block)];
        return DBlockLayout::plainText(spec.item, spec.rows);
    }
    QTextCursor range(layout->document());
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    QString text = range.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    text.remove(QChar(QChar::Nbsp));
    return text;
}

QString DReportWidget::selectedText() const
{
    if (!hasSelection())
        return QString();
    const TextPos start = std::min(m_anchor, m_cursor);
    const TextPos end = std::max(m_anchor, m_cursor);
    if (start.block == end.block)
        return blockText(start.block, start.position, end.position);
    QStringList parts;
    parts << blockText(start.block, start.position, layoutOf(start.block)->endPosition());
    // Whole blocks between the ends come from the items: no layout needed.
    for (int block = start.block + 1; block < end.block; ++block) {
        const Block& spec = m_blocks[size_t(block)];
        parts << DBlockLayout::plainText(spec.item, spec.rows);
    }
    parts << blockText(end.block, 0, end.position);
    return parts.join(QLatin1Char('\n'));
}

void DReportWidget::copy()
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void DReportWidget::ensureRangeVisible(int block, int start, int end)
{
    const QRectF rect = layoutOf(block)->rectOfRange(start, end);
    const qint64 top = pageMargins().top() + m_heights.offsetOf(block) + qint64(rect.top());
    const qint64 viewTop = topOffset();
    if (top >= viewTop && top + rect.height() <= viewTop + viewport()->height()) {
        viewport()->update();
        return;
    }
    m_pinned = nullptr;
    setPlace(block, int(rect.top()) - viewport()->height() / 3);
}

// ---------------------------------------------------------------- search

bool DReportWidget::searchBlockLaidOut(const QRegularExpression& pattern, int block,
                                       const TextPos& after, const TextPos& before)
{
    const DBlockLayout* layout = layoutOf(block);
    for (const DBlockLayout::TextRun& run : layout->textRuns()) {
        const QString* text = DBlockLayout::searchableText(run.item);
        if (!text || text->isEmpty())
            continue;
        QRegularExpressionMatchIterator matches = pattern.globalMatch(*text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedLength() == 0)
                continue;
            const int start = run.position + DBlockLayout::collapsedOffset(
                                                 *text, int(match.capturedStart()), run.dropped);
            const int end = run.position + DBlockLayout::collapsedOffset(
                                               *text, int(match.capturedEnd()), run.dropped);
            if (after.block == block && start < after.position)
                continue;
            if (before.block == block && start >= before.position)
                return false;
            m_anchor = {block, start};
            m_cursor = {block, qMax(start + 1, end)};
            ensureRangeVisible(block, start, end);
            return true;
        }
    }
    return false;
}

bool DReportWidget::searchFrom(const QRegularExpression& pattern, int firstBlock, int lastBlock,
                               TextPos after)
{
    // The items' own text, block after block, scanned in large pieces; only
    // the block that holds a match is laid out.
    int block = firstBlock;
    while (block <= lastBlock) {
        QString chunk;
        std::vector<int> starts;
        int next = block;
        for (; next <= lastBlock && chunk.size() < searchChunk; ++next) {
            starts.push_back(int(chunk.size()));
            const Block& spec = m_blocks[size_t(next)];
            DBlockLayout::walk(spec.item, spec.rows, [&chunk](const DItem* item) {
                if (const QString* text = DBlockLayout::searchableText(item)) {
                    chunk += *text;
                    chunk += QLatin1Char('\n');
                }
            });
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
            const int index =
                int(std::upper_bound(starts.begin(), starts.end(), int(match.capturedStart())) -
                    starts.begin()) -
                1;
            const int found = block + index;
            if (searchBlockLaidOut(pattern, found, after, TextPos()))
                return true;
            // The match ran across items: go on after that block.
            from = index + 1 < int(starts.size()) ? starts[size_t(index) + 1] : chunk.size();
        }
        block = next;
    }
    return false;
}

bool DReportWidget::search(const QRegularExpression& pattern)
{
    if (m_blocks.empty() || !pattern.isValid() || pattern.pattern().isEmpty())
        return false;
    TextPos after;
    if (hasSelection()) {
        after = std::max(m_anchor, m_cursor);
    } else {
        normalize();
        after = {m_top.block, 0};
    }
    const int start = after.block;
    if (searchBlockLaidOut(pattern, start, after, TextPos()))
        return true;
    if (start + 1 < blockCount() && searchFrom(pattern, start + 1, blockCount() - 1, TextPos()))
        return true;
    // Wrap once: from the top down to where the search started.
    if (start > 0 && searchFrom(pattern, 0, start - 1, TextPos()))
        return true;
    return after.position > 0 && searchBlockLaidOut(pattern, start, TextPos{start, 0}, after);
}

// ---------------------------------------------------------------- printing

void DReportWidget::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        print(&printer);
}

void DReportWidget::print(QPrinter* printer)
{
    printTo(printer);
}

bool DReportWidget::printToPdf(const QString& path)
{
    QPdfWriter writer(path);
    if (!writer.setPageSize(QPageSize(QPageSize::A4)))
        return false;
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(m_documents.isEmpty() ? QString() : m_documents.first()->title());
    printTo(&writer);
    return QFileInfo::exists(path);
}

void DReportWidget::printTo(QPagedPaintDevice* device)
{
    QPainter painter;
    if (!painter.begin(device))
        return;
    // Lay out at screen resolution and scale: sizes in pixels (graphics,
    // images) keep their proportion to the text on paper.
    const qreal scale = device->logicalDpiY() / qreal(qMax(1, logicalDpiY()));
    const QRect page = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const qreal pageWidth = page.width() / scale;
    const qreal pageHeight = page.height() / scale;
    painter.scale(scale, scale);

    DBlockLayout::Context context;
    context.font = font();
    context.width = pageWidth;
    context.wordWrap = true;
    context.chartHandler = chartHandler();
    context.findFile = [this](const QString& source) { return findFile(source); };
    context.expanded = &m_expanded;
    context.images = &m_images;

    qreal y = 0;
    bool pageUsed = false;
    auto newPage = [&]() {
        device->newPage();
        y = 0;
        pageUsed = false;
    };
    for (const Block& spec : m_blocks) {
        if (spec.item->kind() == DItem::PageBreak && spec.rows == 0) {
            if (pageUsed)
                newPage();
            continue;
        }
        const DBlockLayout layout(spec.item, spec.rows, context);
        const qreal height = layout.height();
        if (height <= 0)
            continue;
        if (pageUsed && y + height > pageHeight && height <= pageHeight)
            newPage();
        // A block taller than a page goes on over the following pages.
        qreal done = 0;
        while (done < height) {
            if (y >= pageHeight)
                newPage();
            const qreal slice = qMin(pageHeight - y, height - done);
            QAbstractTextDocumentLayout::PaintContext paint;
            paint.palette = palette();
            paint.palette.setColor(QPalette::Text, QColor(0x1f, 0x24, 0x2b));
            paint.clip = QRectF(0, done, pageWidth, slice);
            painter.save();
            painter.translate(0, y - done);
            painter.setClipRect(paint.clip);
            layout.document()->documentLayout()->draw(&painter, paint);
            painter.restore();
            done += slice;
            y += slice;
            pageUsed = true;
        }
    }
    painter.end();
}
