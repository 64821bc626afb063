#ifndef QAREPORTERFLAKYDOCUMENT_H
#define QAREPORTERFLAKYDOCUMENT_H

#include "qarunhistory.h"

#include <QList>

class DDocument;
class DStyle;

// The flaky tests of the last runs, most flaky first, as a document in the
// viewer's styles (a table: test, pass rate, passes, failures, the runs
// where it failed) and as the command line prints them.
class QAReporterFlakyDocument
{
public:
    // The caller owns the document.
    static DDocument* build(const QList<QARunHistory::FlakyCase>& flaky, int lastRuns,
                            const QList<DStyle*>& styles);
    // One line a test, "PATH  pass rate R% (P passed, F failed)", then its
    // failed runs indented; a line saying there is none otherwise.
    static QString text(const QList<QARunHistory::FlakyCase>& flaky, int lastRuns);
};

#endif
