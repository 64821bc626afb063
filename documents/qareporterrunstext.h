#ifndef QAREPORTERRUNSTEXT_H
#define QAREPORTERRUNSTEXT_H

#include <QList>
#include <QString>
#include <QStringList>

class QAReporterComparison;
struct QAReporterCase;

// What the command line prints of runs compared and of failures grouped:
// plain lines, each ending in a line feed, cases indented by two spaces.
class QAReporterRunsText
{
public:
    // The files compared, the counts of each category, then each category
    // that has cases with its cases ("path (message changed)").
    static QString comparison(const QAReporterComparison& comparison, const QString& earlierFile,
                              const QStringList& currentFiles);
    // One paragraph a group, largest first: "N failures: MASKED", the
    // example message, then the paths of its cases.
    static QString failureGroups(const QList<QAReporterCase>& cases);
};

#endif
