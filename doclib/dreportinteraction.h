#ifndef DREPORTINTERACTION_H
#define DREPORTINTERACTION_H

#include "dlink.h"
#include "dreportmodel.h"

#include <QObject>
#include <QPointF>

#include <memory>

class DLayoutCache;
class QKeyEvent;
class QMouseEvent;
class QWidget;

// What the reader does in a report view: selecting and copying text,
// hovering and clicking links, walking them with Tab and Return, opening
// and closing popups, scrolling with keys. It keeps the selection and the
// focused link; the view it works for scrolls and paints.
class DReportInteraction : public QObject
{
    Q_OBJECT
public:
    // What the interaction needs of the view that shows the blocks.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual QWidget* viewport() const = 0;
        // The block under a viewport point and the point in its layout;
        // false when nothing is shown.
        virtual bool blockAt(const QPoint& point, int& block, QPointF& local) = 0;
        // The blocks at the top and at the bottom of the viewport.
        virtual int topBlock() const = 0;
        virtual int bottomBlock() const = 0;
        virtual void scrollBy(int pixels) = 0;
        virtual void scrollToTop() = 0;
        virtual void scrollToBottom() = 0;
        // Scrolls, when needed, so that a range of a block shows.
        virtual void showRange(int block, int start, int end) = 0;
        virtual bool moveToTag(const QString& tag) = 0;
        // Blocks changed height (a popup opened or closed).
        virtual void blocksChanged() = 0;
    };

    DReportInteraction(DReportModel& model, DLayoutCache& layouts, Host& host);
    ~DReportInteraction() override;

    // Forgets the selection, the focused link and a pending click.
    void reset();

    bool hasSelection() const;
    // The selection from its start to its end; both blocks -1 when none.
    DTextPos selectionStart() const { return std::min(m_anchor, m_cursor); }
    DTextPos selectionEnd() const { return std::max(m_anchor, m_cursor); }
    void select(const DTextRange& range);
    QString selectedText() const;
    void selectAll();
    void clearSelection();
    void copy() const;

    // The link focused with Tab, as block and anchor index; -1 when none.
    int focusBlock() const { return m_focusBlock; }
    int focusAnchor() const { return m_focusAnchor; }
    // Focuses the next or previous link from the focused one when it shows,
    // else from the top or bottom of the viewport; false when none is near.
    bool focusNextAnchor(bool next);
    // Clicks the index-th link of a block, as the mouse or keyboard would.
    void activateAnchor(int block, int anchor);

    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseDoubleClick(QMouseEvent* event);
    // False when the key is not one of the view's.
    bool keyPress(QKeyEvent* event);

signals:
    void activatedLink(DLink* link);
    void linkHovered(const QString& target);

private:
    DTextPos positionAt(const QPoint& point) const;
    QString blockText(int block, int from, int to) const;
    void togglePopup(const DItem* popupLink);
    void activateEntry(const QString& target);
    const DItem* popupOf(const DItem* popupLink) const;
    void update() const;

    DReportModel& m_model;
    DLayoutCache& m_layouts;
    Host& m_host;
    DTextPos m_anchor;
    DTextPos m_cursor;
    bool m_selecting = false;
    int m_pressBlock = -1;
    int m_pressAnchor = -1;
    int m_focusBlock = -1;
    int m_focusAnchor = -1;
    std::unique_ptr<DLink, DItem::Deleter> m_entryLink; // stands for summary and index entries
};

#endif
