#ifndef XRDSTUDIO_H
#define XRDSTUDIO_H

#include "qastudiointerface.h"
#include "xrdconsolelog.h"
#include "xrdinstallpaths.h"

#include <QList>
#include <QPointer>

#include <memory>

class QAFolderDefectTracker;
class XrdMainWindow;

// The application interface xrdview gives the plug-in. Without a main window
// (command-line runs) there are no menus, no output pane and no progress
// display: logs go to standard error. With one, the window services are
// the main window's.
class XrdStudio : public QAStudioInterface
{
public:
    explicit XrdStudio(const XrdInstallPaths& paths);
    ~XrdStudio() override;

    void setMainWindow(XrdMainWindow* window);
    QList<QAResProducer*> producers() const { return m_producers; }

    bool queryInterface(const QUuid& id, QUnknownInterface** iface) override;
    QMainWindow* mainWindow() const override;
    QAILogMonitor* logMonitor() const override;
    QAStOutputWidget* outputWidget() const override;
    void showOutputWidget(QAStOutputWidget* widget) override;
    QString homeDir() const override;
    QString configDirectory() const override;
    QString pixmapDirectory() const override;
    void progressStart(int totalSteps, const QString& label, const QString& cancelLabel) override;
    void progressStep(int step) override;
    void progressEnd() override;
    void openLocation(const QString& location, int line, bool activate) override;
    void addResProducer(QAResProducer* producer) override;
    int insertMenu(const QString& title, QMenu* menu) override;
    void removeMenu(int id) override;
    // Files defects as folders under the user's data folder ("defects"), or
    // hands them to the command that $XRD_DEFECT_COMMAND names.
    TallyvaneInterface* defectTracker() const override;
    QString productName() const override;

private:
    XrdInstallPaths m_paths;
    QPointer<XrdMainWindow> m_window;
    mutable XrdConsoleLog m_console;
    QList<QAResProducer*> m_producers;
    mutable std::unique_ptr<QAFolderDefectTracker> m_defectTracker;
};

#endif
