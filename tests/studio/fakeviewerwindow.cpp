#include "fakeviewerwindow.h"

#include "qastudiointerface.h"

#include <QFileInfo>
#include <QMenu>

#include <memory>
#include <vector>

namespace {

// Memory held as a report's objects are, in many small blocks, by a child
// of the window: it goes when the window's children do.
class Ballast : public QObject
{
public:
    Ballast(qint64 bytes, QObject* parent) : QObject(parent)
    {
        for (qint64 made = 0; made < bytes; made += BlockSize) {
            m_blocks.emplace_back(new char[BlockSize]);
            m_blocks.back()[0] = 1; // touched, so that it is resident
        }
    }

private:
    static const int BlockSize = 96;
    std::vector<std::unique_ptr<char[]>> m_blocks;
};

} // namespace

FakeViewerWindow::FakeViewerWindow(QAStudioInterface* host, const QStringList& files,
                                   QWidget* parent)
    : QAStViewerWindow(parent), m_host(host), m_outline(new QLabel),
      m_menu(new QMenu(QStringLiteral("&Commands"), this))
{
    QStringList list = files;
    setFiles(&list, nullptr, Interactive);
    m_menu->setObjectName("menu of " + QFileInfo(files.value(0)).fileName());
    m_menu->addAction(QStringLiteral("&Next Failed"));
    if (files.value(0).contains("/ballast"))
        new Ballast(200 << 20, this);
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
