#ifndef QAREPORTEREXPORTCOMMANDS_H
#define QAREPORTEREXPORTCOMMANDS_H

#include "qareportercommands.h"

// The viewer window's save-as, HTML export and defect report commands,
// which the plug-in installs for every window.
class QAReporterExportCommands : public QAReporterCommands
{
public:
    void saveAs(QAReporter* window) override;
    void submitTallyvane(QAReporter* window) override;
    void exportDoc(QAReporter* window) override;
    bool exportHTML(QAReporter* window, const QString& dir, const QString& indexName,
                    QAIProgressMonitor* progress, QAILogMonitor* log) override;
};

#endif
