#include "xrdmainwindow.h"

#include "preferenceitem.h"
#include "qafreedmemory.h"
#include "qastoutputwidget.h"
#include "qastviewerplugin.h"
#include "qastviewerwindow.h"
#include "xrdpreferencesdialog.h"
#include "xrdprogressdialog.h"
#include "xrdrecentfiles.h"
#include "xrdresourcefile.h"
#include "xrdsourcelocation.h"
#include "xrdsourceview.h"
#include "xrdstudio.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include <memory>

namespace {

// The window layout and the recent files, beside the resources file.
std::unique_ptr<QSettings> layoutSettings()
{
    return std::make_unique<QSettings>(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
            QStringLiteral("/xrdview.conf"),
        QSettings::IniFormat);
}

QAStViewerWindow* viewerWindow(QWidget* page)
{
    return qobject_cast<QAStViewerWindow*>(page);
}

} // namespace

XrdMainWindow::XrdMainWindow(XrdStudio* studio, QAStViewerPlugin* plugin,
                             XrdResourceFile* resources, QWidget* parent)
    : QMainWindow(parent), m_studio(studio), m_plugin(plugin), m_resources(resources),
      m_central(new QStackedWidget), m_hint(new QLabel), m_tabs(new QTabWidget),
      m_outline(new QStackedWidget), m_emptyOutline(new QLabel), m_output(new QAStOutputWidget),
      m_progress(new XrdProgressDialog(this))
{
    setObjectName(QStringLiteral("xrdview-main"));
    setWindowTitle(QStringLiteral("xrdview"));
    setAcceptDrops(true);
    createCentral();
    createDocks();
    createMenus();
    statusBar();
    connect(m_tabs, &QTabWidget::currentChanged, this, &XrdMainWindow::currentTabChanged);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, &XrdMainWindow::closeTab);
    connect(m_progress, &XrdProgressDialog::canceled, this, [this](const QString& label) {
        m_output->append(tr("%1: cancelled. The report is still read to its end, since "
                            "the reader cannot stop in the middle of a file; the progress "
                            "is no longer shown.\n")
                             .arg(label));
    });
    m_studio->setMainWindow(this);
    restoreLayout();
    updateCentral();
    updateActions();
}

XrdMainWindow::~XrdMainWindow()
{
    // The viewer windows go first, while the main window they may still
    // talk to (toolbar, menus) is whole.
    if (m_active) {
        if (viewerWindow(m_active))
            m_active->desactivated();
        m_active = nullptr;
    }
    while (m_tabs->count() > 0) {
        QWidget* page = m_tabs->widget(0);
        disconnect(page, nullptr, this, nullptr);
        releaseOutline(page);
        m_tabs->removeTab(0);
        delete page;
    }
    m_studio->setMainWindow(nullptr);
}

void XrdMainWindow::createCentral()
{
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    // Without a tab the window says how to get one; drops on the hint reach
    // the main window, as the label takes none.
    m_hint->setObjectName(QStringLiteral("openHint"));
    m_hint->setText(tr("Open a report with File > Open (%1) or drop files here.")
                        .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_hint->setEnabled(false);
    m_central->addWidget(m_hint);
    m_central->addWidget(m_tabs);
    setCentralWidget(m_central);
}

void XrdMainWindow::updateCentral()
{
    m_central->setCurrentWidget(m_tabs->count() > 0 ? static_cast<QWidget*>(m_tabs) : m_hint);
}

QWidget* XrdMainWindow::centralPage() const
{
    return m_central->currentWidget();
}

void XrdMainWindow::createDocks()
{
    m_emptyOutline->setObjectName(QStringLiteral("emptyOutline"));
    m_outline->addWidget(m_emptyOutline);
    auto* outlineDock = new QDockWidget(tr("Outline"), this);
    outlineDock->setObjectName(QStringLiteral("outlineDock"));
    outlineDock->setWidget(m_outline);
    addDockWidget(Qt::LeftDockWidgetArea, outlineDock);

    m_outputDock = new QDockWidget(tr("Output"), this);
    m_outputDock->setObjectName(QStringLiteral("outputDock"));
    m_outputDock->setWidget(m_output);
    addDockWidget(Qt::BottomDockWidgetArea, m_outputDock);
    resizeDocks({outlineDock}, {280}, Qt::Horizontal);
    resizeDocks({m_outputDock}, {110}, Qt::Vertical);
}

QAction* XrdMainWindow::addCommand(QMenu* menu, const QString& name, const QString& text,
                                   QKeySequence::StandardKey key, const char* slot)
{
    QAction* command = menu->addAction(text);
    command->setObjectName(name);
    if (key != QKeySequence::UnknownKey)
        command->setShortcuts(key);
    m_actions.insert(name, command);
    // The window commands are the active window's virtual slots, called by
    // name so that any window class answers them.
    connect(command, &QAction::triggered, this, [this, slot, name] {
        if (!m_active)
            return;
        if (name == QLatin1String("find"))
            QMetaObject::invokeMethod(m_active, "find", Q_ARG(QString, QString()));
        else
            QMetaObject::invokeMethod(m_active, slot);
    });
    return command;
}

void XrdMainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open..."), this, &XrdMainWindow::openDialog);
    open->setShortcuts(QKeySequence::Open);
    m_actions.insert(QStringLiteral("open"), open);
    m_recentMenu = file->addMenu(tr("Open &Recent"));
    addCommand(file, QStringLiteral("reload"), tr("Re&load"), QKeySequence::Refresh, "reload");
    addCommand(file, QStringLiteral("compareWith"), tr("Co&mpare With..."),
               QKeySequence::UnknownKey, "compareWith");
    file->addSeparator();
    addCommand(file, QStringLiteral("saveAs"), tr("Save &As..."), QKeySequence::SaveAs, "saveAs");
    addCommand(file, QStringLiteral("exportHtml"), tr("&Export HTML..."), QKeySequence::UnknownKey,
               "exportDoc");
    addCommand(file, QStringLiteral("print"), tr("&Print..."), QKeySequence::Print, "print");
    file->addSeparator();
    QAction* close = file->addAction(tr("&Close"), this, &XrdMainWindow::closeCurrentTab);
    close->setShortcuts(QKeySequence::Close);
    m_actions.insert(QStringLiteral("close"), close);
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcuts(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    m_actions.insert(QStringLiteral("quit"), quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    addCommand(edit, QStringLiteral("copy"), tr("&Copy"), QKeySequence::Copy, "copy");
    addCommand(edit, QStringLiteral("find"), tr("&Find..."), QKeySequence::Find, "find");
    addCommand(edit, QStringLiteral("findNext"), tr("Find &Next"), QKeySequence::FindNext,
               "findNext");
    addCommand(edit, QStringLiteral("findPrevious"), tr("Find Pre&vious"),
               QKeySequence::FindPrevious, "findPrevious");

    m_toolsMenu = menuBar()->addMenu(tr("&Tools"));
    QAction* preferences =
        m_toolsMenu->addAction(tr("&Preferences..."), this, &XrdMainWindow::showPreferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    m_actions.insert(QStringLiteral("preferences"), preferences);
    // The plug-in makes its pages when it is initialised, after the menus
    // exist: whether there are any is asked each time the menu opens.
    connect(m_toolsMenu, &QMenu::aboutToShow, this, &XrdMainWindow::updateActions);
    QMenu* view = m_toolsMenu->addMenu(tr("Pa&nes"));
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        view->addAction(dock->toggleViewAction());

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("&About"), this, &XrdMainWindow::showAbout);
    about->setMenuRole(QAction::AboutRole);
    m_actions.insert(QStringLiteral("about"), about);
    updateRecentMenu();
}

QAction* XrdMainWindow::action(const QString& name) const
{
    return m_actions.value(name);
}

void XrdMainWindow::updateActions()
{
    QAStudioWindow* window = m_active;
    auto enable = [this](const char* name, bool on) {
        if (QAction* command = m_actions.value(QLatin1String(name)))
            command->setEnabled(on);
    };
    // Every viewer window can read its files again (reloadFiles() is part
    // of the window interface), even one that does not claim canReload().
    const QAStViewerWindow* viewer = viewerWindow(window);
    enable("reload", viewer && (viewer->canReload() || !viewer->files().isEmpty()));
    enable("compareWith", viewer && !viewer->files().isEmpty() &&
                              viewer->metaObject()->indexOfSlot("compareWith()") >= 0);
    enable("saveAs", window && window->canSaveAs());
    enable("exportHtml", window && (window->canExportHTML() || window->canExport()));
    enable("print", window && window->canPrint());
    enable("copy", window && window->canCopy());
    enable("find", window && window->canFind());
    enable("findNext", window && window->canFind());
    enable("findPrevious", window && window->canFind());
    enable("close", m_tabs->count() > 0);
    enable("preferences", m_plugin->preferenceSettings() != nullptr);
}

QAStViewerWindow* XrdMainWindow::openFiles(const QStringList& files)
{
    if (files.isEmpty())
        return nullptr;
    QStringList paths;
    for (const QString& file : files)
        paths << QFileInfo(file).absoluteFilePath();
    if (QAStViewerWindow* shown = m_plugin->openedWindow(paths.first())) {
        const int index = m_tabs->indexOf(shown);
        if (index >= 0) {
            addRecent(readFiles(shown, paths));
            m_tabs->setCurrentIndex(index);
            return shown;
        }
    }
    QAStViewerWindow* window = m_plugin->create(paths, true, m_tabs, "xrdview-viewer");
    if (!window)
        return nullptr;
    // Files the window could not read (it has said so) are neither counted
    // in the tab's name nor kept as recent files.
    const QStringList read = readFiles(window, paths);
    addRecent(read);
    connect(window, &QAStudioWindow::stateChanged, this, &XrdMainWindow::updateActions);
    // A window that shows other files (a link followed) says so with its
    // caption: the tab follows.
    connect(window, &QAStudioWindow::captionChanged, this, [this, window] { nameTab(window); });
    window->restoreViewState(m_viewerState);
    addTab(window, QString(), QString());
    nameTab(window);
    nameToolBars();
    return window;
}

// Tabs are named after the files the window read (the first one asked for
// when it read none): the viewer's own captions are numbered.
void XrdMainWindow::nameTab(QAStViewerWindow* window)
{
    const int index = m_tabs->indexOf(window);
    const QStringList read = window->loadedFiles();
    const QStringList named = read.isEmpty() ? window->files().mid(0, 1) : read;
    if (index < 0 || named.isEmpty())
        return;
    const QString title = tabTitle(named);
    m_tabs->setTabText(index, title);
    m_tabs->setTabToolTip(index, named.join(QLatin1Char('\n')));
    if (index == m_tabs->currentIndex())
        setWindowTitle(title + QStringLiteral(" \u2014 xrdview"));
}

QStringList XrdMainWindow::readFiles(const QAStViewerWindow* window, const QStringList& paths)
{
    const QStringList loaded = window->loadedFiles();
    QStringList read;
    for (const QString& path : paths) {
        if (loaded.contains(path))
            read << path;
    }
    return read;
}

QString XrdMainWindow::tabTitle(const QStringList& files) const
{
    QString title = QFileInfo(files.value(0)).fileName();
    if (files.size() > 1)
        title += tr(" (+%n)", nullptr, int(files.size()) - 1);
    return title;
}

void XrdMainWindow::addTab(QWidget* page, const QString& title, const QString& toolTip)
{
    // Viewer windows are main windows, made top-level by Qt: inside a tab
    // they must be plain widgets.
    page->setWindowFlags(Qt::Widget);
    const int index = m_tabs->addTab(page, page->windowIcon(), title);
    m_tabs->setTabToolTip(index, toolTip);
    m_tabs->setCurrentIndex(index);
}

void XrdMainWindow::currentTabChanged(int index)
{
    setWindowTitle(index < 0 ? QStringLiteral("xrdview")
                             : m_tabs->tabText(index) + QStringLiteral(" \u2014 xrdview"));
    updateCentral();
    QAStudioWindow* next = qobject_cast<QAStudioWindow*>(m_tabs->widget(index));
    if (next == m_active)
        return;
    keepViewerState();
    if (m_active)
        m_active->desactivated();
    m_active = next;
    if (m_active)
        m_active->activated();
    showOutline(m_active);
    updateActions();
}

void XrdMainWindow::showOutline(QAStudioWindow* window)
{
    QWidget* outline =
        window && window->hasContentOutline() ? window->contentOutlineWidget() : nullptr;
    if (!outline) {
        m_outline->setCurrentWidget(m_emptyOutline);
        return;
    }
    if (m_outline->indexOf(outline) < 0)
        m_outline->addWidget(outline);
    m_outline->setCurrentWidget(outline);
}

void XrdMainWindow::releaseOutline(QWidget* page)
{
    // The outline pane only shows the widget: it goes back to its window,
    // which deletes it.
    auto* window = qobject_cast<QAStudioWindow*>(page);
    QWidget* outline = window ? window->contentOutlineWidget() : nullptr;
    if (!outline || m_outline->indexOf(outline) < 0)
        return;
    m_outline->removeWidget(outline);
    outline->hide();
    outline->setParent(nullptr);
}

void XrdMainWindow::closeCurrentTab()
{
    closeTab(m_tabs->currentIndex());
}

void XrdMainWindow::closeTab(int index)
{
    QWidget* page = m_tabs->widget(index);
    if (!page)
        return;
    if (page == m_active) {
        keepViewerState();
        m_active->desactivated();
        m_active = nullptr;
    }
    m_tabs->removeTab(index);
    // Deleted once control is back in the event loop (a command of the
    // window may have asked for this); until then it belongs to no one
    // here.
    disconnect(page, nullptr, this, nullptr);
    releaseOutline(page);
    page->setParent(nullptr);
    // A report can hold gigabytes, which the allocator returns to the system
    // only later, as other allocations come: what is free goes back at once
    // when the page and its children are deleted (destroyed() comes before
    // the children go).
    connect(page, &QObject::destroyed, qApp, [] {
        QMetaObject::invokeMethod(qApp, &QAFreedMemory::giveBack, Qt::QueuedConnection);
    });
    page->deleteLater();
    currentTabChanged(m_tabs->currentIndex());
}

int XrdMainWindow::insertPluginMenu(const QString& title, QMenu* menu)
{
    if (!menu)
        return -1;
    if (menu->title().isEmpty())
        menu->setTitle(title);
    QAction* entry = menuBar()->insertMenu(m_toolsMenu->menuAction(), menu);
    m_pluginMenus.insert(++m_lastMenuId, entry);
    return m_lastMenuId;
}

void XrdMainWindow::removePluginMenu(int id)
{
    if (QAction* entry = m_pluginMenus.take(id))
        menuBar()->removeAction(entry);
}

void XrdMainWindow::showOutputPane()
{
    m_outputDock->show();
    m_outputDock->raise();
}

void XrdMainWindow::progressStart(int totalSteps, const QString& label, const QString& cancelLabel)
{
    m_progress->start(totalSteps, label, cancelLabel);
}

void XrdMainWindow::progressStep(int step)
{
    m_progress->step(step);
}

void XrdMainWindow::progressEnd()
{
    m_progress->end();
}

void XrdMainWindow::openLocation(const QString& location, int line, bool activate)
{
    const XrdSourceLocation source = XrdSourceLocation::parse(location, line);
    const QString path = QFileInfo(source.file).absoluteFilePath();
    XrdSourceView* view = nullptr;
    for (int i = 0; i < m_tabs->count() && !view; ++i) {
        auto* candidate = qobject_cast<XrdSourceView*>(m_tabs->widget(i));
        if (candidate && candidate->path() == path)
            view = candidate;
    }
    if (!view) {
        auto created = std::make_unique<XrdSourceView>();
        if (source.file.isEmpty() || !QFileInfo(path).isFile() || !created->load(path)) {
            m_output->append(tr("Source file not found: %1\n").arg(source.file));
            showOutputPane();
            return;
        }
        view = created.release();
        const int current = m_tabs->currentIndex();
        addTab(view, QFileInfo(path).fileName(), path);
        if (!activate)
            m_tabs->setCurrentIndex(current);
    } else if (activate) {
        m_tabs->setCurrentWidget(view);
    }
    view->showLine(source.line);
}

bool XrdMainWindow::saveResources()
{
    if (m_resources->write(m_studio->producers()))
        return true;
    m_output->append(tr("The settings could not be saved to %1: %2\n")
                         .arg(m_resources->path(), m_resources->errorString()));
    return false;
}

void XrdMainWindow::showPreferences()
{
    if (m_preferences) {
        m_preferences->raise();
        return;
    }
    if (!m_plugin->preferenceSettings())
        return;
    auto* dialog = new XrdPreferencesDialog(m_plugin->preferenceSettings(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_plugin->connectAccepted(dialog, SIGNAL(accepted()));
    m_plugin->connectRejected(dialog, SIGNAL(rejected()));
    connect(dialog, &QDialog::accepted, this, &XrdMainWindow::saveResources);
    m_preferences = dialog;
    dialog->open();
}

void XrdMainWindow::showAbout()
{
    QAStViewerPlugin* p = m_plugin;
    const QString text =
        tr("<h3>xrdview %1</h3><p>A viewer for XROD test reports.</p>"
           "<p><b>%2</b> %3<br>%4</p><p>%5<br>%6</p><p>%7</p><p>Qt %8</p>")
            .arg(QCoreApplication::applicationVersion(), p->pluginName().toHtmlEscaped(),
                 p->pluginVersion().toHtmlEscaped(), p->pluginDescription().toHtmlEscaped(),
                 p->pluginCompanyName().toHtmlEscaped(),
                 p->pluginCompanyDescription().toHtmlEscaped(),
                 p->pluginCopyRight().toHtmlEscaped(), QString::fromLatin1(qVersion()));
    QMessageBox::about(this, tr("About xrdview"), text);
}

QStringList XrdMainWindow::acceptedFiles(const QList<QUrl>& urls) const
{
    QList<QRegularExpression> patterns;
    for (const QString& pattern : m_plugin->accept())
        patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern));
    QStringList files;
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        const QString name = QFileInfo(path).fileName();
        if (path.isEmpty())
            continue;
        if (std::any_of(patterns.cbegin(), patterns.cend(), [&name](const QRegularExpression& re) {
                return re.match(name).hasMatch();
            }))
            files << path;
    }
    return files;
}

void XrdMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !acceptedFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void XrdMainWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = acceptedFiles(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openFiles(files);
}

void XrdMainWindow::openDialog()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Open Reports"), QString(),
        (m_plugin->filters() << tr("All files (*)")).join(QStringLiteral(";;")));
    openFiles(files);
}

void XrdMainWindow::addRecent(const QStringList& files)
{
    XrdRecentFiles recent(m_recentFiles);
    for (auto it = files.crbegin(); it != files.crend(); ++it)
        recent.add(*it);
    m_recentFiles = recent.files();
    updateRecentMenu();
}

void XrdMainWindow::updateRecentMenu()
{
    m_recentMenu->clear();
    for (const QString& file : std::as_const(m_recentFiles)) {
        QAction* entry = m_recentMenu->addAction(QDir::toNativeSeparators(file));
        connect(entry, &QAction::triggered, this, [this, file] { openFiles({file}); });
    }
    m_recentMenu->setEnabled(!m_recentFiles.isEmpty());
}

void XrdMainWindow::nameToolBars()
{
    // saveState() needs names; the plug-in's toolbar comes without one.
    bool added = false;
    for (QToolBar* bar : findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (bar->objectName().isEmpty()) {
            bar->setObjectName(QStringLiteral("toolbar-") + bar->windowTitle());
            added = true;
        }
    }
    if (added && !m_toolBarsRestored && !m_savedState.isEmpty()) {
        m_toolBarsRestored = true;
        restoreState(m_savedState);
    }
}

void XrdMainWindow::restoreLayout()
{
    const auto settings = layoutSettings();
    m_recentFiles =
        XrdRecentFiles(settings->value(QStringLiteral("recentFiles")).toStringList()).files();
    updateRecentMenu();
    if (!restoreGeometry(settings->value(QStringLiteral("geometry")).toByteArray()))
        resize(1100, 720);
    m_savedState = settings->value(QStringLiteral("state")).toByteArray();
    restoreState(m_savedState);
    m_viewerState = settings->value(QStringLiteral("viewerState")).toByteArray();
}

void XrdMainWindow::keepViewerState()
{
    // The panes of the viewer window used last are those the next windows
    // open with, in this run and the next.
    if (const QAStViewerWindow* viewer = viewerWindow(m_active)) {
        const QByteArray state = viewer->saveViewState();
        if (!state.isEmpty())
            m_viewerState = state;
    }
}

void XrdMainWindow::saveLayout()
{
    nameToolBars();
    const auto settings = layoutSettings();
    settings->setValue(QStringLiteral("geometry"), saveGeometry());
    settings->setValue(QStringLiteral("state"), saveState());
    keepViewerState();
    settings->setValue(QStringLiteral("viewerState"), m_viewerState);
    settings->setValue(QStringLiteral("recentFiles"), m_recentFiles);
}

void XrdMainWindow::closeEvent(QCloseEvent* event)
{
    saveLayout();
    saveResources();
    event->accept();
}
