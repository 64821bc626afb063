#ifndef QAREPORTERFAILUREGROUPSECTION_H
#define QAREPORTERFAILUREGROUPSECTION_H

#include <QList>

class DItemContainer;
class QAReporterDocumentBuilder;
struct QAReporterCase;

// The failed cases grouped by cause, as a section of the summary: for
// each group, largest first, its count and masked message, one example
// message and a link to every case in it. Nothing when no case failed.
//
// Cost: linear in the cases and their messages.
class QAReporterFailureGroupSection
{
public:
    static void append(QAReporterDocumentBuilder& builder, DItemContainer* parent,
                       const QList<QAReporterCase>& cases);
};

#endif
