#include "pluginlibrary.h"
#include "qastreportsession.h"
#include "qastviewerwindow.h"
#include "recordingstudio.h"

#include <QApplication>
#include <QMainWindow>
#include <QPalette>
#include <QToolBar>
#include <QtTest>

// The plug-in before its initialisation, which lasts as long as the process:
// this suite runs alone in its process.
class TestPluginStart : public QObject
{
    Q_OBJECT

private slots:
    void initialisesOnlyWithAHost();
};

void TestPluginStart::initialisesOnlyWithAHost()
{
    std::unique_ptr<QAStViewerPlugin> plugin(createPlugin());
    QVERIFY(plugin);
    QStringList files{QStringLiteral(XRD_SOURCE_DIR "/tests/viewer/reports/main.xrd")};
    // Without a host, or with one that is not an application, nothing is
    // built and windows and sessions are refused.
    RecordingStudio studio;
    QUnknownInterface* notAnApplication = plugin.get();
    for (QUnknownInterface* host : {static_cast<QUnknownInterface*>(nullptr), notAnApplication})
        plugin->initialize(host, savedPreferences(Qt::blue).get());
    QVERIFY(!plugin->preferenceSettings() && !plugin->create(files, true, nullptr, "window"));
    QVERIFY(!plugin->createSession() && QApplication::topLevelWidgets().isEmpty());

    // A later call with a host still initialises; empty resources leave the
    // defaults.
    QMainWindow hostWindow;
    studio.window = &hostWindow;
    studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    plugin->initialize(&studio, savedPreferences(QColor()).get());
    QVERIFY(plugin->preferenceSettings());
    QCOMPARE(hostWindow.findChildren<QToolBar*>().size(), qsizetype(1));
    std::unique_ptr<QAStViewerWindow> window(plugin->create(files, nullptr, "window"));
    QCOMPARE(plugin->openedWindow(files.first()), window.get());
    QStringList none;
    std::unique_ptr<QAStViewerWindow> empty(plugin->create(none, nullptr, "window"));
    QCOMPARE(viewBackground(empty.get()),
             QApplication::palette().color(QPalette::Active, QPalette::Base));
}

QTEST_MAIN(TestPluginStart)
#include "tst_pluginstart.moc"
