#ifndef QAREPORTERDATA_H
#define QAREPORTERDATA_H

#include "qareporterdatatree.h"

#include <QPointer>
#include <QStringList>

#include <memory>

class DDocument;

// What is kept of one loaded report file: its path, its tree of test nodes,
// its document, its node types and its test counts. It owns the tree and
// shares the document. An inconclusive count of -1 means the file gives none.
// Counts are summed with QATestCount::add, which cannot wrap round.
class QAReporterData
{
public:
    QAReporterData() = default;
    QAReporterData(const QAReporterData&) = delete;
    QAReporterData& operator=(const QAReporterData&) = delete;
    virtual ~QAReporterData();

    QString fileName;
    QPointer<QAReporterDataTree> tree;
    // Shared with the unfiltered views of the record, which show the same
    // document and only read it; it goes with the last of them.
    std::shared_ptr<DDocument> document;
    QStringList types;
    qint64 koCount = 0;
    qint64 okCount = 0;
    qint64 neCount = -1;
    // False when reading stopped before the end of the file (cancelled, or
    // the file is cut short or malformed past what was read).
    bool complete = true;
};

#endif
