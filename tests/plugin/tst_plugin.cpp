#include "monitors.h"
#include "pluginlibrary.h"
#include "preferenceitem.h"
#include "qacolorbutton.h"
#include "qamessagebox.h"
#include "qastreportsession.h"
#include "qastviewerwindow.h"
#include "recordingstudio.h"

#include <QAction>
#include <QMainWindow>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

const QString mainReport = QStringLiteral(":/reports/main.xrd");
const QString passedReport = QStringLiteral(":/reports/passed.xrd");

// The plug-in as the host uses it, through the host SDK only, initialised
// once per process with a recording host and saved values that differ from
// every default.
class TestPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void entryPointMakesNewObjectsWithTranslatedFilters();
    void initializeRestoresTheSavedPreferencesOnce();
    void createdWindowsAreFoundByExactPath();
    void dialogSignalsReachThePreferences();
    void sessionWorksWithoutWidgets();

private:
    std::unique_ptr<QAStViewerWindow> create(QStringList files, bool activate = true)
    {
        return std::unique_ptr<QAStViewerWindow>(
            m_plugin->create(files, activate, nullptr, "report window"));
    }

    QMainWindow m_hostWindow;
    RecordingStudio m_studio;
    std::unique_ptr<QAStViewerPlugin> m_plugin{createPlugin()};
};

void TestPlugin::initTestCase()
{
    QVERIFY(m_plugin);
    m_studio.window = &m_hostWindow;
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_plugin->initialize(&m_studio, savedPreferences(QColor(0x204060), false, 2).get());
}

void TestPlugin::entryPointMakesNewObjectsWithTranslatedFilters()
{
    std::unique_ptr<QAStViewerPlugin> other(createPlugin());
    QVERIFY(other && other != m_plugin);
    QTranslator french;
    QVERIFY(french.load(QStringLiteral(":/i18n/xrdview_fr.qm")));
    QCoreApplication::installTranslator(&french);
    auto remove = qScopeGuard([&french] { QCoreApplication::removeTranslator(&french); });
    QCOMPARE(other->filters(),
             QStringList({"Rapport (*.xrd)", "Résultats de tests (*.xml *.trx *.tap)"}));
}

void TestPlugin::initializeRestoresTheSavedPreferencesOnce()
{
    QCOMPARE(m_studio.producers.size(), qsizetype(1));
    QCOMPARE(viewBackground(create({}).get()), QColor(0x204060));
    const QList<QToolBar*> toolBars = m_hostWindow.findChildren<QToolBar*>();
    QVERIFY(toolBars.size() == 1 && !toolBars.first()->isHidden());
    // Later calls, from any plug-in object, change nothing.
    RecordingStudio otherStudio;
    QMainWindow otherWindow;
    otherStudio.window = &otherWindow;
    std::unique_ptr<QAStViewerPlugin> other(createPlugin());
    other->initialize(&otherStudio, savedPreferences(Qt::yellow, true, 5).get());
    m_plugin->initialize(&m_studio, savedPreferences(Qt::yellow, true, 5).get());
    QVERIFY(otherStudio.producers.isEmpty() && otherWindow.findChildren<QToolBar*>().isEmpty());
    QCOMPARE(m_studio.producers.size(), qsizetype(1));
    QVERIFY(m_plugin->preferenceSettings());
    QCOMPARE(other->preferenceSettings(), m_plugin->preferenceSettings());
    QCOMPARE(viewBackground(create({}).get()), QColor(0x204060));
}

void TestPlugin::createdWindowsAreFoundByExactPath()
{
    auto empty = create({});
    QVERIFY(empty->files().isEmpty() && empty->isActivatedDisplay());
    QCOMPARE(empty->objectName(), QString("report window"));
    QVERIFY(!m_plugin->openedWindow(mainReport));
    auto first = create({mainReport}, false);
    QVERIFY(!first->isActivatedDisplay());
    QStringList files{passedReport, mainReport};
    std::unique_ptr<QAStViewerWindow> second(m_plugin->create(files, nullptr, nullptr));
    QVERIFY(second->isActivatedDisplay() && second->objectName().isEmpty());
    QCOMPARE(second->files(), files);
    QCOMPARE(m_plugin->openedWindow(mainReport), first.get());
    QCOMPARE(m_plugin->openedWindow(passedReport), second.get());
    QVERIFY(!m_plugin->openedWindow(QStringLiteral(":/reports/MAIN.xrd")));
    first.reset();
    QCOMPARE(m_plugin->openedWindow(mainReport), second.get());
}

void TestPlugin::dialogSignalsReachThePreferences()
{
    PreferenceItem* page = m_plugin->preferenceSettings();
    // Sets the background on the page as a user would, then applies it.
    auto choose = [page](const QColor& color) {
        std::unique_ptr<QWidget> widget(page->createWidget(nullptr));
        page->updateContents();
        if (auto* button = widget->findChild<QAColorButton*>())
            button->setColor(color, false);
        page->apply();
    };
    auto restore = qScopeGuard([&choose] { choose(QColor(0x204060)); });
    auto window = create({});
    QCOMPARE(viewBackground(window.get()), QColor(0x204060));
    choose(QColor(0xc03030));
    QCOMPARE(viewBackground(create({}).get()), QColor(0xc03030));
    // An action's signals stand for the dialog's: rejected leaves the open
    // windows as they are, accepted redraws them.
    QAction dialog;
    m_plugin->connectRejected(&dialog, SIGNAL(hovered()));
    m_plugin->connectAccepted(&dialog, SIGNAL(triggered()));
    dialog.hover();
    QCOMPARE(viewBackground(window.get()), QColor(0x204060));
    dialog.trigger();
    QCOMPARE(viewBackground(window.get()), QColor(0xc03030));
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
    QVERIFY(!session->exportHtml(dir.filePath("html"), nullptr, &log));
    QVERIFY2(session->exportHtml(dir.filePath("html"), &progress, &log),
             qPrintable(log.errors.join('\n')));
    QVERIFY(QFile::exists(dir.filePath("html/index.html")));
    QString error;
    QVERIFY2(session->writeReport(dir.filePath("both.xrd"), &error), qPrintable(error));
    QVERIFY(QFileInfo(dir.filePath("both.xrd")).size() > 0);
    session.reset();
    const QWidgetList widgetsAfter = QApplication::allWidgets();
    QCOMPARE(QSet<QWidget*>(widgetsAfter.begin(), widgetsAfter.end()),
             QSet<QWidget*>(widgetsBefore.begin(), widgetsBefore.end()));
}

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
