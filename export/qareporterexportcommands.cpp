#include "qareporterexportcommands.h"

#include "qareporterdefectreport.h"
#include "qareportersaveas.h"

void QAReporterExportCommands::saveAs(QAReporter* window)
{
    QAReporterSaveAs(window).run();
}

void QAReporterExportCommands::submitTallyvane(QAReporter* window)
{
    QAReporterDefectReport(window).run();
}
