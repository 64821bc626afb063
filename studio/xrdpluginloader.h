#ifndef XRDPLUGINLOADER_H
#define XRDPLUGINLOADER_H

#include <QString>
#include <QStringList>

#include <memory>

class QAStViewerPlugin;
class QLibrary;
class QUnknownInterface;

// Loads the viewer plug-in from the first candidate file that exists: checks
// the build key the library declares, makes the plug-in object and asks it
// for its viewer interface. The library stays loaded for the life of the
// process (QLibrary does not unload when it is destroyed): the windows it
// made use its code until the very end. The loader owns the plug-in object.
class XrdPluginLoader
{
public:
    XrdPluginLoader();
    ~XrdPluginLoader();
    XrdPluginLoader(const XrdPluginLoader&) = delete;
    XrdPluginLoader& operator=(const XrdPluginLoader&) = delete;

    // True when the plug-in is loaded from the first candidate that
    // exists; errorString() says why not.
    bool load(const QStringList& candidates);
    // The plug-in the user named: that file and no other.
    bool loadFile(const QString& path);
    QAStViewerPlugin* plugin() const { return m_plugin; }
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // The verification text a plug-in must return, exactly.
    static const char* expectedVerification();
    static bool verificationMatches(const char* text);

private:
    std::unique_ptr<QLibrary> m_library;
    std::unique_ptr<QUnknownInterface> m_object;
    QAStViewerPlugin* m_plugin = nullptr;
    QString m_fileName;
    QString m_error;
};

#endif
