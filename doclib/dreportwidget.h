#ifndef DREPORTWIDGET_H
#define DREPORTWIDGET_H

#include "dapidocview.h"
#include "dlink.h"

#include <QList>
#include <QString>

#include <memory>

class DDocument;
class DItem;
class DReportWidgetPrivate;
class QPrinter;
class QRegularExpression;

// Shows report documents one below the other. Documents are cut into flow
// blocks that are laid out only when they come near the viewport and kept
// in a bounded cache; other blocks only have an estimated height, so
// scrolling, moving to an item and searching cost O(log n) plus the blocks
// actually shown, whatever the size of the report. The view does not own
// its documents and never follows a link itself: it emits activatedLink()
// for the caller to decide.
class DReportWidget : public DApidocView
{
    Q_OBJECT
public:
    explicit DReportWidget(QWidget* parent = nullptr);
    ~DReportWidget() override;

    // With first, replaces the shown documents; otherwise adds doc below them.
    void setDocument(DDocument* doc, bool first);
    void clearDocs();
    // Shows what a document being read got since the last call, below the
    // documents shown, keeping the place shown (see DReportModel::extend).
    void extendDocument(DDocument* doc, const QList<const DItem*>& openItems);
    // Room for this many blocks of a document being read (see
    // DReportModel::reserve). The room is made on another thread and taken
    // in a later turn of the event loop; clearDocs drops it.
    void reserveBlocks(int blocks);
    int blockCount() const;
    // Renders the same documents again (styles or background changed),
    // keeping the place shown.
    void rebuildDoc();
    const QList<DDocument*>& documents() const;

    // Scrolls so that the item's place is at the top; false when the item is
    // not in a shown document.
    bool moveTo(const DItem* item);
    // To the document whose tag is tag, else to the first item named tag.
    bool moveTo(const QString& file, const QString& kind, const QString& tag);

    // The nearest named item at or above the top of the viewport.
    const DItem* currentItem() const;
    // Its name. After clearDocs() the name shown before is kept until new
    // documents are shown, so that a reload can come back to it.
    QString currentItemName() const;

    // The height of the shown documents laid out at the view's width, page
    // margins and room for a horizontal scroll bar included, counted up to
    // limit: the
    // blocks counted are laid out, so it suits small documents such as a
    // summary.
    int contentHeight(int limit) const;

    // Finds the next match after the current place (the selection, else the
    // top of the viewport), wrapping once; selects and shows it.
    bool search(const QRegularExpression& pattern);
    // The same upwards: the match before the current place (the selection,
    // else the top of the viewport), wrapping once from the end.
    bool searchBackward(const QRegularExpression& pattern);
    // Where the selection shows, in viewport coordinates (the part in its
    // first block); empty without a selection.
    QRect selectionRect() const;

    bool hasSelection() const;
    QString selectedText() const;
    void selectAll();
    void clearSelection();
    void copy();

    // Asks for a printer and prints every document; page breaks start pages.
    void print();
    void print(QPrinter* printer);
    // False, with the reason logged (category xrd.doclib.print), when the
    // file cannot be written.
    bool printToPdf(const QString& path);

    // The parts the view is made of (dreportwidget_p.h), for tools and tests.
    DReportWidgetPrivate* parts() const { return d.get(); }

signals:
    void activatedLink(DLink* link);
    void linkHovered(const QString& target);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void settingsChanged() override;

private:
    bool searchOnce(const QRegularExpression& pattern, bool forward);
    friend class DReportWidgetPrivate;
    std::unique_ptr<DReportWidgetPrivate> d;
};

#endif
