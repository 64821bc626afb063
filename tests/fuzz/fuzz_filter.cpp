// The failed-only filter over a report read from arbitrary bytes. An odd
// first byte also hides the report's first node type, as the viewer's type
// menu does; the rest is the report.

#include "damlwriter.h"
#include "ddocument.h"
#include "fuzzapp.h"
#include "qareporterfilter.h"
#include "xrodrecords.h"

#include <QGuiApplication>
#include <QRegularExpression>

namespace {

int nodeCount(QAReporterDataTree* tree)
{
    int count = 0;
    tree->iterator()->toRoot();
    while (tree->next(PreOrder))
        ++count;
    return count;
}

QAReporterFilterCriteria criteriaFor(bool hideType, const QStringList& types)
{
    QAReporterFilterCriteria criteria;
    criteria.addPattern(QAReporterFilterCriteria::StateField,
                        QRegularExpression(QStringLiteral("ko")));
    if (hideType && !types.isEmpty())
        criteria.addPattern(QAReporterFilterCriteria::TypeField,
                            QRegularExpression(QRegularExpression::escape(types.first())));
    return criteria;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QString error;
    const std::unique_ptr<QAReporterData> record =
        readRecord(fuzzBytes(data + 1, size - 1), {}, &error);
    if (!record)
        return 0;
    QAReporterFilter filter;
    filter.setCriteria(criteriaFor(data[0] & 1, record->types));
    filter.apply({record.get()});
    for (QAReporterData* filtered : filter.filteredRecords()) {
        // The filtered tree keeps a subset of the nodes; its document is
        // walked whole, as the view and the writers do.
        if (!filtered->tree || nodeCount(filtered->tree) > nodeCount(record->tree))
            abort();
        if (filtered->document)
            DAmlWriter::toAml(filtered->document.get());
    }
    return 0;
}
