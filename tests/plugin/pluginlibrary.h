#ifndef PLUGINLIBRARY_H
#define PLUGINLIBRARY_H

#include "qastviewerplugin.h"

#include <QLibrary>

// The viewer plug-in library, loaded as the host loads it: by path, through
// its two exported C functions. Qt keeps one copy of the library per process
// however often it is loaded, so the plug-in's process-wide state outlives
// every object of this class.
class PluginLibrary
{
public:
    PluginLibrary() : m_library(QStringLiteral(XRD_PLUGIN_PATH))
    {
        if (!m_library.load())
            return;
        m_verification = reinterpret_cast<QAPluginVerificationFunction>(
            m_library.resolve("qt_ucm_query_verification_data"));
        m_instantiate =
            reinterpret_cast<QAPluginInstantiateFunction>(m_library.resolve("ucm_instantiate"));
    }

    bool isLoaded() const { return m_verification && m_instantiate; }
    QString errorString() const { return m_library.errorString(); }
    const char* verificationData() const { return m_verification(); }
    QUnknownInterface* instantiate() const { return m_instantiate(); }

    // A new plug-in object as the host reaches it, or null when the object
    // does not answer the viewer plug-in interface. The caller owns it.
    QAStViewerPlugin* createPlugin() const
    {
        QUnknownInterface* object = instantiate();
        QUnknownInterface* iface = nullptr;
        if (!object || !object->queryInterface(IID_QAStViewerPlugin, &iface))
            return nullptr;
        return static_cast<QAStViewerPlugin*>(iface);
    }

private:
    QLibrary m_library;
    QAPluginVerificationFunction m_verification = nullptr;
    QAPluginInstantiateFunction m_instantiate = nullptr;
};

#endif
