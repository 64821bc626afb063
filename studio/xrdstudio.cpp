#include "xrdstudio.h"

#include "qadefectformdialog.h"
#include "qafolderdefecttracker.h"
#include "qastoutputwidget.h"
#include "xrdmainwindow.h"
#include "xrdsourcelocation.h"

#include <QFileInfo>
#include <QStandardPaths>

XrdStudio::XrdStudio(const XrdInstallPaths& paths) : m_paths(paths) {}

XrdStudio::~XrdStudio() = default;

void XrdStudio::setMainWindow(XrdMainWindow* window)
{
    m_window = window;
}

bool XrdStudio::queryInterface(const QUuid& id, QUnknownInterface** iface)
{
    *iface = id == IID_QAStudioInterface ? static_cast<QUnknownInterface*>(this) : nullptr;
    return *iface != nullptr;
}

QMainWindow* XrdStudio::mainWindow() const
{
    return m_window;
}

QAILogMonitor* XrdStudio::logMonitor() const
{
    if (m_window)
        return m_window->outputWidget();
    return &m_console;
}

QAStOutputWidget* XrdStudio::outputWidget() const
{
    return m_window ? m_window->outputWidget() : nullptr;
}

void XrdStudio::showOutputWidget(QAStOutputWidget*)
{
    if (m_window)
        m_window->showOutputPane();
}

QString XrdStudio::homeDir() const
{
    return m_paths.homeDir();
}

TallyvaneInterface* XrdStudio::defectTracker() const
{
    if (!m_defectTracker) {
        m_defectTracker = std::make_unique<QAFolderDefectTracker>(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                QStringLiteral("/defects"),
            qEnvironmentVariable("XRD_DEFECT_COMMAND"));
        // In the window the user sees the defect once more before it is
        // filed; a command-line run files it as it comes.
        if (QMainWindow* window = mainWindow()) {
            m_defectTracker->setEditor(
                [window](QString& headline, QString& description, const QString& attachment) {
                    return QADefectFormDialog::edit(window, headline, description, attachment);
                });
        }
    }
    return m_defectTracker.get();
}

QString XrdStudio::configDirectory() const
{
    return m_paths.configDirectory();
}

QString XrdStudio::pixmapDirectory() const
{
    return m_paths.pixmapDirectory();
}

void XrdStudio::progressStart(int totalSteps, const QString& label, const QString& cancelLabel)
{
    if (m_window)
        m_window->progressStart(totalSteps, label, cancelLabel);
}

void XrdStudio::progressStep(int step)
{
    if (m_window)
        m_window->progressStep(step);
}

void XrdStudio::progressEnd()
{
    if (m_window)
        m_window->progressEnd();
}

void XrdStudio::openLocation(const QString& location, int line, bool activate)
{
    if (m_window) {
        m_window->openLocation(location, line, activate);
        return;
    }
    const XrdSourceLocation source = XrdSourceLocation::parse(location, line);
    m_console.log(QFileInfo::exists(source.file)
                      ? QStringLiteral("%1:%2").arg(source.file).arg(source.line)
                      : XrdMainWindow::tr("Source file not found: %1").arg(source.file));
}

void XrdStudio::addResProducer(QAResProducer* producer)
{
    if (producer && !m_producers.contains(producer))
        m_producers.append(producer);
}

int XrdStudio::insertMenu(const QString& title, QMenu* menu)
{
    return m_window ? m_window->insertPluginMenu(title, menu) : -1;
}

void XrdStudio::removeMenu(int id)
{
    if (m_window)
        m_window->removePluginMenu(id);
}

QString XrdStudio::productName() const
{
    return QStringLiteral("xrdview");
}
