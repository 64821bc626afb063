#include "dindexreserver.h"

#include <QThread>

DIndexReserver::DIndexReserver(int blocks, DReportModel::IndexEntries entries,
                               DReportModel::BlockIndex begun, QObject* parent)
    : QObject(parent), m_blocks(blocks), m_index(std::move(begun))
{
    // An index begun in an earlier round has its room already.
    const bool adding = m_index.capacity() > 0;
    m_thread.reset(QThread::create([this, adding, entries = std::move(entries)] {
        if (adding)
            DReportModel::addEntries(m_index, entries);
        else
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
