#include "files.h"
#include "qafolderdefecttracker.h"
#include "qareporter.h"
#include "qareporterdefectreport.h"
#include "qarlistviewitem.h"
#include "qastoutputwidget.h"
#include "qastworkspace.h"
#include "reporterhost.h"
#include "tallyvaneinterface.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray report = "<XROD><DOCUMENT name='r' title='R'><XROD:NODE name='case1' "
                          "type='testcase' state='ko' sum='1'><PARAGRAPH name='case1'>Failed."
                          "</PARAGRAPH></XROD:NODE></DOCUMENT></XROD>";

// A client that records its calls; the operations `refused` fail, and with
// `commandLines` each operation reports "cmd <operation>" as its command line.
struct FakeTracker : TallyvaneInterface
{
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

    short record(const QString& operation, const QByteArray& arguments = QByteArray())
    {
        startOperation();
        calls << operation + (arguments.isNull() ? "" : "|" + QString::fromLocal8Bit(arguments));
        if (commandLines)
            setCmdLine("cmd " + operation.toLocal8Bit());
        return refused.contains(operation) ? fail(operation.toLocal8Bit() + " refused") : 1;
    }
};

struct TrackerStudio : RecordingStudio
{
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
    void folderOrCommandFilesTheDefect();
};

void TestDefectReport::submissionDrivesTheClient_data()
{
    // The setup names the item selected ("" for a window without report,
    // "loose" for one outside every document), "no tracker", "cmd" (command
    // lines shown) and the operations refused; %1 in the calls is the report.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("calls");
    const QString start = "Submit Defect Report ...\n";
    const QStringList full{
        "createForm", "setHeadLine|PW:T:r.xrd:case1",
        "setDescription|Workspace:  W\r\nTest:       T\r\nReport file:  r.xrd\r\n"
        "Item failed:  case1\r\nItem type:   testcase\r\n",
        "addFileAttachment|%1|Report File", "showTallyvaneDefectWindow|0"};
    QTest::addRow("every part named, command lines shown")
        << QStringList{"case1", "cmd"}
        << start + "cmd createForm\ncmd setHeadLine\ncmd setDescription\ncmd addFileAttachment\n"
                   "cmd showTallyvaneDefectWindow\n"
        << full.join('\n');
    QTest::addRow("no tracker") << QStringList{"case1", "no tracker"}
                                << "Submit Defect Report Failed ...\n"
                                << "";
    QTest::addRow("no selection") << QStringList{""} << start + "No nodes selected\nStopped.\n"
                                  << "";
    QTest::addRow("no data") << QStringList{"loose"} << start + "Can't find data\nStopped.\n"
                             << "";
    for (int call = 0; call < full.size(); ++call) {
        const QString operation = full[call].section('|', 0, 0);
        const bool stops = call == 0 || call == full.size() - 1;
        QTest::addRow("%s refused", qPrintable(operation))
            << QStringList{"case1", operation}
            << start + (stops ? "" : "Warning ...\n") + operation + " refused\n" +
                   (stops ? "Stopped.\n" : "")
            << full.mid(0, call == 0 ? 1 : full.size()).join('\n');
    }
}

void TestDefectReport::submissionDrivesTheClient()
{
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
    host.studio.output = &output;
    const auto window = host.open(setup.first().isEmpty() ? QStringList() : QStringList{path});
    QAStWorkspace workspace("W");
    window->setTestNode(&workspace, "T");
    if (setup.first() == "loose") { // an item of the tree outside every document
        window->reportTree()->addTopLevelItem(new QARListViewItem);
        window->reportTree()->topLevelItem(1)->setText(0, "loose");
    }
    const auto items = window->reportTree()->findItems(setup.first(), Qt::MatchRecursive);
    window->reportTree()->setCurrentItem(items.value(0));

    QAReporterDefectReport(window.get()).run();
    QTEST(output.toPlainText(), "output");
    QCOMPARE(tracker.calls.join('\n').replace(QDir::toNativeSeparators(path), "%1"), calls);
}

// The client the host uses when no tracking tool is set up: a folder per
// defect, or a command that files it.
void TestDefectReport::folderOrCommandFilesTheDefect()
{
    QTemporaryDir dir;
    const QString report = dir.filePath("r.xrd");
    QVERIFY(writeFile(report, "<XROD/>"));
    const auto fill = [&report](QAFolderDefectTracker& client) {
        return client.createForm() && client.setHeadLine("P W: case1") &&
               client.setDescription("Test: T\r\n") &&
               client.addFileAttachment(report.toLocal8Bit().constData(), "Report File");
    };
    QAFolderDefectTracker tracker(dir.filePath("defects"));
    QVERIFY(tracker.establishConnection() && !tracker.setHeadLine("no form"));
    tracker.setEditor([](QString& headline, QString&, const QString& attachment) {
        headline += " (edited " + QFileInfo(attachment).fileName() + ")";
        return true;
    });
    QVERIFY(fill(tracker) && tracker.showTallyvaneDefectWindow(0));
    const QString folder = tracker.lastDefectDir();
    QVERIFY(folder.startsWith(dir.filePath("defects/")));
    QCOMPARE(readFile(folder + "/headline.txt"), QByteArray("P W: case1 (edited r.xrd)"));
    QCOMPARE(readFile(folder + "/description.txt"), QByteArray("Test: T\r\n"));
    QCOMPARE(readFile(folder + "/r.xrd"), QByteArray("<XROD/>"));
    QVERIFY(!tracker.setDescription("late")); // a filed form is closed
    // A command is given the parts as whole arguments.
    const QString script = dir.filePath("tracker.sh");
    QVERIFY(writeFile(script, "printf %s \"$1|$2\" > \"$3\"\n"));
    QAFolderDefectTracker command(
        dir.filePath("none"),
        QString("sh %1 {headline} \"{attachment-description} of {attachment}\" %2")
            .arg(script, dir.filePath("out")));
    QVERIFY(fill(command) && command.showTallyvaneDefectWindow(0));
    QCOMPARE(readFile(dir.filePath("out")), ("P W: case1|Report File of " + report).toLocal8Bit());
}

QTEST_MAIN(TestDefectReport)
#include "tst_defectreport.moc"
