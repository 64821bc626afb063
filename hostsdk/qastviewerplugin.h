#ifndef QASTVIEWERPLUGIN_H
#define QASTVIEWERPLUGIN_H

#include "qunknowninterface.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class PreferenceItem;
class QAILogMonitor;
class QAIProgressMonitor;
class QARes;
class QAStReportSession;
class QAStViewerWindow;
class QToolBar;
class QWidget;

// Interface id under which a viewer plug-in answers queryInterface.
#define IID_QAStViewerPlugin QUuid("{5b0f8c3e-2a8d-4c57-9a1e-6f3d2b7c9e41}")

// A viewer plug-in as the host sees it: the host loads the plug-in's shared
// library, calls its exported ucm_instantiate() for the object's
// QUnknownInterface, asks that for this interface, initialises the plug-in
// once with its application interface and saved resources, and then asks it
// to open files in viewer windows.
class QAStViewerPlugin : public QObject, public QUnknownInterface
{
    Q_OBJECT

public:
    QAStViewerPlugin();
    ~QAStViewerPlugin() override;

    // The object's entry for the host.
    QUnknownInterface* iface() { return this; }
    // Answers IID_QAStViewerPlugin with this object.
    bool queryInterface(const QUuid& id, QUnknownInterface** iface) override;

    virtual QString name() const;
    virtual QString description() const;
    virtual QString author() const;
    virtual QString version() const;
    virtual void initialize(QUnknownInterface* host, QARes* resources) = 0;
    // File name patterns the plug-in opens ("*.xrd").
    virtual QStringList accept() = 0;
    // File dialog filters ("Report (*.xrd)").
    virtual QStringList filters() = 0;
    virtual QAStViewerWindow* create(QStringList& files, bool activateDisplay, QWidget* parent,
                                     const char* name) = 0;
    virtual QAStViewerWindow* create(QStringList& files, QWidget* parent, const char* name) = 0;
    virtual void exportHTML(const QString& dir, const QString& indexName,
                            QAIProgressMonitor* progress, QAILogMonitor* log) = 0;
    // A report session without widgets, for a host's command line; null
    // by default, and until the plug-in is initialised.
    virtual std::unique_ptr<QAStReportSession> createSession();
    // The open window that shows file; null by default.
    virtual QAStViewerWindow* openedWindow(const QString& file);
    // Ties a signal of the host's preferences dialog to the plug-in.
    virtual void connectAccepted(QObject* sender, const char* signal) = 0;
    virtual void connectRejected(QObject* sender, const char* signal) = 0;
    // The first of the plug-in's preference pages (the others are its
    // children and siblings); null by default.
    virtual PreferenceItem* preferenceSettings();
    virtual QString pluginName() = 0;
    virtual QString pluginIcon() = 0;
    virtual QString pluginDescription() = 0;
    virtual QString pluginCompanyName() = 0;
    virtual QString pluginCompanyIcon() = 0;
    virtual QString pluginCompanyDescription() = 0;
    virtual QString pluginCopyRight() = 0;
    virtual QString pluginVersion() = 0;
    virtual QDate pluginCreation() = 0;
};

// What a plug-in library exports, with C linkage: the text the host checks
// before it instantiates, and the function that makes a plug-in object.
extern "C" {
typedef const char* (*QAPluginVerificationFunction)();
typedef QUnknownInterface* (*QAPluginInstantiateFunction)();
}

#endif
