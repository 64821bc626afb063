#ifndef QAREPORTERCOMMANDS_H
#define QAREPORTERCOMMANDS_H

#include <QString>

#include <memory>

class QAILogMonitor;
class QAIProgressMonitor;
class QAReporter;

// The viewer window's commands that live in a layer above it (saving a
// copy, defect reports, export). The window cannot call that layer, so it
// calls the implementation installed here; with none installed, the
// commands do nothing.
class QAReporterCommands
{
public:
    virtual ~QAReporterCommands();

    virtual void saveAs(QAReporter* window);
    virtual void submitTallyvane(QAReporter* window);
    virtual void exportDoc(QAReporter* window);
    // Writes the window's content as HTML into dir; true on success.
    virtual bool exportHTML(QAReporter* window, const QString& dir, const QString& indexName,
                            QAIProgressMonitor* progress, QAILogMonitor* log);
};

// Installs the process-wide commands (null removes them) and returns the
// ones installed before.
std::unique_ptr<QAReporterCommands>
installReporterCommands(std::unique_ptr<QAReporterCommands> commands);
// The installed commands, or null.
QAReporterCommands* reporterCommands();

#endif
