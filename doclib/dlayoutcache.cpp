#include "dlayoutcache.h"

#include "dreportmodel.h"

#include <cmath>

DLayoutCache::DLayoutCache(DReportModel& model)
    : m_model(model), m_layouts(defaultLimit), m_images(imageLimitKB)
{
    m_context.images = &m_images;
}

void DLayoutCache::setContext(const DBlockLayout::Context& context)
{
    m_context = context;
    m_context.images = &m_images;
    invalidate();
}

DBlockLayout* DLayoutCache::layout(int block)
{
    if (DBlockLayout* kept = m_layouts.object(block))
        return kept;
    const DReportModel::Block& blockInfo = m_model.block(block);
    auto* made = new DBlockLayout(blockInfo.item, blockInfo.rows, m_context);
    if (made->height() != m_model.heights().height(block)) {
        m_model.heights().setHeight(block, made->height());
        ++m_heightChanges;
    }
    m_widest = qMax(m_widest, int(std::ceil(made->idealWidth())));
    // Cost 1 each: a new layout past the limit evicts exactly the least
    // recently used one.
    m_layouts.insert(block, made, 1);
    return made;
}

void DLayoutCache::invalidate()
{
    m_layouts.clear();
    m_widest = 0;
}

void DLayoutCache::invalidate(int block)
{
    m_layouts.remove(block);
}

void DLayoutCache::setLimit(int blocks)
{
    m_layouts.setMaxCost(qMax(8, blocks));
}
