#include "qareporterexportcommands.h"

#include "qadirselectdialog.h"
#include "qaprogressdialog.h"
#include "qareporter.h"
#include "qareporterdefectreport.h"
#include "qareporterhtmlexport.h"
#include "qareporterpref.h"
#include "qareportersaveas.h"
#include "qastudiointerface.h"

#include <QCoreApplication>

namespace {

QAStudioInterface* studio()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->studio() : nullptr;
}

} // namespace

void QAReporterExportCommands::saveAs(QAReporter* window)
{
    QAReporterSaveAs(window).run();
}

void QAReporterExportCommands::submitTallyvane(QAReporter* window)
{
    QAReporterDefectReport(window).run();
}

void QAReporterExportCommands::exportDoc(QAReporter* window)
{
    QAStudioInterface* host = studio();
    if (!host || !host->logMonitor())
        return;
    QAProgressDialog progress(
        QCoreApplication::translate("QAReporter", "Export Report to HTML files"),
        QCoreApplication::translate("QAReporter", "Abort"), 100, window);
    progress.setWindowTitle(host->productName());
    QADirSelectDialog chooser(QStringLiteral("Export To Html"), QStringLiteral("Export:"), window);
    // The last directory of this session is offered again.
    static QString lastDirectory;
    chooser.setDirectory(lastDirectory);
    if (chooser.exec() != QDialog::Accepted)
        return;
    lastDirectory = chooser.directory();
    exportHTML(window, chooser.directory(), QStringLiteral("index.html"), &progress,
               host->logMonitor());
}

bool QAReporterExportCommands::exportHTML(QAReporter* window, const QString& dir,
                                          const QString& /*indexName*/,
                                          QAIProgressMonitor* progress, QAILogMonitor* log)
{
    if (!window || !progress || !log)
        return false;
    return QAReporterHTMLExport(window->session(), progress, log).run(dir);
}
