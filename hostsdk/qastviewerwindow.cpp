#include "qastviewerwindow.h"

#include "qafilewatcher.h"

QAStViewerWindow::QAStViewerWindow(QWidget* parent, Qt::WindowFlags flags)
    : QAStudioWindow(parent, flags), m_watcher(new QAFileWatcher(this))
{
    connect(m_watcher, &QAFileWatcher::fileChanged, this, &QAStViewerWindow::reloadFile);
}

QAStViewerWindow::~QAStViewerWindow() = default;

void QAStViewerWindow::setFiles(QStringList* files, QStringList* other, ViewerMode mode)
{
    m_files = files ? *files : QStringList();
    m_otherFiles = other ? *other : QStringList();
    m_mode = mode;
    watchFiles();
}

void QAStViewerWindow::setFile(const QString& path)
{
    QStringList files{path};
    setFiles(&files, nullptr, m_mode);
}

void QAStViewerWindow::setAutoReload(bool on)
{
    m_autoReload = on;
    watchFiles();
}

void QAStViewerWindow::setReloadDelay(int milliseconds)
{
    m_watcher->setDelay(milliseconds);
}

void QAStViewerWindow::watchFiles()
{
    if (m_autoReload)
        m_watcher->setFiles(m_files);
    else
        m_watcher->clear();
}

void QAStViewerWindow::setNode(QAStWorkspace* workspace, const QString& testName)
{
    m_node.workspace = workspace;
    m_node.testName = testName;
}

bool QAStViewerWindow::macro(const QString&)
{
    return false;
}

bool QAStViewerWindow::canReload() const
{
    return false;
}

void QAStViewerWindow::setMode(ViewerMode mode)
{
    m_mode = mode;
}

void QAStViewerWindow::setChannel(const QString&) {}

void QAStViewerWindow::setRootName(const QString&) {}

void QAStViewerWindow::setRootIcon(const QPixmap&) {}

void QAStViewerWindow::streamCharReceived(char) {}

void QAStViewerWindow::scrollToTag(const QString&, int, int) {}

bool QAStViewerWindow::writeReport(const QString&, QString* error)
{
    if (error)
        *error = tr("This viewer cannot write its reports to a file.");
    return false;
}

QByteArray QAStViewerWindow::saveViewState() const
{
    return QByteArray();
}

void QAStViewerWindow::restoreViewState(const QByteArray&) {}
