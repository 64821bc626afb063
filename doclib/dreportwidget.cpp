#include "dreportwidget.h"

#include "dchartobject.h"
#include "ditems.h"
#include "dpalette.h"
#include "dreportprinter.h"
#include "dreportsearch.h"
#include "dreportwidget_p.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>

// ---------------------------------------------------------------- the widget

DReportWidget::DReportWidget(QWidget* parent)
    : DApidocView(parent), d(std::make_unique<DReportWidgetPrivate>(this))
{
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(&d->interaction, &DReportInteraction::activatedLink, this,
            &DReportWidget::activatedLink);
    connect(&d->interaction, &DReportInteraction::linkHovered, this, &DReportWidget::linkHovered);
    d->refreshContext();
    d->resetPlace();
    d->syncScrollBars();
}

DReportWidget::~DReportWidget() = default;

void DReportWidget::setDocument(DDocument* doc, bool first)
{
    if (first)
        clearDocs();
    const bool wasEmpty = d->model.isEmpty();
    d->model.setMetrics(DReportModel::Metrics::of(font(), d->textWidth()));
    if (!d->model.addDocument(doc))
        return;
    if (wasEmpty)
        d->resetPlace();
    d->syncScrollBars();
    viewport()->update();
}

void DReportWidget::extendDocument(DDocument* doc, const QList<const DItem*>& openItems)
{
    const bool wasEmpty = d->model.isEmpty();
    if (d->model.documents().isEmpty())
        d->model.setMetrics(DReportModel::Metrics::of(font(), d->textWidth()));
    const int blocks = d->model.blockCount();
    d->model.extend(doc, openItems);
    if (d->model.blockCount() == blocks)
        return;
    if (wasEmpty)
        d->resetPlace();
    d->syncScrollBars();
    viewport()->update();
}

void DReportWidget::reserveBlocks(int blocks)
{
    d->startReserver(blocks, d->model.beginReserve(), {}, SIZE_MAX);
}

// While a thread fills the index, the report keeps growing, and the new
// entries wait aside. Added here, in one go, they took 100 ms on a 500 MB
// report: while many wait, and fewer than the round before, another thread
// adds them. The rounds end where the entries that come during one round are
// what is left for the event loop, a few thousand.
void DReportWidgetPrivate::startReserver(int blocks, DReportModel::IndexEntries entries,
                                         DReportModel::BlockIndex begun, size_t waitedBefore)
{
    static const size_t MaxAddedHere = 1024;
    reserver = std::make_unique<DIndexReserver>(blocks, std::move(entries), std::move(begun));
    DIndexReserver* started = reserver.get();
    QObject::connect(started, &DIndexReserver::ready, q, [this, started, waitedBefore] {
        if (reserver.get() != started)
            return;
        DReportModel::BlockIndex index = started->take();
        const int blocks = started->blocks();
        reserver.release()->deleteLater(); // it is emitting
        const size_t waiting = model.indexedAsideCount();
        if (waiting > MaxAddedHere && waiting < waitedBefore)
            startReserver(blocks, model.takeIndexedAside(), std::move(index), waiting);
        else
            model.reserve(blocks, std::move(index));
    });
}

int DReportWidget::blockCount() const
{
    return d->model.blockCount();
}

void DReportWidget::clearDocs()
{
    d->reserver.reset(); // made for what is about to go
    if (!d->model.documents().isEmpty())
        d->m_keptName = currentItemName();
    d->model.clear();
    d->layouts.invalidate();
    d->interaction.reset();
    d->m_pinned = nullptr;
    d->resetPlace();
    d->syncScrollBars();
    viewport()->update();
}

void DReportWidget::rebuildDoc()
{
    const DItem* topItem = d->model.blockItem(d->m_top.block);
    const int offset = d->m_top.offset;
    const DItem* pinned = d->m_pinned;
    d->refreshContext();
    d->model.setMetrics(DReportModel::Metrics::of(font(), d->textWidth()));
    d->model.rebuild();
    d->interaction.reset();
    d->m_pinned = nullptr;
    if (pinned) {
        moveTo(pinned);
        return;
    }
    const int block = topItem ? d->model.blockOf(topItem) : -1;
    d->setPlace(qMax(0, block), block < 0 ? -pageMargins().top() : offset);
}

const QList<DDocument*>& DReportWidget::documents() const
{
    return d->model.documents();
}

bool DReportWidget::moveTo(const DItem* item)
{
    const int block = item ? d->model.blockOf(item) : -1;
    if (block < 0)
        return false;
    d->setPlace(block, int(d->yInBlock(block, item)));
    d->m_pinned = item;
    return true;
}

bool DReportWidget::moveTo(const QString&, const QString&, const QString& tag)
{
    return d->moveToTag(tag);
}

const DItem* DReportWidget::currentItem() const
{
    return d->currentItem();
}

QString DReportWidget::currentItemName() const
{
    if (d->model.documents().isEmpty())
        return d->m_keptName;
    const DItem* item = currentItem();
    return item ? item->name() : QString();
}

int DReportWidget::contentHeight(int limit) const
{
    d->refreshContextIfResized();
    const QMargins& margins = pageMargins();
    qint64 height = margins.top() + margins.bottom();
    // A wide table brings the horizontal bar once the view has its size.
    if (horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        height += horizontalScrollBar()->sizeHint().height();
    for (int block = 0; block < d->model.blockCount() && height < limit; ++block)
        height += d->layouts.layout(block)->height();
    return int(qMin<qint64>(height, limit));
}

bool DReportWidget::search(const QRegularExpression& pattern)
{
    return searchOnce(pattern, true);
}

bool DReportWidget::searchBackward(const QRegularExpression& pattern)
{
    return searchOnce(pattern, false);
}

// From the selection (its end going down, its start going up), else from
// the top of the viewport.
bool DReportWidget::searchOnce(const QRegularExpression& pattern, bool forward)
{
    DTextPos from;
    if (hasSelection()) {
        from = forward ? d->interaction.selectionEnd() : d->interaction.selectionStart();
    } else {
        d->normalize();
        from = {d->m_top.block, 0};
    }
    const DReportSearch search(d->model, d->layouts);
    const std::optional<DTextRange> found =
        forward ? search.next(pattern, from) : search.previous(pattern, from);
    if (!found)
        return false;
    d->interaction.select(*found);
    d->showRange(found->block, found->start, found->end);
    return true;
}

QRect DReportWidget::selectionRect() const
{
    if (!hasSelection())
        return QRect();
    const DTextPos start = d->interaction.selectionStart();
    const DTextPos end = d->interaction.selectionEnd();
    const DBlockLayout* layout = d->layouts.layout(start.block);
    const int last = end.block == start.block ? end.position : layout->document()->characterCount();
    QRectF rect = layout->rectOfRange(start.position, last);
    // Narrowed to the selected text when it lies on one line.
    const QTextBlock text = layout->document()->findBlock(start.position);
    if (text.isValid() && text.contains(last)) {
        const QTextLine line = text.layout()->lineForTextPosition(start.position - text.position());
        const int lineEnd =
            line.isValid() ? text.position() + line.textStart() + line.textLength() : -1;
        if (last <= lineEnd) {
            const qreal left = layout->document()->documentLayout()->blockBoundingRect(text).left();
            rect.setLeft(left + line.cursorToX(start.position - text.position()));
            rect.setRight(left + line.cursorToX(last - text.position()));
        }
    }
    const qint64 top = pageMargins().top() + d->model.heights().offsetOf(start.block) +
                       qint64(rect.top()) - d->topOffset();
    const int x = pageMargins().left() - horizontalScrollBar()->value();
    return QRectF(x + rect.left(), qreal(top), rect.width(), rect.height()).toAlignedRect();
}

bool DReportWidget::hasSelection() const
{
    return d->interaction.hasSelection();
}

QString DReportWidget::selectedText() const
{
    return d->interaction.selectedText();
}

void DReportWidget::selectAll()
{
    d->interaction.selectAll();
}

void DReportWidget::clearSelection()
{
    d->interaction.clearSelection();
}

void DReportWidget::copy()
{
    d->interaction.copy();
}

void DReportWidget::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        print(&printer);
}

void DReportWidget::print(QPrinter* printer)
{
    d->refreshContextIfResized();
    DReportPrinter(d->model, d->layouts.context(), logicalDpiY(), palette()).print(printer);
}

bool DReportWidget::printToPdf(const QString& path)
{
    d->refreshContextIfResized();
    const QList<DDocument*>& docs = d->model.documents();
    return DReportPrinter(d->model, d->layouts.context(), logicalDpiY(), palette())
        .printToPdf(path, docs.isEmpty() ? QString() : docs.first()->title());
}

void DReportWidget::paintEvent(QPaintEvent*)
{
    d->paint();
}

void DReportWidget::resizeEvent(QResizeEvent* event)
{
    DApidocView::resizeEvent(event);
    d->refreshContextIfResized();
    if (!d->model.isEmpty()) {
        if (d->m_pinned) {
            const DItem* pinned = d->m_pinned;
            moveTo(pinned);
        } else {
            d->normalize();
            d->clampToEnd();
        }
    }
    d->syncScrollBars();
}

void DReportWidget::scrollContentsBy(int, int dy)
{
    if (dy != 0 && !d->m_syncing) {
        d->m_pinned = nullptr;
        d->setTopFromValue(verticalScrollBar()->value());
    }
    viewport()->update();
}

void DReportWidget::settingsChanged()
{
    d->layouts.clearImages();
    rebuildDoc();
}

void DReportWidget::keyPressEvent(QKeyEvent* event)
{
    if (d->interaction.keyPress(event))
        event->accept();
    else
        DApidocView::keyPressEvent(event);
}

void DReportWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        d->interaction.mousePress(event);
    else
        DApidocView::mousePressEvent(event);
}

void DReportWidget::mouseMoveEvent(QMouseEvent* event)
{
    d->interaction.mouseMove(event);
}

void DReportWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        d->interaction.mouseRelease(event);
    else
        DApidocView::mouseReleaseEvent(event);
}

void DReportWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    d->interaction.mouseDoubleClick(event);
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
    d->scrollBy(-delta);
    event->accept();
}

bool DReportWidget::focusNextPrevChild(bool next)
{
    if (d->interaction.focusNextAnchor(next))
        return true;
    return DApidocView::focusNextPrevChild(next);
}

// ---------------------------------------------------------------- places

DReportWidgetPrivate::DReportWidgetPrivate(DReportWidget* view)
    : layouts(model), interaction(model, layouts, *this), q(view), m_chart(new DChartObject(view))
{
}

DReportWidgetPrivate::~DReportWidgetPrivate() = default;

QWidget* DReportWidgetPrivate::viewport() const
{
    return q->viewport();
}

int DReportWidgetPrivate::textWidth() const
{
    const QMargins& margins = q->pageMargins();
    return qMax(50, q->viewport()->width() - margins.left() - margins.right());
}

void DReportWidgetPrivate::refreshContext()
{
    DBlockLayout::Context context;
    context.font = q->font();
    context.width = textWidth();
    context.wordWrap = q->wordWrap();
    context.chartHandler = m_chart;
    context.findFile = [this](const QString& source) { return q->findFile(source); };
    context.expanded = &model.expanded();
    layouts.setContext(context);
    m_layoutWidth = textWidth();
}

void DReportWidgetPrivate::refreshContextIfResized()
{
    if (textWidth() != m_layoutWidth || layouts.context().font != q->font())
        refreshContext();
}

void DReportWidgetPrivate::resetPlace()
{
    m_top = {0, -q->pageMargins().top()};
}

qreal DReportWidgetPrivate::yInBlock(int block, const DItem* item)
{
    if (item == model.block(block).item)
        return 0;
    const DBlockLayout* layout = layouts.layout(block);
    const int position = layout->positionOf(item);
    return position < 0 ? 0 : layout->yOfPosition(position);
}

qint64 DReportWidgetPrivate::topOffset() const
{
    return q->pageMargins().top() + model.heights().offsetOf(m_top.block) + m_top.offset;
}

qint64 DReportWidgetPrivate::itemOffset(const DItem* item)
{
    const int block = model.blockOf(item);
    if (block < 0)
        return -1;
    return q->pageMargins().top() + model.heights().offsetOf(block) + qint64(yInBlock(block, item));
}

int DReportWidgetPrivate::bottomBlock() const
{
    const qint64 bottom = topOffset() - q->pageMargins().top() + q->viewport()->height();
    return qMin(model.blockCount() - 1, model.heights().blockAt(bottom));
}

void DReportWidgetPrivate::normalize()
{
    const int count = model.blockCount();
    if (count == 0) {
        resetPlace();
        return;
    }
    const DHeightIndex& heights = model.heights();
    m_top.block = qBound(0, m_top.block, count - 1);
    // Blocks passed over keep their estimated height: going down, only the
    // block that ends up at the top is laid out; going up, also those that
    // may show below it (they decide where the top lands, as at the end).
    while (m_top.block < count - 1) {
        if (m_top.offset < heights.height(m_top.block) &&
            m_top.offset < layouts.layout(m_top.block)->height())
            break;
        m_top.offset -= heights.height(m_top.block);
        ++m_top.block;
    }
    const int viewHeight = q->viewport()->height();
    while (m_top.offset < 0 && m_top.block > 0) {
        --m_top.block;
        const int estimate = heights.height(m_top.block);
        const bool belowView = -(m_top.offset + estimate) > viewHeight;
        m_top.offset += belowView ? estimate : layouts.layout(m_top.block)->height();
    }
    if (m_top.block == 0)
        m_top.offset = qMax(m_top.offset, -q->pageMargins().top());
}

void DReportWidgetPrivate::clampToEnd()
{
    const int count = model.blockCount();
    if (count == 0)
        return;
    const int viewHeight = q->viewport()->height();
    const qint64 below = model.heights().total() - model.heights().offsetOf(m_top.block) -
                         m_top.offset + q->pageMargins().bottom();
    if (below >= viewHeight)
        return;
    // Too close to the end: measure the last blocks and fill the viewport.
    const int last = count - 1;
    m_top = {last, layouts.layout(last)->height() + q->pageMargins().bottom() - viewHeight};
    normalize();
}

void DReportWidgetPrivate::setPlace(int block, int offset)
{
    m_top = {block, offset};
    normalize();
    clampToEnd();
    syncScrollBars();
    q->viewport()->update();
}

void DReportWidgetPrivate::setTopFromValue(int value)
{
    const qint64 y = qint64(value) - q->pageMargins().top();
    if (y < 0 || model.isEmpty()) {
        m_top = {0, int(y)};
    } else {
        const int block = model.heights().blockAt(y);
        m_top = {block, int(y - model.heights().offsetOf(block))};
    }
    normalize();
}

void DReportWidgetPrivate::syncScrollBars()
{
    m_syncing = true;
    const QMargins& margins = q->pageMargins();
    const qint64 content = margins.top() + model.heights().total() + margins.bottom();
    const int viewHeight = q->viewport()->height();
    QScrollBar* vertical = q->verticalScrollBar();
    vertical->setRange(0, int(qBound<qint64>(0, content - viewHeight, qint64(INT_MAX / 2))));
    vertical->setPageStep(viewHeight);
    vertical->setSingleStep(QFontMetrics(q->font()).lineSpacing());
    vertical->setValue(int(qMin<qint64>(topOffset(), INT_MAX / 2)));
    QScrollBar* horizontal = q->horizontalScrollBar();
    horizontal->setRange(
        0, qMax(0, layouts.widest() + margins.left() + margins.right() - q->viewport()->width()));
    horizontal->setPageStep(q->viewport()->width());
    m_syncing = false;
}

void DReportWidgetPrivate::scrollBy(int pixels)
{
    if (model.isEmpty())
        return;
    m_pinned = nullptr;
    setPlace(m_top.block, m_top.offset + pixels);
}

void DReportWidgetPrivate::scrollToTop()
{
    m_pinned = nullptr;
    setPlace(0, -q->pageMargins().top());
}

void DReportWidgetPrivate::scrollToBottom()
{
    if (model.isEmpty())
        return;
    m_pinned = nullptr;
    const int last = model.blockCount() - 1;
    setPlace(last, layouts.layout(last)->height());
}

void DReportWidgetPrivate::showRange(int block, int start, int end)
{
    const QRectF rect = layouts.layout(block)->rectOfRange(start, end);
    const qint64 top =
        q->pageMargins().top() + model.heights().offsetOf(block) + qint64(rect.top());
    const qint64 viewTop = topOffset();
    if (top >= viewTop && top + rect.height() <= viewTop + q->viewport()->height()) {
        q->viewport()->update();
        return;
    }
    m_pinned = nullptr;
    setPlace(block, int(rect.top()) - q->viewport()->height() / 3);
}

bool DReportWidgetPrivate::moveToTag(const QString& tag)
{
    if (tag.isEmpty())
        return false;
    for (DDocument* doc : model.documents())
        if (doc->tag() == tag)
            return q->moveTo(doc);
    return q->moveTo(model.findNamed(tag));
}

void DReportWidgetPrivate::blocksChanged()
{
    setPlace(m_top.block, m_top.offset);
}

bool DReportWidgetPrivate::blockAt(const QPoint& point, int& block, QPointF& local)
{
    if (model.isEmpty())
        return false;
    const int x = q->pageMargins().left() - q->horizontalScrollBar()->value();
    int y = -m_top.offset;
    const int count = model.blockCount();
    for (int b = m_top.block; b < count; ++b) {
        const int height = layouts.layout(b)->height();
        if (point.y() < y + height || b == count - 1) {
            block = b;
            local = QPointF(point.x() - x, qMin<qreal>(point.y() - y, height));
            return true;
        }
        y += height;
    }
    return false;
}

const DItem* DReportWidgetPrivate::namedAtOrBefore(const DItem* item)
{
    if (!item->name().isEmpty())
        return item;
    const int block = model.blockOf(item);
    if (block < 0)
        return nullptr;
    const DReportModel::Block& blockInfo = model.block(block);
    const DBlockLayout* layout = layouts.layout(block);
    if (item != blockInfo.item && layout->positionOf(item) < 0)
        return blockInfo.namedBefore; // a grouping item just before the block
    const DItem* best = blockInfo.namedBefore;
    for (const DBlockLayout::ItemPosition& entry : layout->items()) {
        if (!entry.item->name().isEmpty())
            best = entry.item;
        if (entry.item == item)
            break;
    }
    return best;
}

const DItem* DReportWidgetPrivate::currentItem()
{
    if (model.isEmpty())
        return nullptr;
    if (m_pinned)
        return namedAtOrBefore(m_pinned);
    const DReportModel::Block& blockInfo = model.block(m_top.block);
    const DItem* best = blockInfo.namedBefore;
    if (m_top.offset < 0)
        return best;
    const DBlockLayout* layout = layouts.layout(m_top.block);
    for (const DBlockLayout::ItemPosition& entry : layout->items()) {
        if (entry.item->name().isEmpty())
            continue;
        const qreal y = entry.item == blockInfo.item ? 0 : layout->yOfPosition(entry.position);
        if (y <= m_top.offset + 1)
            best = entry.item;
    }
    return best;
}

// ---------------------------------------------------------------- painting

void DReportWidgetPrivate::paint()
{
    QPainter painter(q->viewport());
    painter.fillRect(q->viewport()->rect(), q->backgroundColor());
    if (model.isEmpty())
        return;
    refreshContextIfResized();
    const int changesBefore = layouts.heightChanges();
    normalize();
    const int viewHeight = q->viewport()->height();
    const int x = q->pageMargins().left() - q->horizontalScrollBar()->value();
    int y = -m_top.offset;
    for (int block = m_top.block; block < model.blockCount() && y < viewHeight; ++block)
        y += paintBlock(painter, block, x, y);
    if (!m_prefetchQueued) {
        m_prefetchQueued = true;
        QTimer::singleShot(0, q, [this]() { prefetch(); });
    }
    if (layouts.heightChanges() != changesBefore) {
        // Real heights replaced estimates: keep the scroll bars honest and
        // do not leave a gap below the last block.
        const Place before = m_top;
        clampToEnd();
        syncScrollBars();
        if (before.block != m_top.block || before.offset != m_top.offset)
            q->viewport()->update();
    }
}

int DReportWidgetPrivate::paintBlock(QPainter& painter, int block, int x, int y)
{
    const DBlockLayout* layout = layouts.layout(block);
    const int height = layout->height();
    if (height <= 0)
        return height;
    const int viewHeight = q->viewport()->height();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = q->palette();
    context.palette.setColor(QPalette::Text, DPalette::text);
    // Only the part of the block inside the viewport is drawn.
    context.clip =
        QRectF(-x, qMax(0, -y), q->viewport()->width(), qMin(height, viewHeight - y) - qMax(0, -y));
    QTextDocument* doc = layout->document();
    const DTextPos selStart = interaction.selectionStart();
    const DTextPos selEnd = interaction.selectionEnd();
    if (interaction.hasSelection() && selStart.block <= block && block <= selEnd.block) {
        QAbstractTextDocumentLayout::Selection range;
        range.cursor = QTextCursor(doc);
        range.cursor.setPosition(block == selStart.block ? selStart.position : 0);
        range.cursor.setPosition(block == selEnd.block ? selEnd.position : layout->endPosition(),
                                 QTextCursor::KeepAnchor);
        range.format.setBackground(q->palette().color(QPalette::Highlight));
        range.format.setForeground(q->palette().color(QPalette::HighlightedText));
        context.selections.append(range);
    }
    const int focus = interaction.focusAnchor();
    if (block == interaction.focusBlock() && focus >= 0 && focus < int(layout->anchors().size())) {
        const DBlockLayout::Anchor& anchor = layout->anchors()[size_t(focus)];
        QAbstractTextDocumentLayout::Selection focused;
        focused.cursor = QTextCursor(doc);
        focused.cursor.setPosition(anchor.start);
        focused.cursor.setPosition(anchor.end, QTextCursor::KeepAnchor);
        focused.format.setBackground(DPalette::focusedLink);
        context.selections.append(focused);
    }
    painter.save();
    painter.translate(x, y);
    painter.setClipRect(context.clip);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
    return height;
}

void DReportWidgetPrivate::prefetch()
{
    // When idle, lay out the page below the viewport and the one above, so
    // that paging there paints at once.
    m_prefetchQueued = false;
    if (model.isEmpty() || !q->isVisible())
        return;
    const int viewHeight = q->viewport()->height();
    int y = -m_top.offset;
    for (int block = m_top.block; block < model.blockCount() && y < 2 * viewHeight; ++block)
        y += layouts.layout(block)->height();
    for (int above = m_top.block - 1, room = viewHeight; above >= 0 && room > 0; --above)
        room -= layouts.layout(above)->height();
    syncScrollBars();
}
