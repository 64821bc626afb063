#include "fakeviewerwindow.h"

#include "qastudiointerface.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

FakeViewerWindow::FakeViewerWindow(QAStudioInterface* host, const QStringList& files,
                                   QWidget* parent)
    : QAStViewerWindow(parent), m_host(host), m_outline(new QTreeWidget),
      m_menu(new QMenu(QStringLiteral("&Commands"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    QStringList list = files;
    setFiles(&list, nullptr, Interactive);
    setWindowTitle(files.isEmpty() ? QStringLiteral("empty") : QFileInfo(files.first()).fileName());
    m_outline->setObjectName(QStringLiteral("outline of ") + windowTitle());
    for (const QString& file : files)
        new QTreeWidgetItem(m_outline, {QFileInfo(file).fileName()});
    m_menu->setObjectName(QStringLiteral("menu of ") + windowTitle());
    m_menu->addAction(QStringLiteral("Next Failed"));
    setProperty("calls", QStringList());
}

QStringList FakeViewerWindow::loadedFiles() const
{
    QStringList read = files();
    read.removeIf([](const QString& file) {
        return QFileInfo(file).fileName().startsWith(QLatin1String("unreadable"));
    });
    return read;
}

void FakeViewerWindow::activated()
{
    QAStViewerWindow::activated();
    record(QStringLiteral("activated"));
    if (m_host && m_host->mainWindow())
        m_menuId = m_host->insertMenu(windowTitle(), m_menu);
    else
        menuBar()->addMenu(m_menu);
}

void FakeViewerWindow::desactivated()
{
    QAStViewerWindow::desactivated();
    record(QStringLiteral("desactivated"));
    if (m_host && m_menuId != -1)
        m_host->removeMenu(m_menuId);
    m_menuId = -1;
}

void FakeViewerWindow::find(const QString& text)
{
    record(QStringLiteral("find ") + (text.isNull() ? QStringLiteral("<dialog>") : text));
}
