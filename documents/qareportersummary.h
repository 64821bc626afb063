#ifndef QAREPORTERSUMMARY_H
#define QAREPORTERSUMMARY_H

#include <QList>

class DDocument;
class DStyle;
class QAReporterData;

// The summary document of a set of report files: one table with a row per
// file (status, failed, passed, inconclusive when any file counts them,
// total; the name links to the file's document) and a totals row.
class QAReporterSummary
{
public:
    // Builds the summary of the records with the given styles (looked up
    // by name). The caller owns the document.
    static DDocument* buildSummary(const QList<QAReporterData*>& records,
                                   const QList<DStyle*>& styles);
    // The same with the viewer's style list (none before the preferences
    // exist).
    static DDocument* buildSummary(const QList<QAReporterData*>& records);
};

#endif
