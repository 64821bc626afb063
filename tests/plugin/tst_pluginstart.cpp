#include "pluginlibrary.h"
#include "preferenceitem.h"
#include "qastviewerwindow.h"
#include "recordingstudio.h"
#include "savedpreferences.h"

#include <QApplication>
#include <QMainWindow>
#include <QPalette>
#include <QToolBar>
#include <QtTest>

namespace {

// A component that answers no interface.
class Stranger : public QUnknownInterface
{
public:
    bool queryInterface(const QUuid& id, QUnknownInterface** iface) override
    {
        asked << id;
        *iface = nullptr;
        return false;
    }
    QList<QUuid> asked;
};

} // namespace

// The plug-in before its initialisation. Its state lasts as long as the
// process, so this suite is the only one in its process: it starts the
// plug-in itself and leaves it initialised.
class TestPluginStart : public QObject
{
    Q_OBJECT

private slots:
    void initialisesOnlyWithAHost();
};

void TestPluginStart::initialisesOnlyWithAHost()
{
    PluginLibrary library;
    QVERIFY2(library.isLoaded(), qPrintable(library.errorString()));
    std::unique_ptr<QAStViewerPlugin> plugin(library.createPlugin());
    QVERIFY(plugin);
    const ViewerValues saved{QColor(0x20, 0x40, 0x60), false, 2};
    const std::unique_ptr<QARes> resources = savedPreferences(&saved);
    QStringList files{QStringLiteral(XRD_SOURCE_DIR "/tests/viewer/reports/main.xrd")};

    // Without a host, and with a host that is not an application, nothing
    // is built and windows are refused.
    QVERIFY(!plugin->preferenceSettings());
    plugin->initialize(nullptr, resources.get());
    Stranger stranger;
    plugin->initialize(&stranger, resources.get());
    QCOMPARE(stranger.asked, QList<QUuid>({IID_QAStudioInterface}));
    QVERIFY(!plugin->preferenceSettings());
    QVERIFY(!plugin->create(files, true, nullptr, "window"));
    QVERIFY(!plugin->create(files, nullptr, nullptr));
    QVERIFY(!plugin->openedWindow(files.first()));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());

    // A later call with a host still initialises. Resources without a
    // "REPORTER" group leave the defaults.
    RecordingStudio studio;
    QMainWindow hostWindow;
    studio.window = &hostWindow;
    studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    const std::unique_ptr<QARes> others = savedPreferences(nullptr);
    plugin->initialize(&studio, others.get());
    QVERIFY(plugin->preferenceSettings());
    QCOMPARE(studio.producers.size(), qsizetype(1));
    QCOMPARE(hostWindow.findChildren<QToolBar*>().size(), qsizetype(1));
    const ViewerValues values = producedValues(studio.producers.first());
    QCOMPARE(values.background, QApplication::palette().color(QPalette::Active, QPalette::Base));
    QCOMPARE(values.autoRaise, true);
    QCOMPARE(values.depth, 4);

    std::unique_ptr<QAStViewerWindow> window(plugin->create(files, nullptr, "window"));
    QVERIFY(window);
    QCOMPARE(plugin->openedWindow(files.first()), window.get());
}

QTEST_MAIN(TestPluginStart)
#include "tst_pluginstart.moc"
