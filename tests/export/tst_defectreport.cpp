#include "files.h"
#include "qafolderdefecttracker.h"
#include "qareporter.h"
#include "qareportercommands.h"
#include "qareporterexportcommands.h"
#include "qarlistviewitem.h"
#include "qastoutputwidget.h"
#include "qastworkspace.h"
#include "reporterhost.h"
#include "tallyvaneinterface.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray report = "<XROD><DOCUMENT name='r' title='R'><TITLE level='1' name='top'>R</TITLE>"
                          "<XROD:NODE name='case1' type='testcase' state='ko' sum='1'>"
                          "<PARAGRAPH name='case1'>Failed.</PARAGRAPH></XROD:NODE>"
                          "</DOCUMENT></XROD>";

// A defect tracker client that records its calls as text. The operations
// named in `refused` fail with "<operation> refused"; with `commandLines`
// each operation reports "cmd <operation>" as its command line.
class FakeTracker : public TallyvaneInterface
{
public:
    FakeTracker() : TallyvaneInterface("", "", "", "", "", "") {}
    short createForm() override { return record("createForm"); }
    short setHeadLine(const char* text) override { return record("setHeadLine", text); }
    short setDescription(const char* text) override { return record("setDescription", text); }
    short addFileAttachment(const char* path, const char* description) override
    {
        return record("addFileAttachment", QByteArray(path) + '|' + description);
    }
    short showTallyvaneDefectWindow(short modal) override
    {
        return record("showTallyvaneDefectWindow", QByteArray::number(modal));
    }

    QStringList calls;
    QStringList refused;
    bool commandLines = false;

private:
    short record(const QString& operation, const QByteArray& arguments = QByteArray())
    {
        startOperation();
        calls << operation + (arguments.isNull() ? "" : "|" + QString::fromLocal8Bit(arguments));
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
    QString productName() const override { return "P"; }
    TallyvaneInterface* tracker = nullptr;
};

} // namespace

class TestDefectReport : public QObject
{
    Q_OBJECT

private slots:
    void submissionDrivesTheClient_data();
    void submissionDrivesTheClient();
    void folderTrackerFilesEachDefectInAFolder();
    void commandTrackerRunsTheCommand();
};

void TestDefectReport::submissionDrivesTheClient_data()
{
    // The setup names the item selected ("" for a window without report,
    // "loose" for an item outside every document), "no tracker", "no
    // output", "cmd" (the client reports command lines) and the operations
    // the client refuses. Calls are joined by new lines; %1 is the report.
    QTest::addColumn<QString>("testName");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("calls");
    const QString start = "Submit Defect Report ...\n";
    const QStringList full{
        "createForm", "setHeadLine|PW:T:r.xrd:case1",
        "setDescription|Workspace:  W\r\nTest:       T\r\nReport file:  r.xrd\r\n"
        "Item failed:  case1\r\nItem type:   testcase\r\n",
        "addFileAttachment|%1|Report File", "showTallyvaneDefectWindow|0"};
    QTest::addRow("every part named") << "T" << QStringList{"case1"} << start << full.join('\n');
    QStringList calls = full;
    calls[1] = "setHeadLine|Pr.xrd:case1";
    calls[2] =
        "setDescription|Report file:  r.xrd\r\nItem failed:  case1\r\nItem type:   testcase\r\n";
    QTest::addRow("no test name") << "" << QStringList{"case1"} << start << calls.join('\n');
    calls = full;
    calls[1] = "setHeadLine|PW:T:r.xrd:r.xrd";
    calls[2] = "setDescription|Workspace:  W\r\nTest:       T\r\nReport file:  r.xrd\r\n"
               "Item failed:  r.xrd\r\nItem type:   \r\n";
    QTest::addRow("the file item") << "T" << QStringList{"r.xrd"} << start << calls.join('\n');
    QTest::addRow("no tracker") << "T" << QStringList{"case1", "no tracker"}
                                << "Submit Defect Report Failed ...\n"
                                << "";
    QTest::addRow("no selection") << "T" << QStringList{""}
                                  << start + "No nodes selected\nStopped.\n"
                                  << "";
    QTest::addRow("no data") << "T" << QStringList{"loose"} << start + "Can't find data\nStopped.\n"
                             << "";
    QTest::addRow("no output") << "T" << QStringList{"case1", "no output", "setHeadLine"} << ""
                               << full.join('\n');
    for (int call = 0; call < full.size(); ++call) {
        const QString operation = full[call].section('|', 0, 0);
        const bool stops = call == 0 || call == full.size() - 1;
        QTest::addRow("%s refused", qPrintable(operation))
            << "T" << QStringList{"case1", operation}
            << start + (stops ? "" : "Warning ...\n") + operation + " refused\n" +
                   (stops ? "Stopped.\n" : "")
            << full.mid(0, call == 0 ? 1 : full.size()).join('\n');
    }
    QTest::addRow("command lines before their failure")
        << "T" << QStringList{"case1", "cmd", "setDescription", "showTallyvaneDefectWindow"}
        << start +
               "cmd createForm\ncmd setHeadLine\ncmd setDescription\nWarning ...\nsetDescription "
               "refused\ncmd addFileAttachment\ncmd showTallyvaneDefectWindow\n"
               "showTallyvaneDefectWindow refused\nStopped.\n"
        << full.join('\n');
}

void TestDefectReport::submissionDrivesTheClient()
{
    QFETCH(QString, testName);
    QFETCH(QStringList, setup);
    QFETCH(QString, calls);
    QTemporaryDir dir;
    const QString path = dir.filePath("r.xrd");
    QVERIFY(writeFile(path, report));
    FakeTracker tracker;
    tracker.refused = setup;
    tracker.commandLines = setup.contains("cmd");
    ReporterHost<TrackerStudio> host;
    host.studio.tracker = setup.contains("no tracker") ? nullptr : &tracker;
    QAStOutputWidget output;
    host.studio.output = setup.contains("no output") ? nullptr : &output;
    const auto opened = host.open(setup.first().isEmpty() ? QStringList() : QStringList{path});
    QAReporter& window = *opened;
    QAStWorkspace workspace("W");
    window.setTestNode(&workspace, testName);
    if (setup.first() == "loose") { // an item of the tree outside every document
        window.reportTree()->addTopLevelItem(new QARListViewItem);
        window.reportTree()->topLevelItem(1)->setText(0, "loose");
    }
    const auto items = window.reportTree()->findItems(setup.first(), Qt::MatchRecursive);
    window.reportTree()->setCurrentItem(items.value(0));

    // Through the window's slot, as the menus do.
    auto previous = installReporterCommands(std::make_unique<QAReporterExportCommands>());
    window.submitTallyvane();
    installReporterCommands(std::move(previous));
    QTEST(output.toPlainText(), "output");
    QCOMPARE(tracker.calls.join('\n'), calls.arg(QDir::toNativeSeparators(path)));
    QVERIFY(host.studio.calls.contains("showOutputWidget"));
}

void TestDefectReport::folderTrackerFilesEachDefectInAFolder()
{
    QTemporaryDir dir;
    const QString report = dir.filePath("r.xrd");
    QVERIFY(writeFile(report, "<XROD/>"));
    QAFolderDefectTracker tracker(dir.filePath("defects"));
    QVERIFY(tracker.establishConnection());
    QVERIFY(!tracker.setHeadLine("no form"));
    QCOMPARE(QByteArray(tracker.getErrorMessage()), QByteArray("No defect form is open."));
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QStringList shown;
    bool fileIt = true;
    tracker.setEditor([&](QString& headline, QString& description, const QString& attachment) {
        shown << headline << description << attachment;
        headline += " (edited)";
        description.replace("\r\n", " / ");
        return fileIt;
    });
    const QByteArray missing = dir.filePath("missing.xrd").toLocal8Bit();
    const auto fill = [&] {
        return tracker.createForm() && tracker.setHeadLine("P:T:r.xrd:case1") &&
               tracker.setDescription("Test: T\r\nItem: case1\r\n") &&
               !tracker.addFileAttachment(missing.constData(), "Report File") &&
               QByteArray(tracker.getErrorMessage()).contains(missing) &&
               tracker.addFileAttachment(report.toLocal8Bit().constData(), "Report File");
    };
    QVERIFY(fill());
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QVERIFY(!tracker.activatedCmdLine());
    QCOMPARE(shown, QStringList({"P:T:r.xrd:case1", "Test: T\r\nItem: case1\r\n", report}));
    const QString folder = tracker.lastDefectDir();
    QCOMPARE(QFileInfo(folder).absolutePath(),
             QFileInfo(dir.filePath("defects")).absoluteFilePath());
    QCOMPARE(readFile(folder + "/headline.txt"), QByteArray("P:T:r.xrd:case1 (edited)"));
    QCOMPARE(readFile(folder + "/description.txt"), QByteArray("Test: T / Item: case1 / "));
    QCOMPARE(readFile(folder + "/r.xrd"), QByteArray("<XROD/>"));
    const QJsonObject index = QJsonDocument::fromJson(readFile(folder + "/index.json")).object();
    QCOMPARE(QStringList({index["headline"].toString(), index["description"].toString(),
                          index["attachment"].toString()}),
             QStringList({"P:T:r.xrd:case1 (edited)", "Test: T / Item: case1 / ", "r.xrd"}));
    QVERIFY(QDateTime::fromString(index["created"].toString(), Qt::ISODate).isValid());
    // A filed form is closed: the next defect needs a new one, and gets a
    // folder of its own.
    QVERIFY(!tracker.setDescription("late"));
    QVERIFY(fill());
    QVERIFY(tracker.showTallyvaneDefectWindow(0));
    QVERIFY(tracker.lastDefectDir() != folder);
    QCOMPARE(readFile(folder + "/headline.txt"), QByteArray("P:T:r.xrd:case1 (edited)"));

    // Cancelled in the editor: an error, no new folder, the form stays open.
    const QDir defects(dir.filePath("defects"));
    const QStringList before = defects.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    fileIt = false;
    QVERIFY(fill());
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QVERIFY(QByteArray(tracker.getErrorMessage()).contains("cancelled"));
    QCOMPARE(defects.entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
    QVERIFY(tracker.setHeadLine("still open"));
}

void TestDefectReport::commandTrackerRunsTheCommand()
{
    // The command writes what it was given beside itself, to be read back.
    QTemporaryDir dir;
    const QString script = dir.filePath("tracker.sh");
    const QString out = dir.filePath("out");
    QVERIFY(writeFile(script,
                      "test \"$1\" = fail && echo \"no tracker at $1\" >&2 && exit 3\n"
                      "printf %s \"$1\" > \"$4.headline\"\ncat \"$2\" > \"$4.description\"\n"
                      "printf %s \"$3\" > \"$4.attachment\"\n"));
    QAFolderDefectTracker tracker(dir.filePath("defects"),
                                  QString("sh %1 {headline} {description-file} "
                                          "\"{attachment} ({attachment-description})\" %2")
                                      .arg(script, out));
    QVERIFY(tracker.createForm());
    QVERIFY(tracker.setHeadLine("P W: two words"));
    QVERIFY(tracker.setDescription("line 1\r\nline 2\r\n"));
    QVERIFY(tracker.addFileAttachment(script.toLocal8Bit().constData(), "Script"));
    QVERIFY(!tracker.activatedCmdLine());
    QVERIFY2(tracker.showTallyvaneDefectWindow(0), tracker.getErrorMessage());
    QCOMPARE(readFile(out + ".headline"), QByteArray("P W: two words"));
    QCOMPARE(readFile(out + ".description"), QByteArray("line 1\r\nline 2\r\n"));
    QCOMPARE(readFile(out + ".attachment"), (script + " (Script)").toLocal8Bit());
    QVERIFY(tracker.activatedCmdLine());
    const QByteArray cmdLine = tracker.getCmdLine();
    QVERIFY2(cmdLine.startsWith("sh " + script.toLocal8Bit()) &&
                 cmdLine.contains(" \"P W: two words\" "),
             cmdLine.constData());
    // Nothing is filed in the folder when a command does it.
    QVERIFY(!QDir(dir.filePath("defects")).exists());

    // The command's error output is the error; a missing program says so.
    QVERIFY(tracker.createForm() && tracker.setHeadLine("fail"));
    QVERIFY(!tracker.showTallyvaneDefectWindow(0));
    QCOMPARE(QByteArray(tracker.getErrorMessage()), QByteArray("no tracker at fail"));
    QAFolderDefectTracker missing(dir.filePath("defects"), dir.filePath("nothing") + " {headline}");
    QVERIFY(missing.createForm());
    QVERIFY(!missing.showTallyvaneDefectWindow(0));
    QVERIFY2(QByteArray(missing.getErrorMessage()).startsWith("Cannot run "),
             missing.getErrorMessage());
}

QTEST_MAIN(TestDefectReport)
#include "tst_defectreport.moc"
