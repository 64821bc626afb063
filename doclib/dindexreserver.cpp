#include "dindexreserver.h"

#include <QThread>

DIndexReserver::DIndexReserver(int blocks, DReportModel::IndexEntries entries, QObject* parent)
    : QObject(parent), m_blocks(blocks)
{
    m_thread.reset(QThread::create([this, entries = std::move(entries)] {
        m_index = DReportModel::reservedIndex(m_blocks, entries);
    }));
    // Queued: finished comes from the ending thread, ready goes out here.
    connect(m_thread.get(), &QThread::finished, this, &DIndexReserver::ready, Qt::QueuedConnection);
    m_thread->start(QThread::LowPriority);
}

DIndexReserver::~DIndexReserver()
{
    m_thread->wait();
}

DReportModel::BlockIndex DIndexReserver::take()
{
    if (!m_thread->isFinished())
        return {};
    m_thread->wait();
    return std::move(m_index);
}
