// The host's main window and its services, offscreen, with the fake viewer
// plug-in loaded as the real one is; each test has its own XDG_CONFIG_HOME.

#include "files.h"
#include "qafreedmemory.h"
#include "qaresgroup.h"
#include "qastoutputwidget.h"
#include "qastviewerplugin.h"
#include "qastviewerwindow.h"
#include "residentmemory.h"
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
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

#include <memory>
#include <optional>

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

    // Chooses Tools > Preferences (the menu updates its entries as it
    // opens), checks the flag and presses button: whether the flag was
    // checked when shown, then after the button, as "0 1".
    QString preferences(QDialogButtonBox::StandardButton button) const
    {
        QAction* entry = window->action("preferences");
        emit qobject_cast<QMenu*>(entry->associatedObjects().value(0))->aboutToShow();
        entry->trigger();
        XrdPreferencesDialog* dialog = window->preferencesDialog();
        QCheckBox* flag = dialog ? dialog->findChild<QCheckBox*>("flag") : nullptr;
        if (!flag)
            return "no dialog";
        const bool shown = flag->isChecked();
        flag->setChecked(true);
        dialog->buttons()->button(button)->click();
        return QString("%1 %2").arg(shown).arg(flag->isChecked());
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
    void activationFollowsTheCurrentTab();
    void menuEntriesHaveDistinctMnemonics_data();
    void menuEntriesHaveDistinctMnemonics();
    void settingsSurviveARestart();
    void onlyFilesReadCount_data();
    void onlyFilesReadCount();
    void openLocationShowsTheLine();
    void droppedReportsOpenInOneWindow();
    void cancelledProgressIsReportedInTheOutput();
    void closedTabGivesItsMemoryBack();

private:
    std::optional<QTemporaryDir> m_config;
};

void TestStudio::init()
{
    m_config.emplace();
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
}

// The current tab's window is activated, gets the menu commands, puts its
// menu before Tools and its outline in the pane; an empty window shows how
// to open a report.
void TestStudio::activationFollowsTheCurrentTab()
{
    Session session;
    XrdMainWindow* window = session.window.get();
    QWidget* hint = window->centralPage();
    QVERIFY(hint->property("text").toString().contains("File > Open"));
    QVERIFY(!window->action("print")->isEnabled());
    QAStViewerWindow* one = window->openFiles({"/reports/one.xrd"});
    QAStViewerWindow* two = window->openFiles({"/reports/two.xrd"});
    QVERIFY(!one->isWindow() && window->centralPage() == session.tabs());
    auto shown = [window] {
        QAStudioWindow* active = window->activeWindow();
        const bool outline =
            window->outlinePane()->currentWidget() == active->contentOutlineWidget();
        return window->menuBar()->actions().value(2)->menu()->objectName() + (outline ? "+" : "");
    };
    QCOMPARE(calls(one) + calls(two), QStringList({"activated", "desactivated", "activated"}));
    QCOMPARE(shown(), QString("menu of two.xrd+"));
    session.tabs()->setCurrentIndex(0);
    QCOMPARE(calls(one).last() + calls(two).last(), QString("activateddesactivated"));
    QCOMPARE(shown(), QString("menu of one.xrd+"));
    for (const char* name : {"print", "find", "findNext", "findPrevious", "reload"})
        window->action(name)->trigger();
    QCOMPARE(calls(one).mid(3),
             QStringList({"print", "find <dialog>", "findNext", "findPrevious", "reload"}));
    QVERIFY(!window->action("saveAs")->isEnabled()); // the fake window cannot save

    // A tab follows the file its window moves to, the window's title the
    // current tab; a file shown already switches to its tab.
    two->setFile("/reports/sub/three.xrd");
    emit two->captionChanged(two);
    one->setFile("/reports/four.xrd");
    emit one->captionChanged(one);
    QCOMPARE(session.tabs()->tabText(1) + ' ' + session.tabs()->tabToolTip(1) + ' ' +
                 window->windowTitle(),
             QString("three.xrd /reports/sub/three.xrd four.xrd \u2014 xrdview"));
    QCOMPARE(window->openFiles({"/reports/sub/three.xrd"}), two);

    // Closing the active tab activates the one left; the closed window's
    // outline goes back to it and is deleted with it.
    QPointer<QWidget> outline = two->contentOutlineWidget();
    window->action("close")->trigger();
    QCOMPARE(window->outlinePane()->indexOf(outline), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!outline);
    QCOMPARE(calls(one).last(), QString("activated"));
    QCOMPARE(shown(), QString("menu of one.xrd+"));
    window->action("close")->trigger();
    QCOMPARE(window->centralPage(), hint);
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

// Preferences, the last ten files opened, the panes shown and a viewer's
// panes come back at the next start; cancelled preferences and a settings
// file of another program do not.
void TestStudio::settingsSurviveARestart()
{
    const QByteArray foreign = "<resources version='1'><group tag='other'><group tag='REPORTER'>"
                               "<bool tag='flag' value='true'/></group></group></resources>";
    QVERIFY(writeFile(XrdResourceFile::defaultPath(), foreign));
    QStringList opened;
    {
        Session session;
        QCOMPARE(session.preferences(QDialogButtonBox::Cancel), QString("0 1"));
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
        session.window->activeWindow()->setProperty("viewState", QByteArray("header 150"));
        session.window->findChild<QDockWidget*>("outputDock")->hide();
        QCOMPARE(session.preferences(QDialogButtonBox::Ok), QString("0 1"));
        session.window->close();
    }
    Session restarted;
    QCOMPARE(restarted.plugin()->property("savedFlag").toInt(), 1);
    QCOMPARE(restarted.window->recentFiles(), opened.mid(0, 10));
    QVERIFY(restarted.window->findChild<QDockWidget*>("outputDock")->isHidden());
    restarted.window->openFiles({"/reports/two.xrd"});
    QCOMPARE(restarted.window->activeWindow()->property("restoredViewState"),
             QByteArray("header 150"));
    // Defaults resets the page shown, which showed the saved value.
    QCOMPARE(restarted.preferences(QDialogButtonBox::RestoreDefaults), QString("1 0"));
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

// Opening the files again, into the window that shows them, adds nothing.
void TestStudio::onlyFilesReadCount()
{
    QFETCH(QStringList, files);
    QFETCH(QString, tab);
    QFETCH(QStringList, recent);
    Session session;
    for (int again = 0; again < 2; ++again)
        session.window->openFiles(files);
    QCOMPARE(session.tabs()->count(), 1);
    QCOMPARE(session.tabs()->tabText(0), tab);
    QCOMPARE(session.window->recentFiles(), recent);
}

void TestStudio::openLocationShowsTheLine()
{
    Session session;
    session.window->show();
    session.studio.openLocation("/no/such/source.cpp line 12", 3, true);
    QVERIFY(session.window->outputWidget()->toPlainText().contains("/no/such/source.cpp"));
    QAStViewerWindow* viewer = session.window->openFiles({"/reports/one.xrd"});
    const QString source = XRD_SOURCE_DIR "/studio/main.cpp";
    session.studio.openLocation(source + " line 7", 3, true);
    auto* view = qobject_cast<XrdSourceView*>(session.tabs()->currentWidget());
    QVERIFY(view && view->isReadOnly());
    QCOMPARE(view->textCursor().blockNumber(), 6);
    QCOMPARE(view->extraSelections().size(), 1);
    // The text starts right of the line numbers.
    QCOMPARE(view->viewport()->geometry().left(), view->lineNumberArea()->geometry().right() + 1);
    QCOMPARE(calls(viewer).last(), QString("desactivated"));
    // The same file again reuses its tab.
    session.studio.openLocation(source + " line 2", 3, true);
    QCOMPARE(session.tabs()->count(), 2);
    QCOMPARE(view->highlightedLine(), 2);
}

// Only the report files of a drop open, together; a drop of other files is
// refused as it enters.
void TestStudio::droppedReportsOpenInOneWindow()
{
    Session session;
    const QPoint centre = session.window->rect().center();
    auto drag = [&](const QStringList& files) {
        QMimeData data;
        for (const QString& file : files)
            data.setUrls(data.urls() << QUrl::fromLocalFile(file));
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(session.window.get(), &enter);
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(session.window.get(), &drop);
        return enter.isAccepted();
    };
    QVERIFY(!drag({"/notes/b.txt"}));
    QVERIFY(drag({"/r/a.xrd", "/notes/b.txt", "/r/c.xrd"}));
    QCOMPARE(session.tabs()->count(), 1);
    QCOMPARE(session.tabs()->tabText(0), QString("a.xrd (+1)"));
}

// A cancelled run is said in the output and goes on, unseen, to its end.
void TestStudio::cancelledProgressIsReportedInTheOutput()
{
    Session session;
    session.studio.progressStart(100, "Reading big.xrd", "Stop");
    XrdProgressDialog* progress = session.window->progress();
    QVERIFY(progress->isRunning());
    emit progress->dialog()->canceled();
    QVERIFY(session.window->outputWidget()->toPlainText().contains("Reading big.xrd: cancelled"));
    session.studio.progressStep(50);
    QVERIFY(!progress->dialog()->isVisible());
    session.studio.progressEnd();
    QVERIFY(!progress->isRunning());
}

// What a closed tab's window held goes back to the system once the window
// and its children are deleted; the allocator would otherwise keep it.
void TestStudio::closedTabGivesItsMemoryBack()
{
    if (!QAFreedMemory::canGiveBack() || residentBytes() < 0)
        QSKIP("needs mimalloc and /proc");
    Session session;
    const qint64 before = residentBytes();
    QPointer<QAStViewerWindow> viewer = session.window->openFiles({"/reports/ballast.xrd"});
    const qint64 grown = residentBytes() - before;
    QVERIFY2(grown > 150 << 20, qPrintable(QString::number(grown)));
    session.window->action("close")->trigger();
    QTRY_VERIFY(viewer.isNull());
    QTRY_VERIFY2(residentBytes() - before < grown / 2,
                 qPrintable(QStringLiteral("%1 of %2").arg(residentBytes() - before).arg(grown)));
}

QTEST_MAIN(TestStudio)
#include "tst_studio.moc"
