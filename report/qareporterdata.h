#ifndef QAREPORTERDATA_H
#define QAREPORTERDATA_H

#include "qareporterdatatree.h"

#include <QPointer>
#include <QStringList>

class DDocument;

// What is kept of one loaded report file: its path, its tree of test nodes,
// its document, its node types and its test counts. It owns the tree and
// the document. An inconclusive count of -1 means the file gives none.
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
    DDocument* document = nullptr;
    // False when the document belongs to another record, which outlives
    // this one (an unfiltered view of it).
    bool ownsDocument = true;
    QStringList types;
    qint64 koCount = 0;
    qint64 okCount = 0;
    qint64 neCount = -1;
};

#endif
