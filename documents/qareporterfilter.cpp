#include "qareporterfilter.h"

#include "ddocument.h"
#include "dupdater.h"
#include "qareporterdata.h"
#include "qareporterfilterwriter.h"

QAReporterFilter::QAReporterFilter() = default;

QAReporterFilter::~QAReporterFilter()
{
    clearFilteredRecords();
    delete m_criteria;
}

void QAReporterFilter::setCriteria(const QAReporterFilterCriteria& criteria)
{
    auto* copy = new QAReporterFilterCriteria(criteria);
    delete m_criteria;
    m_criteria = copy;
}

void QAReporterFilter::clearFilteredRecords()
{
    qDeleteAll(m_filteredRecords);
    m_filteredRecords.clear();
}

bool QAReporterFilter::apply(const QList<QAReporterData*>& records)
{
    for (const QAReporterData* record : records) {
        if (!record)
            continue;
        if (QAReporterData* filtered = filter(*record))
            m_filteredRecords.append(filtered);
    }
    return true;
}

QAReporterData* QAReporterFilter::filter(const QAReporterData& record) const
{
    if (m_criteria && !m_criteria->fields())
        return share(record);
    QAReporterFilterWriter writer(m_criteria);
    writer.setFileName(record.fileName);
    writer.setSourceDocument(record.document.get());
    if (!writer.buildTree(record.tree.data()))
        return nullptr;
    writer.doAll(record.document.get());

    auto* filtered = new QAReporterData;
    filtered->fileName = record.fileName;
    filtered->tree = writer.takeTree().release();
    filtered->document = writer.takeDocument();
    if (filtered->document) {
        DUpdater updater;
        updater.doItem(filtered->document.get());
    }
    return filtered;
}

// A copy of everything would double the memory of the largest reports for
// nothing: the document is shared, and so are the tree's nodes and links,
// apart from the root. The filtered record must therefore go before the
// source record.
QAReporterData* QAReporterFilter::share(const QAReporterData& record) const
{
    if (!record.tree)
        return nullptr;
    QAReporterDataTree* tree = QAReporterDataTree::viewOf(*record.tree);
    if (!tree)
        return nullptr;
    auto* shared = new QAReporterData;
    shared->fileName = record.fileName;
    shared->tree = tree;
    shared->document = record.document;
    if (shared->document && shared->tree->root()->data)
        shared->tree->root()->data->setId(shared->document->name());
    return shared;
}
