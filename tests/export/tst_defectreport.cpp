#include "files.h"
#include "qafolderdefecttracker.h"
#include "qareporter.h"
#include "qareportercommands.h"
#include "qareporterdefectreport.h"
#include "qareporterexportcommands.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qastoutputwidget.h"
#include "qastworkspace.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"
#include "tallyvaneinterface.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray report =
    "<XROD>\n"
    "  <DOCUMENT name=\"r\" title=\"R\">\n"
    "    <TITLE level=\"1\" name=\"top\">R</TITLE>\n"
    "    <XROD:NODE name=\"case1\" type=\"testcase\" state=\"ko\" sum=\"1\">\n"
    "      <PARAGRAPH name=\"case1\">Failed.</PARAGRAPH>\n"
    "    </XROD:NODE>\n"
    "  </DOCUMENT>\n"
    "</XROD>\n";

// A defect tracker client that records its calls as text. The operations
// named in `refused` fail with "<operation> refused"; with `commandLines`
// each operation reports "cmd <operation>" as its command line.
class FakeTracker : public TallyvaneInterface
{
public:
    FakeTracker() : TallyvaneInterface("", "", "", "", "", "") {}

    short createForm() override { return record("createForm", {}); }
    short setHeadLine(const char* text) override { return record("setHeadLine", {text}); }
    short setDescription(const char* text) override { return record("setDescription", {text}); }
    short addFileAttachment(const char* path, const char* description) override
    {
        return record("addFileAttachment", {path, description});
    }
    short showTallyvaneDefectWindow(short modal) override
    {
        return record("showTallyvaneDefectWindow", {QByteArray::number(modal)});
    }

    QStringList calls;
    QStringList refused;
    bool commandLines = false;

private:
    short record(const QString& operation, const QList<QByteArray>& arguments)
    {
        startOperation();
        QStringList call = {operation};
        for (const QByteArray& argument : arguments)
            call << QString::fromLocal8Bit(argument);
        calls << call.join('|');
        if (commandLines)
            setCmdLine("cmd " + operation.toLocal8Bit());
        return refused.contains(operation) ? fail(operation.toLocal8Bit() + " refused") : 1;
    }
};

// The host with a defect tracker and a product name of its own.
class TrackerStudio : public RecordingStudio
{
public:
    TallyvaneInterface* defectTracker() const override { return tracker; }
    QString productName() const override { return product; }

    TallyvaneInterface* tracker = nullptr;
    QString product = "P";
};

QTreeWidgetItem* itemNamed(QAReporter& window, const QString& text)
{
    const QList<QTreeWidgetItem*> found =
        window.reportTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

} // namespace

class TestDefectReport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headlineAndDescriptionNameEveryPart();
    void emptyTestNameLeavesOutWorkspaceAndTest();
    void fileItemIsItsOwnReportFile();
    void stopsBeforeTheClient_data();
    void stopsBeforeTheClient();
    void clientFailures_data();
    void clientFailures();
    void commandLinesComeBeforeTheirFailure();
    void withoutOutputTheClientIsDrivenAllTheSame();
    void folderTrackerFilesAFolder();
    void folderTrackerRefusesOutOfOrder();
    void lastEditChangesOrCancelsTheDefect();
    void commandTrackerRunsTheCommand();
    void commandTrackerReportsTheCommandError();

private:
    std::unique_ptr<QAReporter> openReport();
    // Submits through the window's slot, as the menus do.
    void submit(QAReporter& window);
    QString output() const { return m_output->toPlainText(); }
    QString reportPath() const { return m_dir->filePath("r.xrd"); }
    QStringList fullCalls() const;
    // A shell script in the temporary folder, for the command tracker.
    QString writeScript(const QByteArray& text) const;

    TrackerStudio m_studio;
    FakeTracker m_tracker;
    std::unique_ptr<ScopedPreferences> m_preferences;
    std::unique_ptr<QMainWindow> m_hostWindow;
    std::unique_ptr<QAStOutputWidget> m_output;
    std::unique_ptr<QTemporaryDir> m_dir;
    QAStWorkspace m_workspace{"W"};
};

void TestDefectReport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile file(reportPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(report) == report.size());
    file.close();
    m_tracker.calls.clear();
    m_tracker.refused.clear();
    m_tracker.commandLines = false;
    m_studio = TrackerStudio();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_output = std::make_unique<QAStOutputWidget>();
    m_studio.output = m_output.get();
    m_studio.tracker = &m_tracker;
    m_preferences = std::make_unique<ScopedPreferences>(&m_studio);
}

void TestDefectReport::cleanup()
{
    m_preferences.reset();
    m_output.reset();
    m_hostWindow.reset();
    m_dir.reset();
}

std::unique_ptr<QAReporter> TestDefectReport::openReport()
{
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QStringList files = {reportPath()};
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

void TestDefectReport::submit(QAReporter& window)
{
    auto previous = installReporterCommands(std::make_unique<QAReporterExportCommands>());
    window.submitTallyvane();
    installReporterCommands(std::move(previous));
}

// The calls of a submission that goes through, for the item case1 of a
// test T in workspace W.
QStringList TestDefectReport::fullCalls() const
{
    return {"createForm", "setHeadLine|PW:T:r.xrd:case1",
            "setDescription|Workspace:  W\r\nTest:       T\r\nReport file:  r.xrd\r\n"
            "Item failed:  case1\r\nItem type:   testcase\r\n",
            "addFileAttachment|" + QDir::toNativeSeparators(reportPath()) + "|Report File",
            "showTallyvaneDefectWindow|0"};
}

QString TestDefectReport::writeScript(const QByteArray& text) const
{
    const QString path = m_dir->filePath("tracker.sh");
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? path : QString();
}

void TestDefectReport::headlineAndDescriptionNameEveryPart()
{
    auto window = openReport();
    window->setTestNode(&m_workspace, "T");
    window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    submit(*window);
    QCOMPARE(m_tracker.calls, fullCalls());
    QCOMPARE(output(), QString("Submit Defect Report ...\n"));
    QVERIFY(m_studio.calls.contains("showOutputWidget"));
}

void TestDefectReport::emptyTestNameLeavesOutWorkspaceAndTest()
{
    auto window = openReport();
    window->setTestNode(&m_workspace, QString());
    window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    QAReporterDefectReport defect(window.get());
    defect.run();
    QCOMPARE(defect.headline(), QString("Pr.xrd:case1"));
    QCOMPARE(defect.description(), QString("Report file:  r.xrd\r\nItem failed:  case1\r\n"
                                           "Item type:   testcase\r\n"));
}

void TestDefectReport::fileItemIsItsOwnReportFile()
{
    auto window = openReport();
    window->setTestNode(&m_workspace, "T");
    window->reportTree()->setCurrentItem(itemNamed(*window, "r.xrd"));
    QAReporterDefectReport defect(window.get());
    defect.run();
    QCOMPARE(defect.headline(), QString("PW:T:r.xrd:r.xrd"));
    QCOMPARE(defect.description(), QString("Workspace:  W\r\nTest:       T\r\nReport file:  "
                                           "r.xrd\r\nItem failed:  r.xrd\r\nItem type:   \r\n"));
    QCOMPARE(m_tracker.calls.size(), 5);
}

void TestDefectReport::stopsBeforeTheClient_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no tracker") << "no tracker"
                                << "Submit Defect Report Failed ...\n";
    QTest::newRow("no selection") << "no selection"
                                  << "Submit Defect Report ...\nNo nodes selected\nStopped.\n";
    QTest::newRow("no data") << "no data"
                             << "Submit Defect Report ...\nCan't find data\nStopped.\n";
}

void TestDefectReport::stopsBeforeTheClient()
{
    QFETCH(QString, situation);
    QFETCH(QString, expected);
    std::unique_ptr<QAReporter> window;
    if (situation == "no selection") {
        window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    } else {
        window = openReport();
        window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    }
    if (situation == "no tracker")
        m_studio.tracker = nullptr;
    if (situation == "no data") {
        // An item of the tree that points into no document.
        auto* loose = new QARListViewItem;
        loose->setText(0, "loose");
        window->reportTree()->addTopLevelItem(loose);
        window->reportTree()->setCurrentItem(loose);
    }
    submit(*window);
    QCOMPARE(output(), expected);
    QVERIFY(m_tracker.calls.isEmpty());
}

void TestDefectReport::clientFailures_data()
{
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("callCount");
    QTest::addColumn<QString>("expected");
    const QString start = "Submit Defect Report ...\n";
    QTest::newRow("form") << "createForm" << 1 << start + "createForm refused\nStopped.\n";
    QTest::newRow("headline") << "setHeadLine" << 5 << start + "Warning ...\nsetHeadLine refused\n";
    QTest::newRow("description") << "setDescription" << 5
                                 << start + "Warning ...\nsetDescription refused\n";
    QTest::newRow("attachment") << "addFileAttachment" << 5
                                << start + "Warning ...\naddFileAttachment refused\n";
    QTest::newRow("show") << "showTallyvaneDefectWindow" << 5
                          << start + "showTallyvaneDefectWindow refused\nStopped.\n";
}

void TestDefectReport::clientFailures()
{
    QFETCH(QString, refused);
    QFETCH(int, callCount);
    QFETCH(QString, expected);
    auto window = openReport();
    window->setTestNode(&m_workspace, "T");
    window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    m_tracker.refused = {refused};
    submit(*window);
    QCOMPARE(output(), expected);
    QCOMPARE(m_tracker.calls, fullCalls().mid(0, callCount));
}

void TestDefectReport::commandLinesComeBeforeTheirFailure()
{
    auto window = openReport();
    window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    m_tracker.commandLines = true;
    m_tracker.refused = {"setDescription", "showTallyvaneDefectWindow"};
    submit(*window);
    QCOMPARE(output(), QString("Submit Defect Report ...\n"
                               "cmd createForm\n"
                               "cmd setHeadLine\n"
                               "cmd setDescription\n"
                               "Warning ...\n"
                               "setDescription refused\n"
                               "cmd addFileAttachment\n"
                               "cmd showTallyvaneDefectWindow\n"
                               "showTallyvaneDefectWindow refused\n"
                               "Stopped.\n"));
}

void TestDefectReport::withoutOutputTheClientIsDrivenAllTheSame()
{
    m_studio.output = nullptr;
    auto window = openReport();
    window->setTestNode(&m_workspace, "T");
    window->reportTree()->setCurrentItem(itemNamed(*window, "case1"));
    m_tracker.refused = {"setHeadLine"};
    submit(*window);
    QCOMPARE(m_tracker.calls, fullCalls());
    QVERIFY(m_studio.calls.contains("showOutputWidget"));
    QVERIFY(output().isEmpty());
}

void TestDefectReport::folderTrackerFilesAFolder()
{
    const QString base = m_dir->filePath("defects");
    QAFolderDefectTracker tracker(base);
    QVERIFY(tracker.establishConnection());
    QVERIFY(tracker.createForm());
    QVERIFY(tracker.setHeadLine("PW:T:r.xrd:case1"));
    QVERIFY(tracker.setDescription("Item failed:  case1\r\n"));
    QVERIFY(tracker.addFileAttachment(reportPath().toLocal8Bit().constData(), "Report File"));
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QVERIFY(!tracker.activatedCmdLine());

    const QString folder = tracker.lastDefectDir();
    QCOMPARE(QFileInfo(folder).absolutePath(), QFileInfo(base).absoluteFilePath());
    QCOMPARE(readFile(folder + "/headline.txt"), QByteArray("PW:T:r.xrd:case1"));
    QCOMPARE(readFile(folder + "/description.txt"), QByteArray("Item failed:  case1\r\n"));
    QCOMPARE(readFile(folder + "/r.xrd"), report);
    const QJsonObject index = QJsonDocument::fromJson(readFile(folder + "/index.json")).object();
    QCOMPARE(index["headline"].toString(), QString("PW:T:r.xrd:case1"));
    QCOMPARE(index["description"].toString(), QString("Item failed:  case1\r\n"));
    QCOMPARE(index["attachment"].toString(), QString("r.xrd"));
    QVERIFY(QDateTime::fromString(index["created"].toString(), Qt::ISODate).isValid());

    // A second defect gets a folder of its own.
    QVERIFY(tracker.createForm());
    QVERIFY(tracker.setHeadLine("second"));
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QVERIFY(tracker.lastDefectDir() != folder);
    QCOMPARE(readFile(tracker.lastDefectDir() + "/headline.txt"), QByteArray("second"));
    QCOMPARE(readFile(folder + "/headline.txt"), QByteArray("PW:T:r.xrd:case1"));
}

void TestDefectReport::folderTrackerRefusesOutOfOrder()
{
    QAFolderDefectTracker tracker(m_dir->filePath("defects"));
    QVERIFY(!tracker.setHeadLine("no form"));
    QCOMPARE(QByteArray(tracker.getErrorMessage()), QByteArray("No defect form is open."));
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QVERIFY(tracker.createForm());
    QCOMPARE(QByteArray(tracker.getErrorMessage()), QByteArray());
    const QByteArray missing = m_dir->filePath("missing.xrd").toLocal8Bit();
    QVERIFY(!tracker.addFileAttachment(missing.constData(), "Report File"));
    QVERIFY(QByteArray(tracker.getErrorMessage()).contains(missing));
    // A filed form is closed: the next defect needs a new one.
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QVERIFY(!tracker.setDescription("late"));
    QVERIFY(!QDir(m_dir->filePath("defects")).isEmpty());
}

void TestDefectReport::lastEditChangesOrCancelsTheDefect()
{
    const QString report = m_dir->filePath("r.xrd");
    QVERIFY(writeFile(report, "<XROD/>"));
    QAFolderDefectTracker tracker(m_dir->filePath("defects"));
    QStringList shown;
    bool fileIt = true;
    tracker.setEditor([&](QString& headline, QString& description, const QString& attachment) {
        shown << headline << description << attachment;
        headline += " (edited)";
        description.replace("\r\n", " / ");
        return fileIt;
    });
    const auto fill = [&] {
        return tracker.createForm() && tracker.setHeadLine("P:T:r.xrd:case1") &&
               tracker.setDescription("Test: T\r\nItem: case1\r\n") &&
               tracker.addFileAttachment(report.toLocal8Bit().constData(), "Report File");
    };
    QVERIFY(fill());
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QCOMPARE(shown, QStringList({"P:T:r.xrd:case1", "Test: T\r\nItem: case1\r\n", report}));
    QCOMPARE(readFile(tracker.lastDefectDir() + "/headline.txt"),
             QByteArray("P:T:r.xrd:case1 (edited)"));
    QCOMPARE(readFile(tracker.lastDefectDir() + "/description.txt"),
             QByteArray("Test: T / Item: case1 / "));

    // Cancelled: an error, no new folder, and the form stays open to file.
    const QStringList before =
        QDir(m_dir->filePath("defects")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    fileIt = false;
    QVERIFY(fill());
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QVERIFY(QByteArray(tracker.getErrorMessage()).contains("cancelled"));
    QCOMPARE(QDir(m_dir->filePath("defects")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
}

void TestDefectReport::commandTrackerRunsTheCommand()
{
    // The command writes what it was given into the folder, to be read back.
    const QString out = m_dir->filePath("out");
    const QString script = writeScript("printf %s \"$1\" > \"$4.headline\"\n"
                                       "cat \"$2\" > \"$4.description\"\n"
                                       "printf %s \"$3\" > \"$4.attachment\"\n");
    QAFolderDefectTracker tracker(m_dir->filePath("defects"),
                                  QString("sh %1 {headline} {description-file} "
                                          "\"{attachment} ({attachment-description})\" %2")
                                      .arg(script, out));
    QVERIFY(tracker.createForm());
    QVERIFY(!tracker.activatedCmdLine());
    QVERIFY(tracker.setHeadLine("P W: two words"));
    QVERIFY(tracker.setDescription("line 1\r\nline 2\r\n"));
    QVERIFY(tracker.addFileAttachment(reportPath().toLocal8Bit().constData(), "Report File"));
    QVERIFY2(tracker.showTallyvaneDefectWindow(0), tracker.getErrorMessage());

    QCOMPARE(readFile(out + ".headline"), QByteArray("P W: two words"));
    QCOMPARE(readFile(out + ".description"), QByteArray("line 1\r\nline 2\r\n"));
    QCOMPARE(readFile(out + ".attachment"), (reportPath() + " (Report File)").toLocal8Bit());
    QVERIFY(tracker.activatedCmdLine());
    const QByteArray cmdLine = tracker.getCmdLine();
    QVERIFY2(cmdLine.startsWith("sh " + script.toLocal8Bit()) &&
                 cmdLine.contains(" \"P W: two words\" "),
             cmdLine.constData());
    // Nothing is filed in the folder when a command does it.
    QVERIFY(!QDir(m_dir->filePath("defects")).exists());
}

void TestDefectReport::commandTrackerReportsTheCommandError()
{
    const QString script = writeScript("echo \"no tracker at $1\" >&2\nexit 3\n");
    QAFolderDefectTracker tracker(m_dir->filePath("defects"), "sh " + script + " {headline}");
    QVERIFY(tracker.createForm());
    QVERIFY(tracker.setHeadLine("here"));
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QCOMPARE(QByteArray(tracker.getErrorMessage()), QByteArray("no tracker at here"));
    QVERIFY(tracker.activatedCmdLine());

    QAFolderDefectTracker missing(m_dir->filePath("defects"),
                                  m_dir->filePath("no-such-program") + " {headline}");
    QVERIFY(missing.createForm());
    QVERIFY(!missing.showTallyvaneDefectWindow(0));
    QVERIFY2(QByteArray(missing.getErrorMessage()).startsWith("Cannot run "),
             missing.getErrorMessage());
}

QTEST_MAIN(TestDefectReport)
#include "tst_defectreport.moc"
