#ifndef DREPORTWIDGET_P_H
#define DREPORTWIDGET_P_H

#include "dindexreserver.h"
#include "dlayoutcache.h"
#include "dreportinteraction.h"
#include "dreportmodel.h"

#include <QString>

#include <memory>

class DChartObject;
class QPainter;
class DReportWidget;

// The state of a report view apart from its public face: the blocks, their
// layouts, the reader's interaction, and the place shown, which it keeps
// as the block at the top of the viewport and the pixels from that block's
// top. Tools and tests reach it through DReportWidget::parts().
class DReportWidgetPrivate : public DReportInteraction::Host
{
public:
    explicit DReportWidgetPrivate(DReportWidget* view);
    ~DReportWidgetPrivate() override;

    DReportModel model;
    // A block index being made for the model on another thread.
    std::unique_ptr<DIndexReserver> reserver;
    // A round of the reservation; waitedBefore: the entries that waited
    // after the round before (SIZE_MAX for the first).
    void startReserver(int blocks, DReportModel::IndexEntries entries,
                       DReportModel::BlockIndex begun, size_t waitedBefore);
    DLayoutCache layouts;
    DReportInteraction interaction;

    // Content position of the top of the viewport.
    qint64 topOffset() const;
    // Content position of an item, -1 when not shown.
    qint64 itemOffset(const DItem* item);
    int topBlock() const override { return m_top.block; }
    int bottomBlock() const override;
    void scrollBy(int pixels) override;
    void scrollToTop() override;
    void scrollToBottom() override;

    // Lays blocks out for the view's font, width and settings (drops the
    // layouts made before); the second only when the width or font changed.
    void refreshContext();
    void refreshContextIfResized();
    void resetPlace();
    void setPlace(int block, int offset);
    void normalize();
    void clampToEnd();
    void setTopFromValue(int value);
    void syncScrollBars();
    qreal yInBlock(int block, const DItem* item);
    const DItem* namedAtOrBefore(const DItem* item);
    const DItem* currentItem();
    int textWidth() const;
    void paint();
    void prefetch();

    QWidget* viewport() const override;
    bool blockAt(const QPoint& point, int& block, QPointF& local) override;
    void showRange(int block, int start, int end) override;
    bool moveToTag(const QString& tag) override;
    void blocksChanged() override;

private:
    struct Place
    {
        int block = 0;
        int offset = 0; // pixels from the block's top
    };

    // Paints a block whose top is at y; returns its height.
    int paintBlock(QPainter& painter, int block, int x, int y);

    DReportWidget* q;
    DChartObject* m_chart;
    Place m_top;
    const DItem* m_pinned = nullptr; // moved to and not scrolled away from since
    QString m_keptName;
    bool m_syncing = false;
    int m_layoutWidth = 0;
    bool m_prefetchQueued = false;

    friend class DReportWidget;
};

#endif
