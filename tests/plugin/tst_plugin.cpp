#include "monitors.h"
#include "pluginlibrary.h"
#include "preferenceitem.h"
#include "qacolorbutton.h"
#include "qamessagebox.h"
#include "qastreporterplugin.h"
#include "qastreportsession.h"
#include "qastviewerwindow.h"
#include "recordingstudio.h"
#include "savedpreferences.h"

#include <QAbstractScrollArea>
#include <QMainWindow>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

namespace {

const QString mainReport = QStringLiteral(":/reports/main.xrd");
const QString passedReport = QStringLiteral(":/reports/passed.xrd");

// What the host saved for the viewer; every test process starts the plug-in
// with it, so it differs from every default.
const ViewerValues saved{QColor(0x20, 0x40, 0x60), false, 2};

// The colour the window's report view paints where there is no document.
QColor viewBackground(QAStViewerWindow* window)
{
    auto* view = qobject_cast<QAbstractScrollArea*>(window->centralWidget());
    if (!view)
        return QColor();
    const QImage image = view->viewport()->grab().toImage();
    return image.isNull() ? QColor() : image.pixelColor(1, 1);
}

// Sets the background on the page as a user would in the host's dialog,
// then applies the page.
void chooseBackground(PreferenceItem* page, const QColor& color)
{
    std::unique_ptr<QWidget> widget(page->createWidget(nullptr));
    page->updateContents();
    if (auto* button = widget->findChild<QAColorButton*>())
        button->setColor(color, false);
    page->apply();
}

// Stands for the host's preferences dialog.
class PreferencesDialog : public QObject
{
    Q_OBJECT
public:
    int connections(const char* signal) const { return receivers(signal); }
signals:
    void accepted();
    void rejected();
};

using Window = std::unique_ptr<QAStViewerWindow>;

} // namespace

// The plug-in as the host uses it, through the host SDK only. Each run of
// the suite initialises the plug-in once, with a recording host.
class TestPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void entryPointsMakeNewObjects();
    void fixedAnswers();
    void initializeRestoresTheSavedPreferences();
    void secondInitializeChangesNothing();
    void createMakesViewerWindows();
    void openedWindowMatchesTheExactPath();
    void dialogSignalsReachThePreferences();
    void filtersFollowTheInstalledTranslation();
    void sessionWorksWithoutWidgets();

private:
    Window create(const QStringList& paths, bool activateDisplay = true);

    PluginLibrary m_library;
    std::unique_ptr<QAStViewerPlugin> m_plugin;
    RecordingStudio m_studio;
    std::unique_ptr<QMainWindow> m_hostWindow;
};

void TestPlugin::initTestCase()
{
    QVERIFY2(m_library.isLoaded(), qPrintable(m_library.errorString()));
    m_plugin.reset(m_library.createPlugin());
    QVERIFY(m_plugin);
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    const std::unique_ptr<QARes> resources = savedPreferences(&saved);
    m_plugin->initialize(&m_studio, resources.get());
}

void TestPlugin::cleanupTestCase()
{
    m_plugin.reset();
    m_hostWindow.reset();
}

Window TestPlugin::create(const QStringList& paths, bool activateDisplay)
{
    QStringList files = paths;
    return Window(m_plugin->create(files, activateDisplay, nullptr, "report window"));
}

void TestPlugin::entryPointsMakeNewObjects()
{
    QCOMPARE(QByteArray(m_library.verificationData()),
             QByteArray("pattern=QT_UCM_VERIFICATION_DATA\nversion=3.3.8\nflags=11\n"
                        "buildkey=unspecified"));

    std::unique_ptr<QAStViewerPlugin> first(m_library.createPlugin());
    std::unique_ptr<QAStViewerPlugin> second(m_library.createPlugin());
    QVERIFY(first && second);
    QVERIFY(first != second);
    QUnknownInterface* iface = nullptr;
    QVERIFY(!first->queryInterface(IID_QAStudioInterface, &iface));
    QVERIFY(!iface);

    // The class adds nothing to the base's meta-object but its name.
    const QMetaObject* meta = first->metaObject();
    QCOMPARE(meta->className(), "QAStReporterPlugin");
    QCOMPARE(meta->superClass(), &QAStViewerPlugin::staticMetaObject);
    QCOMPARE(meta->methodCount(), QAStViewerPlugin::staticMetaObject.methodCount());
    QCOMPARE(meta->propertyCount(), QAStViewerPlugin::staticMetaObject.propertyCount());
}

void TestPlugin::fixedAnswers()
{
    QAStViewerPlugin* plugin = m_plugin.get();
    QCOMPARE(plugin->name(), QString("Reporter"));
    QCOMPARE(plugin->description(), QString("The Reporter"));
    QCOMPARE(plugin->author(), QString("Pelorin Vantrel"));
    QCOMPARE(plugin->version(), QString("Version 1.0.0"));
    QCOMPARE(plugin->accept(), QStringList({"*.xrd", "*.xml", "*.trx", "*.tap"}));
    QCOMPARE(plugin->filters(),
             QStringList({"Report (*.xrd)", "Test results (*.xml *.trx *.tap)"}));
    QCOMPARE(plugin->pluginName(), QString("Pelorin Vantrel Halvora Report Viewer"));
    QVERIFY(plugin->pluginIcon().isEmpty());
    QCOMPARE(plugin->pluginDescription(),
             QString("Pelorin Vantrel Halvora Report Viewer Description"));
    QCOMPARE(plugin->pluginCompanyName(), QString("Pelorin Vantrel"));
    QCOMPARE(plugin->pluginCompanyIcon(), QString("logo_90x90.xpm"));
    QCOMPARE(plugin->pluginCompanyDescription(),
             QString("Halvora and Pelorin Vantrel are trademarks of Pelorin Vantrel."));
    QCOMPARE(plugin->pluginCopyRight(), QString("Pelorin Vantrel: test reports made readable."));
    QCOMPARE(plugin->pluginVersion(), QString("Version 1.1.0"));
    const QDate before = QDate::currentDate();
    const QDate created = plugin->pluginCreation();
    QVERIFY(created >= before && created <= QDate::currentDate());
    QVERIFY(static_cast<QAStReporterPlugin*>(plugin)->toolbars().isEmpty());

    // The company's picture is built in.
    const QPixmap logo(QStringLiteral(":/pixmaps/logo_90x90.xpm"));
    QCOMPARE(logo.size(), QSize(90, 90));

    // Batch export is not the plug-in's: nothing reaches the host.
    const QStringList calls = m_studio.calls;
    plugin->exportHTML(QStringLiteral("."), QStringLiteral("index.html"), nullptr, nullptr);
    QCOMPARE(m_studio.calls, calls);
}

void TestPlugin::initializeRestoresTheSavedPreferences()
{
    QCOMPARE(m_studio.producers.size(), qsizetype(1));
    QCOMPARE(m_studio.calls.count("addResProducer"), qsizetype(1));
    const ViewerValues values = producedValues(m_studio.producers.first());
    QCOMPARE(values.background, saved.background);
    QCOMPARE(values.autoRaise, saved.autoRaise);
    QCOMPARE(values.depth, saved.depth);

    PreferenceItem* page = m_plugin->preferenceSettings();
    QVERIFY(page);
    QCOMPARE(page->title(), QString("Report Viewer"));
    QVERIFY(page->child());
    QCOMPARE(page->child()->title(), QString("Styles"));

    // The shared toolbar sits in the host's main window.
    const QList<QToolBar*> toolBars = m_hostWindow->findChildren<QToolBar*>();
    QCOMPARE(toolBars.size(), 1);
    QVERIFY(!toolBars.first()->isHidden());
    QCOMPARE(toolBars.first()->windowTitle(), QString("Test Report Toolbar"));

    // A new window shows the saved background.
    Window window = create({});
    window->resize(400, 300);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(viewBackground(window.get()), saved.background);
}

void TestPlugin::secondInitializeChangesNothing()
{
    PreferenceItem* page = m_plugin->preferenceSettings();
    const ViewerValues other{QColor(Qt::yellow), true, 5};
    const std::unique_ptr<QARes> otherResources = savedPreferences(&other);

    RecordingStudio otherStudio;
    QMainWindow otherWindow;
    otherStudio.window = &otherWindow;
    std::unique_ptr<QAStViewerPlugin> fresh(m_library.createPlugin());
    fresh->initialize(&otherStudio, otherResources.get());
    m_plugin->initialize(&m_studio, otherResources.get());

    QVERIFY(otherStudio.producers.isEmpty());
    QVERIFY(otherWindow.findChildren<QToolBar*>().isEmpty());
    QCOMPARE(m_studio.producers.size(), qsizetype(1));
    QCOMPARE(m_plugin->preferenceSettings(), page);
    QCOMPARE(fresh->preferenceSettings(), page);
    QCOMPARE(producedValues(m_studio.producers.first()).background, saved.background);
}

void TestPlugin::createMakesViewerWindows()
{
    Window empty = create({});
    QVERIFY(empty);
    QVERIFY(empty->files().isEmpty());
    QCOMPARE(empty->objectName(), QString("report window"));
    QVERIFY2(empty->windowTitle().startsWith("Test Report ["), qPrintable(empty->windowTitle()));
    QVERIFY(empty->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(empty->isActivatedDisplay());
    QVERIFY(empty->windowIcon().availableSizes().contains(QSize(16, 16)));
    QCOMPARE(empty->mode(), QAStViewerWindow::Interactive);

    Window hidden = create({mainReport, passedReport}, false);
    QVERIFY(!hidden->isActivatedDisplay());
    QCOMPARE(hidden->files(), QStringList({mainReport, passedReport}));
    QCOMPARE(m_plugin->openedWindow(passedReport), hidden.get());

    // The short form shows its documents; a null name leaves the object
    // name empty.
    QStringList files{mainReport};
    Window shown(m_plugin->create(files, nullptr, nullptr));
    QVERIFY(shown->isActivatedDisplay());
    QVERIFY(shown->objectName().isEmpty());
    QCOMPARE(shown->files(), files);
}

void TestPlugin::openedWindowMatchesTheExactPath()
{
    QVERIFY(!m_plugin->openedWindow(mainReport));
    Window first = create({mainReport});
    Window second = create({passedReport, mainReport});
    QCOMPARE(m_plugin->openedWindow(mainReport), first.get());
    QCOMPARE(m_plugin->openedWindow(passedReport), second.get());
    QVERIFY(!m_plugin->openedWindow(QStringLiteral(":/reports/MAIN.xrd")));
    QVERIFY(!m_plugin->openedWindow(QStringLiteral(":/reports/broken.xrd")));
    first.reset();
    QCOMPARE(m_plugin->openedWindow(mainReport), second.get());
    second.reset();
    QVERIFY(!m_plugin->openedWindow(mainReport));
}

void TestPlugin::dialogSignalsReachThePreferences()
{
    PreferenceItem* page = m_plugin->preferenceSettings();
    const QColor before = producedValues(m_studio.producers.first()).background;
    auto restore = qScopeGuard([page, before] { chooseBackground(page, before); });
    Window window = create({});
    window->resize(400, 300);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(viewBackground(window.get()), before);

    const QColor chosen(0xc0, 0x30, 0x30);
    chooseBackground(page, chosen);
    QCOMPARE(producedValues(m_studio.producers.first()).background, chosen);

    // A rejected dialog does not redraw the open windows.
    PreferencesDialog dialog;
    m_plugin->connectRejected(&dialog, SIGNAL(rejected()));
    QCOMPARE(dialog.connections(SIGNAL(rejected())), 1);
    emit dialog.rejected();
    QCOMPARE(viewBackground(window.get()), before);

    // An accepted one does, with the values the pages took.
    m_plugin->connectAccepted(&dialog, SIGNAL(accepted()));
    QCOMPARE(dialog.connections(SIGNAL(accepted())), 1);
    emit dialog.accepted();
    QCOMPARE(viewBackground(window.get()), chosen);
}

void TestPlugin::filtersFollowTheInstalledTranslation()
{
    QTranslator french;
    QVERIFY(french.load(QStringLiteral(":/i18n/xrdview_fr.qm")));
    QVERIFY(QCoreApplication::installTranslator(&french));
    auto remove = qScopeGuard([&french] { QCoreApplication::removeTranslator(&french); });
    QCOMPARE(m_plugin->filters(),
             QStringList({"Rapport (*.xrd)", "Résultats de tests (*.xml *.trx *.tap)"}));
    QCOMPARE(m_plugin->name(), QString("Reporter"));
    QCOMPARE(m_plugin->pluginName(), QString("Visionneuse de rapports Pelorin Vantrel Halvora"));
}

// What the command line asks of the plug-in: read, filter, walk, export and
// write, without making a single widget.
void TestPlugin::sessionWorksWithoutWidgets()
{
    QAMessageBox::setCommandLineMode(true);
    const auto boxesShown = qScopeGuard([] { QAMessageBox::setCommandLineMode(false); });
    const QWidgetList widgetsBefore = QApplication::allWidgets();
    std::unique_ptr<QAStReportSession> session = m_plugin->createSession();
    QVERIFY(session);
    session->open({mainReport, ":/reports/missing.xrd", passedReport});
    QCOMPARE(session->loadedFiles(), QStringList({mainReport, passedReport}));
    QCOMPARE(session->nodeTypes(), QStringList({"suite", "testcase", "check"}));
    QCOMPARE(session->failedTotal(), 1);
    QCOMPARE(session->totalsText("run.suite.case"),
             QString("TestNode: run.suite.case\n\t[%1] Test Case Passed\n\t[1] Test Case Failed\n")
                 .arg(session->passedTotal()));

    session->setFailedOnly(true);
    session->setTypeHidden("check", true);
    QStringList lines;
    session->walkTree([&lines](const QAStReportSession::TreeEntry& entry) {
        lines << QString("%1 %2 %3 %4").arg(entry.depth).arg(entry.status, entry.type, entry.name);
    });
    QCOMPARE(lines, QStringList({"0 --  main.xrd", "1 KO suite suite", "2 KO testcase failing",
                                 "0 --  passed.xrd"}));

    QTemporaryDir dir;
    RecordingProgress progress;
    RecordingLog log;
    QVERIFY(session->exportHtml(dir.filePath("html"), &progress, &log));
    QVERIFY2(log.errors.isEmpty(), qPrintable(log.errors.join('\n')));
    QVERIFY(QFile::exists(dir.filePath("html/index.html")));
    QString error;
    QVERIFY2(session->writeReport(dir.filePath("both.xrd"), &error), qPrintable(error));
    QVERIFY(QFileInfo(dir.filePath("both.xrd")).size() > 0);
    session.reset();

    QWidgetList widgetsAfter = QApplication::allWidgets();
    QCOMPARE(QSet<QWidget*>(widgetsAfter.begin(), widgetsAfter.end()),
             QSet<QWidget*>(widgetsBefore.begin(), widgetsBefore.end()));
}

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
