#ifndef QAREPORTERTRENDCHART_H
#define QAREPORTERTRENDCHART_H

#include <QList>
#include <QString>

class DItemContainer;
class QAReporterDocumentBuilder;

// One run of a trend: what names it and its counts.
struct QAReporterTrendPoint
{
    QString label; // the run's file and time
    qint64 passed = 0;
    qint64 failed = 0;
    qint64 inconclusive = 0;
};

// The trend of the last runs as a chart of the document library: passed,
// failed and inconclusive cases per run, oldest run first, with a table of
// the runs it numbers below it. Nothing for fewer than two runs.
class QAReporterTrendChart
{
public:
    static void append(QAReporterDocumentBuilder& builder, DItemContainer* parent,
                       const QList<QAReporterTrendPoint>& runs);
};

#endif
