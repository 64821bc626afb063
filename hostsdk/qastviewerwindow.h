#ifndef QASTVIEWERWINDOW_H
#define QASTVIEWERWINDOW_H

#include "qastudiowindow.h"

#include <QStringList>

class QAFileWatcher;
class QAStWorkspace;

// A window that shows files: it keeps their paths, watches them and emits
// reloadFile() once per change, after the writer has finished (changes that
// come in a burst are merged, and a file replaced by rename is watched again).
class QAStViewerWindow : public QAStudioWindow
{
    Q_OBJECT

public:
    // How the host opened the window. In Batch mode the window writes its
    // results to standard output.
    enum ViewerMode { Interactive = 0, Batch = 5 };

    // The test node the window shows, as the host named it.
    struct NodeData
    {
        QAStWorkspace* workspace = nullptr;
        QString testName;
    };

    explicit QAStViewerWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~QAStViewerWindow() override;

    // Keeps the paths (files; other may be null) and, while automatic
    // reloading is on, watches the files.
    virtual void setFiles(QStringList* files, QStringList* other, ViewerMode mode);
    virtual void setFile(const QString& path);
    QStringList files() const { return m_files; }
    QStringList otherFiles() const { return m_otherFiles; }
    // The files the window could read, among files(): a file that is
    // missing or unreadable is not one of them. All of files() by default.
    virtual QStringList loadedFiles() const { return files(); }
    ViewerMode mode() const { return m_mode; }

    // On by default. Off stops watching; on watches the files again.
    virtual void setAutoReload(bool on);
    bool autoReload() const { return m_autoReload; }
    // Milliseconds a file must stay unchanged before reloadFile() is
    // emitted for it (default 300).
    void setReloadDelay(int milliseconds);

    // Whether the window puts documents on screen; off for windows that only
    // work for a batch run.
    void setActivateDisplay(bool on) { m_activateDisplay = on; }
    bool isActivatedDisplay() const { return m_activateDisplay; }

    const NodeData& getNode() const { return m_node; }
    virtual void setNode(QAStWorkspace* workspace, const QString& testName);

    virtual bool macro(const QString& command);
    virtual bool canReload() const;
    virtual void setMode(ViewerMode mode);
    virtual void setChannel(const QString& channel);
    virtual void setRootName(const QString& name);
    virtual void setRootIcon(const QPixmap& icon);
    virtual void streamCharReceived(char c);
    // Shows the place named tag; line and column locate it in a text.
    virtual void scrollToTag(const QString& tag, int line, int column);
    // Writes the reports the window loaded as one report file at path; on
    // failure the file is left as it was and error (when given) says why.
    // This base window holds no reports: it fails.
    virtual bool writeReport(const QString& path, QString* error);
    // The layout of the window's panes as the user left them, for the host
    // to keep across runs and give to the windows it opens later; the base
    // has none and ignores what it is given.
    virtual QByteArray saveViewState() const;
    virtual void restoreViewState(const QByteArray& state);

signals:
    // A watched file changed on disk (once per burst of changes).
    void reloadFile(const QString& path);

protected:
    NodeData& nodeData() { return m_node; }

private:
    void watchFiles();

    QStringList m_files;
    QStringList m_otherFiles;
    ViewerMode m_mode = Interactive;
    bool m_autoReload = true;
    bool m_activateDisplay = true;
    NodeData m_node;
    QAFileWatcher* m_watcher;
};

#endif
