#ifndef QAREPORTERCOMPARISONDOCUMENT_H
#define QAREPORTERCOMPARISONDOCUMENT_H

#include <QList>
#include <QStringList>

class DDocument;
class DStyle;
class QAReporterComparison;

// The comparison of two runs as a report document in the viewer's styles:
// the counts of both runs and of each category first, then one section a
// category that has cases, a line a case. A case's name links to it in the
// current run (or, removed, in the earlier one); "earlier" links to it in
// the earlier run where it was there.
//
// Cost: linear in the entries of the comparison.
class QAReporterComparisonDocument
{
public:
    // The caller owns the document.
    static DDocument* build(const QAReporterComparison& comparison, const QString& earlierFile,
                            const QStringList& currentFiles, const QList<DStyle*>& styles);
};

#endif
