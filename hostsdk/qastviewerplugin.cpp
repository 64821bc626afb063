#include "qastviewerplugin.h"

#include "qastreportsession.h"

QAStViewerPlugin::QAStViewerPlugin() = default;

QAStViewerPlugin::~QAStViewerPlugin() = default;

bool QAStViewerPlugin::queryInterface(const QUuid& id, QUnknownInterface** iface)
{
    *iface = id == IID_QAStViewerPlugin ? static_cast<QUnknownInterface*>(this) : nullptr;
    return *iface != nullptr;
}

QString QAStViewerPlugin::name() const
{
    return QString();
}

QString QAStViewerPlugin::description() const
{
    return QString();
}

QString QAStViewerPlugin::author() const
{
    return QString();
}

QString QAStViewerPlugin::version() const
{
    return QString();
}

QAStViewerWindow* QAStViewerPlugin::openedWindow(const QString&)
{
    return nullptr;
}

PreferenceItem* QAStViewerPlugin::preferenceSettings()
{
    return nullptr;
}

std::unique_ptr<QAStReportSession> QAStViewerPlugin::createSession()
{
    return nullptr;
}
