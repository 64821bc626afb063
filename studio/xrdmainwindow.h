#ifndef XRDMAINWINDOW_H
#define XRDMAINWINDOW_H

#include "qastudiowindow.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "xrdpreferencesdialog.h"

class QAStOutputWidget;
class QAStViewerPlugin;

class QAStViewerWindow;
class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabWidget;

class XrdProgressDialog;
class XrdResourceFile;
class XrdSourceView;
class XrdStudio;

// The main window of xrdview: viewer windows as tabs, the active one's
// outline in the outline pane, the output pane, the standard menus that
// call the active window's commands, and the plug-in's own menu while one
// of its windows is active.
class XrdMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    XrdMainWindow(XrdStudio* studio, QAStViewerPlugin* plugin, XrdResourceFile* resources,
                  QWidget* parent = nullptr);
    ~XrdMainWindow() override;

    // Opens the files in one viewer window, or shows the window that has
    // the first of them already.
    QAStViewerWindow* openFiles(const QStringList& files);

    QTabWidget* tabs() const { return m_tabs; }
    // The central area's page: the tabs, or the hint while there is none.
    QWidget* centralPage() const;
    QStackedWidget* outlinePane() const { return m_outline; }
    QAStOutputWidget* outputWidget() const { return m_output; }
    QAStudioWindow* activeWindow() const { return m_active; }
    QStringList recentFiles() const { return m_recentFiles; }
    XrdPreferencesDialog* preferencesDialog() const { return m_preferences; }
    XrdProgressDialog* progress() const { return m_progress; }
    QAction* action(const QString& name) const;

    // The studio's window services.
    int insertPluginMenu(const QString& title, QMenu* menu);
    void removePluginMenu(int id);
    void showOutputPane();
    void progressStart(int totalSteps, const QString& label, const QString& cancelLabel);
    void progressStep(int step);
    void progressEnd();
    void openLocation(const QString& location, int line, bool activate);

    // Writes the plug-ins' resources; false (and a line in the output pane)
    // when the file could not be written.
    bool saveResources();

public slots:
    void showPreferences();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void currentTabChanged(int index);
    void updateActions();
    void openDialog();
    void closeCurrentTab();
    void closeTab(int index);

private:
    void createCentral();
    void updateCentral();
    void createDocks();
    void createMenus();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        QKeySequence::StandardKey key, const char* slot);
    // The paths, in their order, that the window could read.
    static QStringList readFiles(const QAStViewerWindow* window, const QStringList& paths);
    QString tabTitle(const QStringList& files) const;
    void updateRecentMenu();
    void addRecent(const QStringList& files);
    void addTab(QWidget* page, const QString& title, const QString& toolTip);
    void nameTab(QAStViewerWindow* window);
    void keepViewerState();
    void showOutline(QAStudioWindow* window);
    void releaseOutline(QWidget* page);
    void nameToolBars();
    QStringList acceptedFiles(const QList<QUrl>& urls) const;
    void restoreLayout();
    void saveLayout();

    XrdStudio* m_studio;
    QAStViewerPlugin* m_plugin;
    XrdResourceFile* m_resources;
    QStackedWidget* m_central;
    QLabel* m_hint;
    QTabWidget* m_tabs;
    QStackedWidget* m_outline;
    QWidget* m_emptyOutline;
    QAStOutputWidget* m_output;
    QDockWidget* m_outputDock = nullptr;
    XrdProgressDialog* m_progress;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_toolsMenu = nullptr;
    QHash<QString, QAction*> m_actions;
    QHash<int, QAction*> m_pluginMenus;
    int m_lastMenuId = 0;
    QPointer<QAStudioWindow> m_active;
    QPointer<XrdPreferencesDialog> m_preferences;
    QStringList m_recentFiles;
    QByteArray m_savedState; // restored again once the plug-in's toolbar exists
    bool m_toolBarsRestored = false;
    QByteArray m_viewerState; // the panes of the last viewer window, for the next ones
};

#endif
