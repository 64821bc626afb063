#ifndef QAREPORTERDATA_H
#define QAREPORTERDATA_H

#include "qareporterdatatree.h"

#include <QPointer>
#include <QStringList>

class DDocument;

// What is kept of one loaded report file: its path, its tree of test nodes,
// its document, its node types and its test counts. It owns the tree and
// the document. An inconclusive count of -1 means the file gives none.
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
    QStringList types;
    int koCount = 0;
    int okCount = 0;
    int neCount = -1;
};

#endif
