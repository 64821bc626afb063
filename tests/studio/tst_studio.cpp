// The host's main window and its services, driven offscreen with the fake
// viewer plug-in (libfakeviewer.so, loaded as the real plug-in is). Each test
// gets its own configuration folder (XDG_CONFIG_HOME), removed afterwards.

#include "files.h"
#include "qaresgroup.h"
#include "qastoutputwidget.h"
#include "qastviewerplugin.h"
#include "qastviewerwindow.h"
#include "xrdinstallpaths.h"
#include "xrdmainwindow.h"
#include "xrdpluginloader.h"
#include "xrdpreferencesdialog.h"
#include "xrdprogressdialog.h"
#include "xrdresourcefile.h"
#include "xrdsourceview.h"
#include "xrdstudio.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

// One start of the program as main() puts it together: the plug-in (the
// fake one unless another is named), the application interface, the saved
// resources and the main window.
struct Session
{
    explicit Session(const QString& pluginFile = FAKE_PLUGIN)
        : paths(QCoreApplication::applicationDirPath(), XRD_SOURCE_DIR "/resources"), studio(paths),
          resourceFile(XrdResourceFile::defaultPath())
    {
        if (!loader.load({pluginFile}))
            qFatal("%s", qPrintable(loader.errorString()));
        resources = resourceFile.read();
        window = std::make_unique<XrdMainWindow>(&studio, plugin(), &resourceFile);
        plugin()->initialize(&studio, resources.get());
    }

    QAStViewerPlugin* plugin() const { return loader.plugin(); }
    QTabWidget* tabs() const { return window->tabs(); }
    QAStViewerWindow* tab(int index) const
    {
        return qobject_cast<QAStViewerWindow*>(tabs()->widget(index));
    }

    // Chooses Tools > Preferences, the menu updating its entries as it
    // opens: the dialog's check box, null when there is no dialog.
    QCheckBox* preferences() const
    {
        QAction* entry = window->action("preferences");
        emit qobject_cast<QMenu*>(entry->associatedObjects().value(0))->aboutToShow();
        entry->trigger();
        const XrdPreferencesDialog* dialog = window->preferencesDialog();
        return dialog ? dialog->findChild<QCheckBox*>("flag") : nullptr;
    }
    void closePreferences(QDialogButtonBox::StandardButton button) const
    {
        window->preferencesDialog()->buttons()->button(button)->click();
    }

    // The menus of the menu bar by object name (the fake windows name
    // theirs "menu of <file>"), else by title.
    QString menus() const
    {
        QStringList titles;
        for (QAction* action : window->menuBar()->actions()) {
            const QString name = action->menu()->objectName();
            titles << (name.isEmpty() ? action->text() : name);
        }
        return titles.join(", ");
    }

    XrdInstallPaths paths;
    XrdStudio studio;
    XrdPluginLoader loader;
    XrdResourceFile resourceFile;
    std::unique_ptr<QAResGroup> resources;
    std::unique_ptr<XrdMainWindow> window;
};

QStringList calls(QObject* window)
{
    return window->property("calls").toStringList();
}

// The entries of menu and of its submenus, each opened as the user opens
// it, that share their keyboard mnemonic with another entry of their menu.
QStringList mnemonicClashes(QWidget* menu)
{
    QStringList clashes;
    QHash<QKeySequence, QString> taken;
    for (QAction* action : menu->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (!key.isEmpty() && taken.contains(key))
            clashes << taken.value(key) + " / " + action->text();
        taken.insert(key, action->text());
        if (QMenu* submenu = action->menu()) {
            emit submenu->aboutToShow();
            clashes << mnemonicClashes(submenu);
        }
    }
    return clashes;
}

} // namespace

class TestStudio : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void activationFollowsTheCurrentTab();
    void menuCommandsCallTheActiveWindow();
    void menuEntriesHaveDistinctMnemonics_data();
    void menuEntriesHaveDistinctMnemonics();
    void tabsFollowTheFilesShown();
    void settingsSurviveARestart();
    void onlyFilesReadCount_data();
    void onlyFilesReadCount();
    void openLocationShowsTheLine();
    void droppedReportsOpenInOneWindow();
    void cancelledProgressIsReportedInTheOutput();

private:
    std::unique_ptr<QTemporaryDir> m_config;
};

void TestStudio::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
}

void TestStudio::cleanup()
{
    m_config.reset();
}

// The active tab's window is activated, shows its outline and puts its
// menu before Tools; an empty window shows how to open a report.
void TestStudio::activationFollowsTheCurrentTab()
{
    Session session;
    XrdMainWindow* window = session.window.get();
    QWidget* hint = window->centralPage();
    QVERIFY(hint->property("text").toString().contains("File > Open"));
    window->openFiles({"/reports/one.xrd"});
    window->openFiles({"/reports/two.xrd"});
    QAStViewerWindow* one = session.tab(0);
    QAStViewerWindow* two = session.tab(1);
    QVERIFY(!one->isWindow() && !two->isWindow());
    QCOMPARE(window->centralPage(), session.tabs());
    QCOMPARE(calls(one) + calls(two), QStringList({"activated", "desactivated", "activated"}));
    QCOMPARE(session.menus(), QString("&File, &Edit, menu of two.xrd, &Tools, &Help"));
    QCOMPARE(window->outlinePane()->currentWidget(), two->contentOutlineWidget());

    session.tabs()->setCurrentIndex(0);
    QCOMPARE(calls(one).last() + calls(two).last(), QString("activateddesactivated"));
    QCOMPARE(session.menus(), QString("&File, &Edit, menu of one.xrd, &Tools, &Help"));
    QCOMPARE(window->outlinePane()->currentWidget(), one->contentOutlineWidget());

    // Closing the active tab activates the one left; the closed window's
    // outline goes back to it and is deleted with it.
    QPointer<QWidget> oneOutline = one->contentOutlineWidget();
    window->action("close")->trigger();
    QCOMPARE(window->outlinePane()->indexOf(oneOutline), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!oneOutline);
    QCOMPARE(window->activeWindow(), two);
    QCOMPARE(calls(two).last(), QString("activated"));
    QCOMPARE(window->outlinePane()->currentWidget(), two->contentOutlineWidget());
    QCOMPARE(session.menus(), QString("&File, &Edit, menu of two.xrd, &Tools, &Help"));
    window->action("close")->trigger();
    QCOMPARE(window->centralPage(), hint);
}

void TestStudio::menuCommandsCallTheActiveWindow()
{
    Session session;
    XrdMainWindow* window = session.window.get();
    QVERIFY(!window->action("print")->isEnabled());
    window->openFiles({"/reports/one.xrd"});
    for (const char* name : {"print", "copy", "find", "reload"})
        window->action(name)->trigger();
    // F3 and Shift+F3 step through the matches instead of asking again.
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F3);
    QTest::keyClick(window, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(calls(session.tab(0)).mid(1),
             QStringList({"print", "copy", "find <dialog>", "reload", "findNext", "findPrevious"}));
    QVERIFY(!window->action("saveAs")->isEnabled()); // the fake window cannot save
}

void TestStudio::menuEntriesHaveDistinctMnemonics_data()
{
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<QString>("translation");
    const QString real = XRD_BINARY_DIR "/plugin/libxrdreporter.so";
    QTest::addRow("fake plug-in") << FAKE_PLUGIN << QString();
    QTest::addRow("real plug-in") << real << QString();
    QTest::addRow("real plug-in, French") << real << XRD_BINARY_DIR "/studio/xrdview_fr.qm";
}

// No two menus of the menu bar, nor two entries of one menu, share their
// mnemonic, with the plug-in's menu in, in every language.
void TestStudio::menuEntriesHaveDistinctMnemonics()
{
    QFETCH(QString, plugin);
    QFETCH(QString, translation);
    QTranslator translator;
    QVERIFY(translation.isEmpty() || translator.load(translation));
    QCoreApplication::installTranslator(&translator);
    Session session(plugin);
    session.window->openFiles({XRD_SOURCE_DIR "/examples/nightly-failures.xrd"});
    QCOMPARE(session.window->menuBar()->actions().size(), 5);
    QCOMPARE(mnemonicClashes(session.window->menuBar()).join(", "), QString());
}

// A file shown already switches to its tab; a tab follows the file its
// window moves to, and the window's title the current tab.
void TestStudio::tabsFollowTheFilesShown()
{
    Session session;
    QAStViewerWindow* first = session.window->openFiles({"/reports/one.xrd"});
    QAStViewerWindow* second = session.window->openFiles({"/reports/two.xrd"});
    first->setFile("/reports/sub/three.xrd");
    emit first->captionChanged(first);
    QCOMPARE(session.tabs()->tabText(0), QString("three.xrd"));
    QCOMPARE(session.tabs()->tabToolTip(0), QString("/reports/sub/three.xrd"));
    QCOMPARE(session.window->windowTitle(), QString("two.xrd \u2014 xrdview"));
    second->setFile("/reports/four.xrd");
    emit second->captionChanged(second);
    QCOMPARE(session.window->windowTitle(), QString("four.xrd \u2014 xrdview"));
    QCOMPARE(session.window->openFiles({"/reports/sub/three.xrd"}), first);
    QCOMPARE(session.tabs()->count(), 2);
    QCOMPARE(session.tabs()->currentWidget(), first);
}

// Preferences, the last ten files opened, the panes shown and a viewer's
// panes come back at the next start; a settings file of another program
// is not read.
void TestStudio::settingsSurviveARestart()
{
    const QByteArray foreign = "<resources version='1'><group tag='other'><group tag='REPORTER'>"
                               "<bool tag='flag' value='true'/></group></group></resources>";
    QVERIFY(writeFile(XrdResourceFile::defaultPath(), foreign));
    QStringList opened;
    {
        Session session;
        QVERIFY(!session.plugin()->property("savedFlag").isValid());
        QCheckBox* flag = session.preferences();
        QVERIFY(flag && !flag->isChecked());
        flag->setChecked(true);
        session.closePreferences(QDialogButtonBox::Cancel);
        QCOMPARE(session.plugin()->property("rejected").toInt(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the dialog
        QCOMPARE(readFile(XrdResourceFile::defaultPath()), foreign);
        for (int i = 0; i < 12; ++i) {
            opened.prepend(QString("/reports/r%1.xrd").arg(i));
            session.window->openFiles({opened.first()});
        }
        // Opening one again moves it to the front, once.
        session.window->openFiles({"/reports/r5.xrd"});
        opened.move(opened.indexOf("/reports/r5.xrd"), 0);
        QCOMPARE(session.window->recentFiles(), opened.mid(0, 10));
        QVERIFY(session.tab(0)->property("restoredViewState").toByteArray().isEmpty());
        session.window->activeWindow()->setProperty("viewState", QByteArray("header 150"));
        session.window->findChild<QDockWidget*>("outputDock")->hide();
        flag = session.preferences();
        QVERIFY(flag && !flag->isChecked());
        flag->setChecked(true);
        session.closePreferences(QDialogButtonBox::Ok);
        QCOMPARE(session.plugin()->property("accepted").toInt(), 1);
        session.window->close();
    }
    Session restarted;
    QCOMPARE(restarted.plugin()->property("savedFlag").toInt(), 1);
    QCOMPARE(restarted.window->recentFiles(), opened.mid(0, 10));
    QVERIFY(restarted.window->findChild<QDockWidget*>("outputDock")->isHidden());
    restarted.window->openFiles({"/reports/two.xrd"});
    QCOMPARE(restarted.tab(0)->property("restoredViewState").toByteArray(),
             QByteArray("header 150"));

    // Defaults resets the page shown, and the dialog shows the saved value.
    QCheckBox* flag = restarted.preferences();
    QVERIFY(flag && flag->isChecked());
    restarted.closePreferences(QDialogButtonBox::RestoreDefaults);
    QVERIFY(!flag->isChecked());
}

void TestStudio::onlyFilesReadCount_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("recent");
    QTest::addRow("all read") << QStringList{"/r/a.xrd", "/r/b.xrd", "/r/c.xrd"} << "a.xrd (+2)"
                              << QStringList{"/r/a.xrd", "/r/b.xrd", "/r/c.xrd"};
    QTest::addRow("the first failed") << QStringList{"/r/unreadable.xrd", "/r/b.xrd", "/r/c.xrd"}
                                      << "b.xrd (+1)" << QStringList{"/r/b.xrd", "/r/c.xrd"};
    QTest::addRow("all failed") << QStringList{"/r/unreadable.xrd", "/r/unreadable2.xrd"}
                                << "unreadable.xrd" << QStringList{};
}

void TestStudio::onlyFilesReadCount()
{
    QFETCH(QStringList, files);
    QFETCH(QString, tab);
    QFETCH(QStringList, recent);
    Session session;
    QVERIFY(session.window->openFiles(files));
    QCOMPARE(session.tabs()->tabText(0), tab);
    QCOMPARE(session.window->recentFiles(), recent);
    // Opening them again, into the window that shows them, adds nothing.
    session.window->openFiles(files);
    QCOMPARE(session.window->recentFiles(), recent);
}

void TestStudio::openLocationShowsTheLine()
{
    Session session;
    session.window->show();
    session.studio.openLocation("/no/such/source.cpp line 12", 3, true);
    QVERIFY(session.window->outputWidget()->toPlainText().contains("/no/such/source.cpp"));
    QCOMPARE(session.tabs()->count(), 0);
    session.window->openFiles({"/reports/one.xrd"});
    const QString source = XRD_SOURCE_DIR "/studio/main.cpp";
    session.studio.openLocation(source + " line 7", 3, true);
    auto* view = qobject_cast<XrdSourceView*>(session.tabs()->currentWidget());
    QVERIFY(view && view->isReadOnly());
    QCOMPARE(view->textCursor().blockNumber(), 6);
    QCOMPARE(view->extraSelections().size(), 1);
    // The text starts right of the line numbers.
    QCOMPARE(view->viewport()->geometry().left(), view->lineNumberArea()->geometry().right() + 1);
    QCOMPARE(calls(session.tab(0)).last(), QString("desactivated"));
    // The same file again reuses its tab.
    session.studio.openLocation(source + " line 2", 3, true);
    QCOMPARE(session.tabs()->count(), 2);
    QCOMPARE(view->highlightedLine(), 2);
}

// A drag of no report is refused; of the files dropped, the reports open
// in one window.
void TestStudio::droppedReportsOpenInOneWindow()
{
    Session session;
    const QPoint centre = session.window->rect().center();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/notes/b.txt")});
    QDragEnterEvent refused(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(session.window.get(), &refused);
    QVERIFY(!refused.isAccepted());
    data.setUrls({QUrl::fromLocalFile("/reports/a.xrd"), QUrl::fromLocalFile("/notes/b.txt"),
                  QUrl::fromLocalFile("/reports/c.xrd")});
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(session.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(session.window.get(), &drop);
    QCOMPARE(session.tabs()->count(), 1);
    QCOMPARE(session.tab(0)->files(), QStringList({"/reports/a.xrd", "/reports/c.xrd"}));
}

// A cancelled read goes on, unseen, to its end.
void TestStudio::cancelledProgressIsReportedInTheOutput()
{
    Session session;
    session.studio.progressStart(100, "Reading big.xrd", "Stop");
    XrdProgressDialog* progress = session.window->progress();
    QCOMPARE(progress->dialog()->labelText(), QString("Reading big.xrd"));
    emit progress->dialog()->canceled();
    QVERIFY(session.window->outputWidget()->toPlainText().contains("Reading big.xrd: cancelled"));
    session.studio.progressStep(50);
    QVERIFY(progress->isRunning() && !progress->dialog()->isVisible());
    session.studio.progressEnd();
    QVERIFY(!progress->isRunning());
}

QTEST_MAIN(TestStudio)
#include "tst_studio.moc"
