#include "qareportercommands.h"

namespace {

std::unique_ptr<QAReporterCommands>& installedCommands()
{
    static std::unique_ptr<QAReporterCommands> commands;
    return commands;
}

} // namespace

QAReporterCommands::~QAReporterCommands() = default;

void QAReporterCommands::saveAs(QAReporter*) {}

void QAReporterCommands::submitTallyvane(QAReporter*) {}

void QAReporterCommands::exportDoc(QAReporter*) {}

bool QAReporterCommands::exportHTML(QAReporter*, const QString&, const QString&,
                                    QAIProgressMonitor*, QAILogMonitor*)
{
    return false;
}

std::unique_ptr<QAReporterCommands>
installReporterCommands(std::unique_ptr<QAReporterCommands> commands)
{
    std::swap(installedCommands(), commands);
    return commands;
}

QAReporterCommands* reporterCommands()
{
    return installedCommands().get();
}
