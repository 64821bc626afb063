#include "qastreporterplugin.h"

#include "qapixmapcenter.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterexportcommands.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qaresgroup.h"
#include "qartoolbar.h"
#include "qastreportersession.h"
#include "qastudiointerface.h"

namespace {

// Set by the first initialize() that reaches a host; never cleared.
bool initialised = false;

QAStudioInterface* studioInterface(QUnknownInterface* host)
{
    if (!host)
        return nullptr;
    QUnknownInterface* iface = nullptr;
    host->queryInterface(IID_QAStudioInterface, &iface);
    return static_cast<QAStudioInterface*>(iface);
}

// The "REPORTER" group among the children of a resource group, if any.
QARes* reporterResources(QARes* resources)
{
    const QAResGroup* group = resources ? resources->toResGroup() : nullptr;
    if (!group || !group->child())
        return nullptr;
    return group->child()->search("REPORTER", '.');
}

} // namespace

QAStReporterPlugin::QAStReporterPlugin() = default;

QAStReporterPlugin::~QAStReporterPlugin() = default;

QString QAStReporterPlugin::name() const
{
    return QStringLiteral("Reporter");
}

QString QAStReporterPlugin::description() const
{
    return tr("The Reporter", "Reporter Plugin Description");
}

QString QAStReporterPlugin::author() const
{
    return tr("Pelorin Vantrel", "Reporter Plugin Author");
}

QString QAStReporterPlugin::version() const
{
    return tr("Version 1.0.0", "Reporter Plugin Version");
}

void QAStReporterPlugin::initialize(QUnknownInterface* host, QARes* resources)
{
    QAStudioInterface* studio = studioInterface(host);
    if (initialised || !studio)
        return;
    if (QARToolBar* toolBar = reporterToolBar(studio))
        toolBar->show();
    QAReporterPref* preferences = createReporterPreferences(studio);
    if (QARes* saved = reporterResources(resources))
        preferences->loadResources(saved);
    studio->addResProducer(preferences);
    installReporterCommands(std::make_unique<QAReporterExportCommands>());
    initialised = true;
}

QStringList QAStReporterPlugin::accept()
{
    return {QStringLiteral("*.xrd"), QStringLiteral("*.xml"), QStringLiteral("*.trx"),
            QStringLiteral("*.tap")};
}

QStringList QAStReporterPlugin::filters()
{
    // Other tools' results are told apart by their content, not by these
    // extensions: the patterns only pick the files a dialog shows.
    return {tr("Report", "Reporter Plugin Extended Filters") + QStringLiteral(" (*.xrd)"),
            tr("Test results", "Reporter Plugin Extended Filters") +
                QStringLiteral(" (*.xml *.trx *.tap)")};
}

QAStViewerWindow* QAStReporterPlugin::create(QStringList& files, bool activateDisplay,
                                             QWidget* parent, const char* name)
{
    if (!initialised)
        return nullptr;
    auto* window = new QAReporter(tr("Test Report", "Test Report Window Title"),
                                  GETPIX("reporter_xpm", ":/pixmaps/reporter.xpm"), parent, {},
                                  activateDisplay);
    if (name)
        window->setObjectName(QString::fromLatin1(name));
    if (!files.isEmpty())
        window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

QAStViewerWindow* QAStReporterPlugin::create(QStringList& files, QWidget* parent, const char* name)
{
    return create(files, true, parent, name);
}

void QAStReporterPlugin::exportHTML(const QString&, const QString&, QAIProgressMonitor*,
                                    QAILogMonitor*)
{
}

std::unique_ptr<QAStReportSession> QAStReporterPlugin::createSession()
{
    const QAReporterPref* preferences = reporterPreferences();
    if (!initialised || !preferences)
        return nullptr;
    return std::make_unique<QAStReporterSession>(preferences->studio());
}

QAStViewerWindow* QAStReporterPlugin::openedWindow(const QString& file)
{
    if (!initialised)
        return nullptr;
    for (QAReporter* window : std::as_const(reporterWindows())) {
        for (const QAReporterData* record : window->records()) {
            if (record->fileName == file)
                return window;
        }
    }
    return nullptr;
}

void QAStReporterPlugin::connectAccepted(QObject* sender, const char* signal)
{
    if (QAReporterPref* preferences = reporterPreferences())
        connect(sender, signal, preferences, SLOT(prefDialogAccepted()));
}

void QAStReporterPlugin::connectRejected(QObject* sender, const char* signal)
{
    if (QAReporterPref* preferences = reporterPreferences())
        connect(sender, signal, preferences, SLOT(prefDialogRejected()));
}

PreferenceItem* QAStReporterPlugin::preferenceSettings()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->general() : nullptr;
}

QString QAStReporterPlugin::pluginName()
{
    return tr("Pelorin Vantrel Halvora Report Viewer", "Plugin Name");
}

QString QAStReporterPlugin::pluginIcon()
{
    return QString();
}

QString QAStReporterPlugin::pluginDescription()
{
    return tr("Pelorin Vantrel Halvora Report Viewer Description", "Plugin Description");
}

QString QAStReporterPlugin::pluginCompanyName()
{
    return tr("Pelorin Vantrel", "Plugin Company Name");
}

QString QAStReporterPlugin::pluginCompanyIcon()
{
    return QStringLiteral("logo_90x90.xpm");
}

QString QAStReporterPlugin::pluginCompanyDescription()
{
    return tr("Halvora and Pelorin Vantrel are trademarks of Pelorin Vantrel.",
              "Plugin Company Description");
}

QString QAStReporterPlugin::pluginCopyRight()
{
    return tr("Pelorin Vantrel: test reports made readable.", "Plugin CopyRight");
}

QString QAStReporterPlugin::pluginVersion()
{
    return tr("Version 1.1.0", "Plugin Version");
}

QDate QAStReporterPlugin::pluginCreation()
{
    return QDate::currentDate();
}

QList<QToolBar*> QAStReporterPlugin::toolbars()
{
    return {};
}
