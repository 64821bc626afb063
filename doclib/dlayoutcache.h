#ifndef DLAYOUTCACHE_H
#define DLAYOUTCACHE_H

#include "dblocklayout.h"

#include <QCache>
#include <QImage>
#include <QString>

class DReportModel;

// The laid-out blocks of a model, a bounded number of them: laying out a
// block that is not kept evicts the least recently used one, one per new
// layout, so that no frame frees dozens at once. A layout gives the block
// its real height in the model in place of the estimate. Decoded images
// are kept apart, bounded by their size.
class DLayoutCache
{
public:
    static constexpr int defaultLimit = 192;
    static constexpr int imageLimitKB = 64 * 1024;

    explicit DLayoutCache(DReportModel& model);
    DLayoutCache(const DLayoutCache&) = delete;
    DLayoutCache& operator=(const DLayoutCache&) = delete;

    // How blocks are laid out; drops every layout.
    void setContext(const DBlockLayout::Context& context);
    const DBlockLayout::Context& context() const { return m_context; }

    // The layout of a block, made when it is not kept. The pointer holds
    // until the next call that lays out another block.
    DBlockLayout* layout(int block);
    bool contains(int block) const { return m_layouts.contains(block); }
    void invalidate();
    void invalidate(int block);
    void clearImages() { m_images.clear(); }

    void setLimit(int blocks);
    int limit() const { return int(m_layouts.maxCost()); }
    int count() const { return int(m_layouts.size()); }
    int imageCount() const { return int(m_images.size()); }

    // The widest ideal width of the layouts made since the last invalidate().
    int widest() const { return m_widest; }
    // Counts the layouts whose height differed from the model's.
    int heightChanges() const { return m_heightChanges; }

private:
    DReportModel& m_model;
    DBlockLayout::Context m_context;
    QCache<int, DBlockLayout> m_layouts;
    QCache<QString, QImage> m_images;
    int m_widest = 0;
    int m_heightChanges = 0;
};

#endif
