#include "answeredboxes.h"
#include "files.h"
#include "qareporter.h"
#include "qareportersaveas.h"
#include "reporterhost.h"

#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using Answers = QList<QMessageBox::StandardButton>;

namespace {

const QString overwrite = "xrdview: The file already exists.\nDo you want to overwrite it?";

} // namespace

class TestSaveAs : public QObject
{
    Q_OBJECT

private slots:
    void savesEachReportUntilADestinationIsAccepted_data();
    void savesEachReportUntilADestinationIsAccepted();
};

void TestSaveAs::savesEachReportUntilADestinationIsAccepted_data()
{
    // The file dialog's answers in turn ("" cancels, then it cancels for
    // good) name files of the test's folder, where the reports are r1.xrd,
    // r2.xrd and r3.xrd; "copy=r1" means copy holds r1's bytes, "copy=" that
    // there is no copy.
    QTest::addColumn<bool>("hostGiven");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("files");
    const QString same =
        "Source and destination files are the sames.\nPlease select an other file.";
    const QString noWrite =
        "xrdview: The file could not be save.\nPlease check if you have write permission.";
    const QStringList inTurn{"1", "2", "3"};
    // The third report keeps CR LF line ends and a non-ASCII comment.
    QTest::addRow("each report in order, byte for byte")
        << true << QStringList{"c1", "", "c3"} << Answers() << QStringList() << inTurn
        << QStringList{"c1=r1", "c2=", "c3=r3"};
    QTest::addRow("the source asks again")
        << true << QStringList{"r1.xrd", "c1"} << Answers() << QStringList{"xrdview: " + same}
        << QStringList{"1", "1", "2", "3"} << QStringList{"c1=r1", "r1.xrd=r1"};
    QTest::addRow("without a host the caption is Report")
        << false << QStringList{"r1.xrd"} << Answers() << QStringList{"Report: " + same}
        << QStringList{"1", "1", "2", "3"} << QStringList{"r1.xrd=r1"};
    for (QMessageBox::StandardButton refusal : {QMessageBox::No, QMessageBox::Cancel}) {
        QTest::addRow("an existing file, overwritten after answer %x", int(refusal))
            << true << QStringList{"r2.xrd", "r2.xrd"} << Answers{refusal, QMessageBox::Yes}
            << QStringList{overwrite, overwrite} << QStringList{"1", "1", "2", "3"}
            << QStringList{"r2.xrd=r1"};
    }
    // Not even the super-user, who writes into read-only folders, can create
    // a file in /proc. A failed copy goes on with the next report.
    for (const QString& folder : {QString("no"), QString("/proc")}) {
        QTest::addRow("a destination in %s", qPrintable(folder))
            << true << QStringList{folder + "/c1", "c2"} << Answers() << QStringList{noWrite}
            << inTurn << QStringList{folder + "/c1=", "c2=r2"};
    }
    // The destination is written only once the source is read whole.
    QTest::addRow("an unreadable source")
        << true << QStringList{"c1", "c2"} << Answers()
        << QStringList{"xrdview: The file could not be save.\nPlease check if you have read "
                       "permission."}
        << inTurn << QStringList{"c1=", "c2=r2"};
}

void TestSaveAs::savesEachReportUntilADestinationIsAccepted()
{
    QFETCH(bool, hostGiven);
    QFETCH(QStringList, chosen);
    QFETCH(Answers, answers);
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    ReporterHost<> host;
    if (!hostGiven)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Style file .* not found"));
    std::optional<ScopedPreferences> hostless;
    if (!hostGiven)
        hostless.emplace(nullptr);
    QByteArray crlf = readFile(":/reports/passed.xrd").replace("\n", "\r\n");
    crlf.replace("<XROD>", "<XROD><!-- \xc3\xa9t\xc3\xa9 -->");
    const QList<QByteArray> bytes{readFile(":/reports/main.xrd"), readFile(":/reports/passed.xrd"),
                                  crlf};
    QStringList reports;
    for (int index = 0; index < bytes.size(); ++index) {
        reports << dir.filePath(QString("r%1.xrd").arg(index + 1));
        QVERIFY(writeFile(reports.last(), bytes[index]));
    }
    const auto opened = host.open(reports);
    QAReporter& window = *opened;
    QCOMPARE(window.records().size(), 3);
    if (QTest::currentDataTag() == QByteArray("an unreadable source"))
        QVERIFY(QFile::remove(reports[0]));

    AnsweredBoxes boxes(answers);
    QStringList asked;
    QAReporterSaveAs saveAs(&window);
    saveAs.setChooser([&](QWidget* parent, const QString& caption, const QString& directory,
                          const QString& filter) {
        asked << caption.section(".xrd", 0, 0).right(1);
        const bool right = parent == &window && filter == "Report File (*.xrd)" &&
                           QFileInfo(directory) == QFileInfo(dir.path()) &&
                           caption == QString("Save r%1.xrd Report As").arg(asked.last());
        const QString answer = right && !chosen.isEmpty() ? chosen.takeFirst() : QString();
        return answer.isEmpty() ? answer : QDir(dir.path()).absoluteFilePath(answer);
    });
    saveAs.run();
    QTEST(boxes.shown, "boxes");
    QTEST(asked, "asked");
    for (const QString& file : files) {
        const QString path = QDir(dir.path()).absoluteFilePath(file.section('=', 0, 0));
        const QString source = file.section('=', 1);
        QCOMPARE(QFile::exists(path), !source.isEmpty());
        if (!source.isEmpty())
            QCOMPARE(readFile(path), bytes[source.right(1).toInt() - 1]);
    }
    QCOMPARE(window.files(), reports);
    for (int box = 0; box < boxes.shown.size(); ++box) {
        QCOMPARE(boxes.buttons[box], boxes.shown[box] == overwrite
                                         ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                         : QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

QTEST_MAIN(TestSaveAs)
#include "tst_saveas.moc"
