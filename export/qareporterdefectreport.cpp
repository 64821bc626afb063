#include "qareporterdefectreport.h"

#include "qareporter.h"
#include "qareporternode.h"
#include "qareporterpref.h"
#include "qarlistviewitem.h"
#include "qastoutputwidget.h"
#include "qastudiointerface.h"
#include "qastworkspace.h"
#include "tallyvaneinterface.h"

#include <QDir>

namespace {

const QString lineEnd = QStringLiteral("\r\n");

QAStudioInterface* studio()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->studio() : nullptr;
}

// The file item at the top of the item's branch.
QTreeWidgetItem* topOf(QTreeWidgetItem* item)
{
    while (item->parent())
        item = item->parent();
    return item;
}

} // namespace

QAReporterDefectReport::QAReporterDefectReport(QAReporter* window) : m_window(window) {}

void QAReporterDefectReport::run()
{
    QAStudioInterface* host = studio();
    if (!host)
        return;
    m_out = host->outputWidget();
    host->showOutputWidget(m_out);
    TallyvaneInterface* client = host->defectTracker();
    if (!client) {
        append(tr("Submit Defect Report Failed ...\n"));
        return;
    }
    append(tr("Submit Defect Report ...\n"));
    QTreeWidgetItem* selected = m_window->selectedTreeItem();
    if (!selected) {
        append(tr("No nodes selected\n"));
        append(tr("Stopped.\n"));
        return;
    }
    QARListViewItem* item = QARListViewItem::cast(selected);
    if (!item || !item->startItem) {
        append(tr("Can't find data\n"));
        append(tr("Stopped.\n"));
        return;
    }
    m_headline = host->productName();
    m_description.clear();
    describe(item);
    const QARListViewItem* top = QARListViewItem::cast(topOf(item));
    const QString attachment =
        top ? QDir::toNativeSeparators(top->fileInfo().absoluteFilePath()) : QString();
    fillForm(client, attachment);
}

// The headline joins the parts with colons; the description gives each
// part a labelled line.
void QAReporterDefectReport::describe(QARListViewItem* item)
{
    const QAStViewerWindow::NodeData& node = m_window->getNode();
    if (!node.testName.isEmpty()) {
        if (node.workspace) {
            m_description += tr("Workspace:  ");
            m_headline += node.workspace->name() + ':';
            m_description += node.workspace->name() + lineEnd;
        }
        m_description += tr("Test:       ");
        m_headline += node.testName + ':';
        m_description += node.testName + lineEnd;
    }
    const QString fileText = topOf(item)->text(0);
    m_description += tr("Report file:  ");
    m_headline += fileText + ':';
    m_description += fileText + lineEnd;
    m_description += tr("Item failed:  ");
    m_headline += item->text(0);
    m_description += item->text(0) + lineEnd;
    m_description += tr("Item type:   ") + (item->node ? item->node->type : QString()) + lineEnd;
}

// Only a form that cannot be opened or shown stops the submission; a part
// the tracker refuses is reported and the rest still goes in.
void QAReporterDefectReport::fillForm(TallyvaneInterface* client, const QString& attachment)
{
    const QString stopped = tr("Stopped.\n");
    const short created = client->createForm();
    appendCmdLine(client);
    if (!created) {
        append(QString::fromLocal8Bit(client->getErrorMessage()) + '\n');
        append(stopped);
        return;
    }
    const auto warnOnFailure = [this, client](short result) {
        appendCmdLine(client);
        if (!result) {
            append(tr("Warning ...\n"));
            append(QString::fromLocal8Bit(client->getErrorMessage()) + '\n');
        }
    };
    warnOnFailure(client->setHeadLine(m_headline.toLocal8Bit().constData()));
    warnOnFailure(client->setDescription(m_description.toLocal8Bit().constData()));
    warnOnFailure(client->addFileAttachment(attachment.toLocal8Bit().constData(),
                                            tr("Report File").toLocal8Bit().constData()));
    const short shown = client->showTallyvaneDefectWindow(0);
    appendCmdLine(client);
    if (!shown) {
        append(QString::fromLocal8Bit(client->getErrorMessage()) + '\n');
        append(stopped);
    }
}

void QAReporterDefectReport::appendCmdLine(TallyvaneInterface* client)
{
    if (client->activatedCmdLine())
        append(QString::fromLocal8Bit(client->getCmdLine()) + '\n');
}

void QAReporterDefectReport::append(const QString& text)
{
    if (m_out)
        m_out->append(text);
}
