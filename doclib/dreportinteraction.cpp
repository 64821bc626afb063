#include "dreportinteraction.h"

#include "ditems.h"
#include "ditemtraits.h"
#include "dlayoutcache.h"
#include "qalinktarget.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace {

// How far Tab looks for the next link.
constexpr int anchorScanBlocks = 400;

// Text as copied: forced line breaks as line feeds, and the no-break
// spaces that hold the indentation and spacing of monospace text as
// plain spaces.
QString plainSpaces(QString text)
{
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}

} // namespace

DReportInteraction::DReportInteraction(DReportModel& model, DLayoutCache& layouts, Host& host)
    : m_model(model), m_layouts(layouts), m_host(host), m_entryLink(new DLink)
{
}

DReportInteraction::~DReportInteraction() = default;

void DReportInteraction::reset()
{
    m_anchor = m_cursor = DTextPos();
    m_focusBlock = m_focusAnchor = -1;
    m_pressBlock = m_pressAnchor = -1;
    m_selecting = false;
}

void DReportInteraction::update() const
{
    m_host.viewport()->update();
}

// ---------------------------------------------------------------- selection

bool DReportInteraction::hasSelection() const
{
    return m_anchor.block >= 0 && m_cursor.block >= 0 && !(m_anchor == m_cursor);
}

void DReportInteraction::select(const DTextRange& range)
{
    m_anchor = {range.block, range.start};
    m_cursor = {range.block, range.end};
    update();
}

void DReportInteraction::clearSelection()
{
    m_anchor = m_cursor = DTextPos();
    update();
}

void DReportInteraction::selectAll()
{
    if (m_model.isEmpty())
        return;
    const int last = m_model.blockCount() - 1;
    m_anchor = {0, 0};
    m_cursor = {last, m_layouts.layout(last)->endPosition()};
    update();
}

QString DReportInteraction::blockText(int block, int from, int to) const
{
    const DBlockLayout* layout = m_layouts.layout(block);
    if (from <= 0 && to >= layout->endPosition())
        return plainSpaces(m_model.plainText(block));
    QTextCursor range(layout->document());
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    QString text = range.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    return plainSpaces(std::move(text));
}

QString DReportInteraction::selectedText() const
{
    if (!hasSelection())
        return QString();
    const DTextPos start = selectionStart();
    const DTextPos end = selectionEnd();
    if (start.block == end.block)
        return blockText(start.block, start.position, end.position);
    QStringList parts;
    parts << blockText(start.block, start.position, m_layouts.layout(start.block)->endPosition());
    // Whole blocks between the ends come from the items: no layout needed.
    for (int block = start.block + 1; block < end.block; ++block)
        parts << plainSpaces(m_model.plainText(block));
    parts << blockText(end.block, 0, end.position);
    return parts.join(QLatin1Char('\n'));
}

void DReportInteraction::copy() const
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

// ---------------------------------------------------------------- mouse

DTextPos DReportInteraction::positionAt(const QPoint& point) const
{
    int block = 0;
    QPointF local;
    if (point.y() < 0 && m_host.topBlock() > 0)
        return {m_host.topBlock(), 0};
    if (!m_host.blockAt(point, block, local))
        return DTextPos();
    return {block, m_layouts.layout(block)->hitTest(local)};
}

void DReportInteraction::mousePress(QMouseEvent* event)
{
    int block = 0;
    QPointF local;
    m_pressBlock = m_pressAnchor = -1;
    if (m_host.blockAt(event->position().toPoint(), block, local)) {
        m_pressBlock = block;
        m_pressAnchor = m_layouts.layout(block)->anchorAt(local);
    }
    m_anchor = m_cursor = positionAt(event->position().toPoint());
    m_selecting = true;
    update();
}

void DReportInteraction::mouseMove(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    QWidget* viewport = m_host.viewport();
    if (m_selecting && (event->buttons() & Qt::LeftButton)) {
        const int line = QFontMetrics(viewport->font()).lineSpacing();
        if (point.y() < 0)
            m_host.scrollBy(-line);
        else if (point.y() > viewport->height())
            m_host.scrollBy(line);
        m_cursor = positionAt(point);
        update();
        return;
    }
    int block = 0;
    QPointF local;
    int anchor = -1;
    if (m_host.blockAt(point, block, local))
        anchor = m_layouts.layout(block)->anchorAt(local);
    if (anchor < 0) {
        viewport->setCursor(Qt::IBeamCursor);
        QToolTip::hideText();
        return;
    }
    const QString target =
        DItemTraits::linkTarget(m_layouts.layout(block)->anchors()[size_t(anchor)].item);
    viewport->setCursor(Qt::PointingHandCursor);
    if (!target.isEmpty())
        QToolTip::showText(event->globalPosition().toPoint(), target, viewport);
    emit linkHovered(target);
}

void DReportInteraction::mouseRelease(QMouseEvent* event)
{
    m_selecting = false;
    if (m_pressAnchor < 0 || hasSelection())
        return;
    int block = 0;
    QPointF local;
    if (m_host.blockAt(event->position().toPoint(), block, local) && block == m_pressBlock &&
        m_layouts.layout(block)->anchorAt(local) == m_pressAnchor) {
        const int anchor = m_pressAnchor;
        m_pressAnchor = -1;
        activateAnchor(block, anchor);
    }
}

void DReportInteraction::mouseDoubleClick(QMouseEvent* event)
{
    const DTextPos at = positionAt(event->position().toPoint());
    if (at.block < 0)
        return;
    QTextCursor word(m_layouts.layout(at.block)->document());
    word.setPosition(at.position);
    word.select(QTextCursor::WordUnderCursor);
    select({at.block, word.selectionStart(), word.selectionEnd()});
}

// ---------------------------------------------------------------- keys and links

bool DReportInteraction::keyPress(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    const int line = QFontMetrics(m_host.viewport()->font()).lineSpacing();
    const int page = m_host.viewport()->height() - line;
    switch (event->key()) {
    case Qt::Key_Up:
        m_host.scrollBy(-2 * line);
        return true;
    case Qt::Key_Down:
        m_host.scrollBy(2 * line);
        return true;
    case Qt::Key_PageUp:
        m_host.scrollBy(-page);
        return true;
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        m_host.scrollBy(page);
        return true;
    case Qt::Key_Home:
        m_host.scrollToTop();
        return true;
    case Qt::Key_End:
        m_host.scrollToBottom();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_focusBlock >= 0 && m_focusAnchor >= 0)
            activateAnchor(m_focusBlock, m_focusAnchor);
        return true;
    default:
        return false;
    }
}

bool DReportInteraction::focusNextAnchor(bool next)
{
    if (m_model.isEmpty())
        return false;
    const int count = m_model.blockCount();
    auto anchorsIn = [this](int block) { return int(m_layouts.layout(block)->anchors().size()); };
    // Start after the focused link when it shows, else at the top (or the
    // bottom, going back) of the viewport.
    const bool focusShown = m_focusBlock >= 0 && m_focusBlock >= m_host.topBlock() &&
                            m_focusBlock <= m_host.bottomBlock();
    int block = focusShown ? m_focusBlock : m_host.topBlock();
    int anchor = focusShown ? m_focusAnchor : -1;
    if (!next && !focusShown) {
        block = qMin(count - 1, m_host.bottomBlock());
        anchor = anchorsIn(block);
    }
    for (int scanned = 0; scanned < anchorScanBlocks && block >= 0 && block < count; ++scanned) {
        const int anchors = anchorsIn(block);
        const int candidate = next ? anchor + 1 : (anchor < 0 ? anchors - 1 : anchor - 1);
        if (candidate >= 0 && candidate < anchors) {
            m_focusBlock = block;
            m_focusAnchor = candidate;
            const DBlockLayout::Anchor found =
                m_layouts.layout(block)->anchors()[size_t(candidate)];
            m_host.showRange(block, found.start, found.end);
            update();
            return true;
        }
        block += next ? 1 : -1;
        anchor = next ? -1 : (block >= 0 && block < count ? anchorsIn(block) : 0);
    }
    return false;
}

void DReportInteraction::activateAnchor(int block, int anchor)
{
    if (block < 0 || block >= m_model.blockCount())
        return;
    const DBlockLayout* layout = m_layouts.layout(block);
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
        m_host.moveToTag(static_cast<const DTagPointer*>(item)->target());
        break;
    case DItem::SEntry:
    case DItem::IEntry:
        activateEntry(DItemTraits::linkTarget(item));
        break;
    default:
        break;
    }
}

// An entry names a document or an item of the documents ("::tag", "tag"):
// it goes out as a link to that place of the report, which a viewer moves
// to; a report link or a source reference goes out as it is.
void DReportInteraction::activateEntry(const QString& target)
{
    QString place = target;
    if (QALinkTarget::parse(target).kind() == QALinkTarget::Other) {
        QString file;
        QString kind;
        QString tag;
        DLink::split(target, file, kind, tag);
        place = QALinkTarget::localLink(tag);
    }
    m_entryLink->setTarget(place);
    emit activatedLink(m_entryLink.get());
}

const DItem* DReportInteraction::popupOf(const DItem* popupLink) const
{
    for (const DItem* child = popupLink->toContainer()->first(); child; child = child->next())
        if (child->kind() == DItem::Popup)
            return child;
    const QString& target = static_cast<const DLink*>(popupLink)->target();
    if (!target.isEmpty()) {
        const DItem* named = m_model.findNamed(target);
        if (named && named->kind() == DItem::Popup)
            return named;
    }
    // Otherwise the popup that follows the link, in its paragraph or after it.
    for (const DItem* up = popupLink; up && !DItemTraits::of(up).grouping; up = up->parent())
        for (const DItem* sibling = up->next(); sibling; sibling = sibling->next())
            if (sibling->kind() == DItem::Popup)
                return sibling;
    return nullptr;
}

void DReportInteraction::togglePopup(const DItem* popupLink)
{
    const DItem* popup = popupOf(popupLink);
    const bool open = !m_model.isExpanded(popupLink);
    m_model.setExpanded(popupLink, open);
    if (popup)
        m_model.setExpanded(popup, open);
    m_focusBlock = m_focusAnchor = -1;
    m_anchor = m_cursor = DTextPos();
    for (const DItem* changed : {popupLink, popup}) {
        const int block = changed ? m_model.blockOf(changed) : -1;
        if (block >= 0) {
            m_layouts.invalidate(block);
            m_layouts.layout(block);
        }
    }
    m_host.blocksChanged();
}
