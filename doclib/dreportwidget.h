#ifndef DREPORTWIDGET_H
#define DREPORTWIDGET_H

#include "dapidocview.h"
#include "dheightindex.h"
#include "dlink.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>

#include <memory>
#include <unordered_map>
#include <vector>

class DBlockLayout;
class DChartObject;
class DDocument;
class DItem;
class QPagedPaintDevice;
class QPrinter;
class QRegularExpression;

// Shows report documents one below the other. Documents are cut into flow
// blocks (titles, paragraphs, tables or runs of rows of long tables,
// graphics...) that are laid out only when they come near the viewport and
// kept in a bounded cache; other blocks only have an estimated height, kept
// in a Fenwick tree, so scrolling, moving to an item and searching cost
// O(log n) plus the blocks actually shown, whatever the size of the report.
// The view does not own its documents and never follows a link itself: it
// emits activatedLink() for the caller to decide.
class DReportWidget : public DApidocView
{
    Q_OBJECT
public:
    explicit DReportWidget(QWidget* parent = nullptr);
    ~DReportWidget() override;

    // With first, replaces the shown documents; otherwise adds doc below them.
    void setDocument(DDocument* doc, bool first);
    void clearDocs();
    // Renders the same documents again (styles or background changed),
    // keeping the place shown.
    void rebuildDoc();
    const QList<DDocument*>& documents() const { return m_documents; }

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

    // Finds the next match after the current place (the selection, else the
    // top of the viewport), wrapping once; selects and shows it.
    bool search(const QRegularExpression& pattern);

    bool hasSelection() const;
    QString selectedText() const;
    void selectAll();
    void clearSelection();
    void copy();

    // Asks for a printer and prints every document; page breaks start pages.
    void print();
    void print(QPrinter* printer);
    bool printToPdf(const QString& path);

    // Look into the blocks, for tools and tests.
    int blockCount() const { return int(m_blocks.size()); }
    int blockOf(const DItem* item) const;
    const DItem* blockItem(int block) const;
    // Lays the block out when it is not (may evict others from the cache).
    const DBlockLayout* blockLayout(int block) const;
    int cachedBlockCount() const { return int(m_cache.size()); }
    void setCacheLimit(int blocks);
    // Vertical position of the top of the viewport in the content.
    qint64 topOffset() const;
    // Content position of an item, -1 when not shown.
    qint64 itemOffset(const DItem* item) const;
    int topBlock() const { return m_top.block; }
    void scrollBy(int pixels);
    void scrollToTop();
    void scrollToBottom();
    // Clicks the index-th link of a block, as the mouse or keyboard would.
    void activateAnchor(int block, int anchor);

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
    struct Block
    {
        const DItem* item;        // the item shown, or the first row of a run of rows
        const DItem* namedBefore; // the last named item before it in document order
        int rows;                 // rows of a run of a long table, 0 otherwise
    };
    struct Place
    {
        int block = 0;
        int offset = 0; // pixels from the block's top
    };
    struct TextPos
    {
        int block = -1;
        int position = 0;
        bool operator<(const TextPos& o) const
        {
            return block < o.block || (block == o.block && position < o.position);
        }
        bool operator==(const TextPos& o) const
        {
            return block == o.block && position == o.position;
        }
    };
    // What height estimates need of the font and width, taken once per
    // document rather than once per block.
    struct EstimateMetrics
    {
        int line = 0;
        int charWidth = 1;
        int width = 50;
        int titleMargins[6] = {};
    };
    struct CachedLayout
    {
        std::unique_ptr<DBlockLayout> layout;
        quint64 lastUse;
    };

    void printTo(QPagedPaintDevice* device);
    void prefetch();
    qreal yInBlock(int block, const DItem* item) const;
    void appendDocument(DDocument* doc);
    void addBlock(const DItem* item, int rows, const DItem* namedBefore);
    int estimateHeight(const DItem* item, int rows) const;
    void updateEstimateMetrics();
    void resetContent();
    void invalidateLayouts();
    DBlockLayout* layoutOf(int block) const;
    void evictLayouts() const;
    QObject* chartHandler() const;

    int textWidth() const;
    void normalize();
    void clampToEnd();
    void setTopFromValue(int value);
    void syncScrollBars();
    void setPlace(int block, int offset);

    bool findVisible(const QPoint& point, int& block, QPointF& local) const;
    TextPos positionAt(const QPoint& point) const;
    QString blockText(int block, int from, int to) const;
    void ensureRangeVisible(int block, int start, int end);
    bool focusAnchor(bool next);
    void togglePopup(const DItem* popupLink);
    const DItem* popupOf(const DItem* popupLink) const;
    const DItem* findNamed(const QString& name) const;
    const DItem* namedAtOrBefore(const DItem* item) const;
    bool searchFrom(const QRegularExpression& pattern, int firstBlock, int lastBlock,
                    TextPos after);
    bool searchBlockLaidOut(const QRegularExpression& pattern, int block, const TextPos& after,
                            const TextPos& before);

    QList<DDocument*> m_documents;
    std::vector<Block> m_blocks;
    mutable DHeightIndex m_heights;
    EstimateMetrics m_estimate;
    mutable int m_heightChanges = 0;
    QHash<const DItem*, int> m_blockIndex;        // block roots and grouping items
    mutable QHash<QString, const DItem*> m_names; // built on first lookup by name
    mutable bool m_namesBuilt = false;

    mutable std::unordered_map<int, CachedLayout> m_cache;
    mutable quint64 m_useClock = 0;
    int m_cacheLimit = 192;
    mutable DChartObject* m_chart = nullptr;
    mutable QHash<QString, QImage> m_images;
    QSet<const DItem*> m_expanded;

    Place m_top;
    const DItem* m_pinned = nullptr; // moved to and not scrolled away from since
    QString m_keptName;
    bool m_syncing = false;
    mutable int m_widestBlock = 0;
    int m_layoutWidth = 0;
    bool m_prefetchQueued = false;

    TextPos m_anchor;
    TextPos m_cursor;
    bool m_selecting = false;
    int m_pressBlock = -1;
    int m_pressAnchor = -1;
    int m_focusBlock = -1;
    int m_focusAnchor = -1;
    std::unique_ptr<DLink> m_entryLink; // stands for summary and index entries
};

#endif
