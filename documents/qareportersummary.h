#ifndef QAREPORTERSUMMARY_H
#define QAREPORTERSUMMARY_H

#include "qareportertrendchart.h"

#include <QList>

class DDocument;
class DStyle;
class QAReporterData;

// The summary document of a set of report files: the trend of the last runs
// when one is given, one table with a row per file (status, failed, passed,
// inconclusive when any file counts them, total; the name links to the
// file's document) and a totals row, then the failed cases grouped by cause.
class QAReporterSummary
{
public:
    // Builds the summary of the records with the given styles (looked up
    // by name). The caller owns the document.
    static DDocument* buildSummary(const QList<QAReporterData*>& records,
                                   const QList<DStyle*>& styles,
                                   const QList<QAReporterTrendPoint>& trend = {});
    // The same with the viewer's style list (none before the preferences
    // exist).
    static DDocument* buildSummary(const QList<QAReporterData*>& records,
                                   const QList<QAReporterTrendPoint>& trend = {});
};

#endif
