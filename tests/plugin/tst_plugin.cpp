#include "files.h"
#include "monitors.h"
#include "pluginlibrary.h"
#include "qamessagebox.h"
#include "qastreportsession.h"
#include "qastviewerwindow.h"
#include "recordingstudio.h"

#include <QMainWindow>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

const QString mainReport = QStringLiteral(":/reports/main.xrd");
const QString passedReport = QStringLiteral(":/reports/passed.xrd");

// The plug-in as the host uses it, through the host SDK only, initialised
// once per process with a recording host and a background not the default.
class TestPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filtersAreTranslated();
    void initializeRestoresTheSavedPreferencesOnce();
    void sessionWorksWithoutWidgets();

private:
    std::unique_ptr<QAStViewerWindow> create(QStringList files, bool activate = true)
    {
        return std::unique_ptr<QAStViewerWindow>(m_plugin->create(files, activate, nullptr, ""));
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
    m_plugin->initialize(&m_studio, savedPreferences(QColor(0x204060)).get());
}

void TestPlugin::filtersAreTranslated()
{
    QTranslator french;
    QVERIFY(french.load(QStringLiteral(":/i18n/xrdview_fr.qm")));
    QCoreApplication::installTranslator(&french);
    const QStringList filters = m_plugin->filters();
    QCoreApplication::removeTranslator(&french);
    QCOMPARE(filters, QStringList({"Rapport (*.xrd)", "Résultats de tests (*.xml *.trx *.tap)"}));
}

void TestPlugin::initializeRestoresTheSavedPreferencesOnce()
{
    QCOMPARE(viewBackground(create({}).get()), QColor(0x204060));
    QCOMPARE(m_hostWindow.findChildren<QToolBar*>().size(), 1);
    // Later calls, from any new plug-in object, change nothing.
    RecordingStudio otherStudio;
    QMainWindow otherWindow;
    otherStudio.window = &otherWindow;
    std::unique_ptr<QAStViewerPlugin> other(createPlugin());
    QVERIFY(other && other != m_plugin);
    other->initialize(&otherStudio, savedPreferences(Qt::yellow).get());
    m_plugin->initialize(&m_studio, savedPreferences(Qt::yellow).get());
    QVERIFY(otherStudio.producers.isEmpty() && otherWindow.findChildren<QToolBar*>().isEmpty());
    QCOMPARE(m_studio.producers.size(), qsizetype(1));
    QCOMPARE(viewBackground(create({}).get()), QColor(0x204060));
    // Created windows are found by the exact path of a report they show.
    QVERIFY(!m_plugin->openedWindow(mainReport));
    auto first = create({mainReport}, false);
    auto second = create({passedReport, mainReport});
    QCOMPARE(m_plugin->openedWindow(mainReport), first.get());
    QCOMPARE(m_plugin->openedWindow(passedReport), second.get());
    QVERIFY(!m_plugin->openedWindow(QStringLiteral(":/reports/MAIN.xrd")));
    first.reset();
    QCOMPARE(m_plugin->openedWindow(mainReport), second.get());
}

// What the command line asks of the plug-in: read, filter, walk, export and
// write, without making a single widget.
void TestPlugin::sessionWorksWithoutWidgets()
{
    QAMessageBox::setCommandLineMode(true);
    const QWidgetList widgetsBefore = QApplication::allWidgets();
    std::unique_ptr<QAStReportSession> session = m_plugin->createSession();
    session->open({mainReport, ":/reports/missing.xrd", passedReport});
    QCOMPARE(session->loadedFiles(), QStringList({mainReport, passedReport}));
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
    QVERIFY2(session->exportHtml(dir.filePath("html"), &progress, &log),
             qPrintable(log.errors.join('\n')));
    QString error;
    QVERIFY2(session->writeReport(dir.filePath("both.xrd"), &error), qPrintable(error));
    QVERIFY(QFile::exists(dir.filePath("html/index.html")) &&
            readFile(dir.filePath("both.xrd")).contains("failing"));
    session.reset();
    QAMessageBox::setCommandLineMode(false);
    QCOMPARE(QApplication::allWidgets().size(), widgetsBefore.size());
}

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
