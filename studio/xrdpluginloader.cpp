#include "xrdpluginloader.h"

#include "qastviewerplugin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <cstring>

XrdPluginLoader::XrdPluginLoader() = default;

XrdPluginLoader::~XrdPluginLoader() = default;

const char* XrdPluginLoader::expectedVerification()
{
    return "pattern=QT_UCM_VERIFICATION_DATA\nversion=3.3.8\nflags=11\nbuildkey=unspecified";
}

bool XrdPluginLoader::verificationMatches(const char* text)
{
    return text && std::strcmp(text, expectedVerification()) == 0;
}

bool XrdPluginLoader::load(const QStringList& candidates)
{
    for (const QString& path : candidates) {
        if (QFileInfo::exists(path))
            return loadFile(path);
    }
    m_error =
        QCoreApplication::translate("xrdview", "the viewer plug-in was not found; tried:\n  %1")
            .arg(candidates.join(QStringLiteral("\n  ")));
    return false;
}

bool XrdPluginLoader::loadFile(const QString& path)
{
    const QFileInfo info(path);
    m_fileName = info.absoluteFilePath();
    if (!info.isFile()) {
        const QString reason = info.exists()
                                   ? QCoreApplication::translate("xrdview", "not a file")
                                   : QCoreApplication::translate("xrdview", "no such file");
        m_error = QCoreApplication::translate("xrdview", "cannot load the plug-in %1: %2")
                      .arg(m_fileName, reason);
        return false;
    }
    m_library = std::make_unique<QLibrary>(m_fileName);
    QLibrary* library = m_library.get();
    if (!library->load()) {
        m_error = QCoreApplication::translate("xrdview", "cannot load the plug-in %1: %2")
                      .arg(m_fileName, library->errorString());
        return false;
    }
    const auto verify = reinterpret_cast<QAPluginVerificationFunction>(
        library->resolve("qt_ucm_query_verification_data"));
    const auto instantiate =
        reinterpret_cast<QAPluginInstantiateFunction>(library->resolve("ucm_instantiate"));
    if (!verify || !instantiate) {
        m_error =
            QCoreApplication::translate("xrdview", "%1 is not a viewer plug-in").arg(m_fileName);
        return false;
    }
    if (!verificationMatches(verify())) {
        m_error = QCoreApplication::translate(
                      "xrdview", "the plug-in %1 was built for another host (build key \"%2\")")
                      .arg(m_fileName, QString::fromLatin1(verify()).replace('\n', ' '));
        return false;
    }
    m_object.reset(instantiate());
    QUnknownInterface* viewer = nullptr;
    if (!m_object || !m_object->queryInterface(IID_QAStViewerPlugin, &viewer) || !viewer) {
        m_error = QCoreApplication::translate("xrdview", "the plug-in %1 offers no viewer")
                      .arg(m_fileName);
        return false;
    }
    m_plugin = static_cast<QAStViewerPlugin*>(viewer);
    return true;
}
