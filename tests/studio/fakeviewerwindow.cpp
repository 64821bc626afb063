#include "fakeviewerwindow.h"

#include "qastudiointerface.h"

#include <QFileInfo>
#include <QMenu>

FakeViewerWindow::FakeViewerWindow(QAStudioInterface* host, const QStringList& files,
                                   QWidget* parent)
    : QAStViewerWindow(parent), m_host(host), m_outline(new QLabel),
      m_menu(new QMenu(QStringLiteral("&Commands"), this))
{
    QStringList list = files;
    setFiles(&list, nullptr, Interactive);
    m_menu->setObjectName("menu of " + QFileInfo(files.value(0)).fileName());
    m_menu->addAction(QStringLiteral("&Next Failed"));
}

QStringList FakeViewerWindow::loadedFiles() const
{
    QStringList read = files();
    read.removeIf([](const QString& file) { return file.contains("/unreadable"); });
    return read;
}

void FakeViewerWindow::activated()
{
    QAStViewerWindow::activated();
    record("activated");
    m_menuId = m_host->insertMenu(QString(), m_menu);
}

void FakeViewerWindow::desactivated()
{
    QAStViewerWindow::desactivated();
    record("desactivated");
    m_host->removeMenu(m_menuId);
}
