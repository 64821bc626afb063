#ifndef DINDEXRESERVER_H
#define DINDEXRESERVER_H

#include "dreportmodel.h"

#include <QObject>

#include <memory>

class QThread;

// Makes a view's block index, reserved for a number of blocks and holding
// the given entries, on a thread of its own (DReportModel::reservedIndex),
// or adds the entries to an index begun that way, and says when it is
// ready. For the largest reports that takes tens of milliseconds, which the
// event loop then does not wait for. Destroying the reserver waits for its
// thread.
class DIndexReserver : public QObject
{
    Q_OBJECT

public:
    DIndexReserver(int blocks, DReportModel::IndexEntries entries,
                   DReportModel::BlockIndex begun = {}, QObject* parent = nullptr);
    ~DIndexReserver() override;

    int blocks() const { return m_blocks; }
    // The index, once ready() was emitted; an empty one before or after.
    DReportModel::BlockIndex take();

signals:
    // Emitted, in the thread the reserver lives in, once the index is made.
    void ready();

private:
    const int m_blocks;
    DReportModel::BlockIndex m_index; // written by the thread until it ends
    std::unique_ptr<QThread> m_thread;
};

#endif
