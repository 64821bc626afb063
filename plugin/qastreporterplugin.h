#ifndef QASTREPORTERPLUGIN_H
#define QASTREPORTERPLUGIN_H

#include "qastviewerplugin.h"

// The report viewer plug-in: tells the host which files it opens, makes
// viewer windows for them, finds the window that already shows a file and
// hands the host the viewer's preference pages. Its one-time initialisation
// sets up what all viewer windows share: the preferences, the list of open
// windows and the shared toolbar. They live until the process ends.
class QAStReporterPlugin : public QAStViewerPlugin
{
    Q_OBJECT

public:
    QAStReporterPlugin();
    ~QAStReporterPlugin() override;

    QString name() const override;
    QString description() const override;
    QString author() const override;
    QString version() const override;
    // Needs a host that answers with its application interface; without one
    // the plug-in stays uninitialised. Only the first successful call acts.
    void initialize(QUnknownInterface* host, QARes* resources) override;
    QStringList accept() override;
    QStringList filters() override;
    // A new viewer window, showing files when there are any; null until the
    // plug-in is initialised, since a window reads the shared preferences.
    QAStViewerWindow* create(QStringList& files, bool activateDisplay, QWidget* parent,
                             const char* name) override;
    QAStViewerWindow* create(QStringList& files, QWidget* parent, const char* name) override;
    // Batch export belongs to the window.
    void exportHTML(const QString& dir, const QString& indexName, QAIProgressMonitor* progress,
                    QAILogMonitor* log) override;
    // A session without widgets, for the command line; null until the
    // plug-in is initialised.
    std::unique_ptr<QAStReportSession> createSession() override;
    // The first open window, in order of creation, with a report read from
    // exactly this path.
    QAStViewerWindow* openedWindow(const QString& file) override;
    void connectAccepted(QObject* sender, const char* signal) override;
    void connectRejected(QObject* sender, const char* signal) override;
    PreferenceItem* preferenceSettings() override;
    QString pluginName() override;
    QString pluginIcon() override;
    QString pluginDescription() override;
    QString pluginCompanyName() override;
    QString pluginCompanyIcon() override;
    QString pluginCompanyDescription() override;
    QString pluginCopyRight() override;
    QString pluginVersion() override;
    QDate pluginCreation() override;
    // Toolbars the host is to manage for the plug-in: none, the shared
    // toolbar docks itself.
    virtual QList<QToolBar*> toolbars();
};

#endif
