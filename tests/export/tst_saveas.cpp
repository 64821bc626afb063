#include "answeredboxes.h"
#include "files.h"
#include "qareporter.h"
#include "qareportersaveas.h"
#include "reporterhost.h"

#include <QTemporaryDir>
#include <QtTest>

using Answers = QList<QMessageBox::StandardButton>;

class TestSaveAs : public QObject
{
    Q_OBJECT

private slots:
    void savesEachReportUntilADestinationIsAccepted_data();
    void savesEachReportUntilADestinationIsAccepted();
};

void TestSaveAs::savesEachReportUntilADestinationIsAccepted_data()
{
    // The file dialog's answers ("" cancels, as it does when none is left)
    // in the folder of r1.xrd, r2.xrd and r3.xrd; the reports it asks for;
    // "copy=1" means copy holds r1's bytes, "copy=" that there is no copy.
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QStringList>("files");
    const QString unsaved = "xrdview: The file could not be save.\nPlease check if you have ";
    const QString overwrite = "xrdview: The file already exists.\nDo you want to overwrite it?";
    // The third report keeps CR LF line ends and a non-ASCII comment.
    QTest::addRow("each report in order, byte for byte")
        << QStringList{"c1", "", "c3"} << Answers() << QStringList() << "123"
        << QStringList{"c1=1", "c2=", "c3=3"};
    QTest::addRow("the source asks again")
        << QStringList{"r1.xrd", "c1"} << Answers()
        << QStringList{"xrdview: Source and destination files are the sames.\nPlease select an "
                       "other file."}
        << "1123" << QStringList{"c1=1", "r1.xrd=1"};
    QTest::addRow("an existing file, overwritten after a cancel")
        << QStringList{"r2.xrd", "r2.xrd"} << Answers{QMessageBox::Cancel, QMessageBox::Yes}
        << QStringList{overwrite, overwrite} << "1123" << QStringList{"r2.xrd=1"};
    // Not even the super-user, who writes into read-only folders, can create
    // a file in /proc. A failed copy goes on with the next report.
    QTest::addRow("a destination in /proc")
        << QStringList{"/proc/c1", "c2"} << Answers() << QStringList{unsaved + "write permission."}
        << "123" << QStringList{"/proc/c1=", "c2=2"};
    // The destination is written only once the source is read whole.
    QTest::addRow("an unreadable source")
        << QStringList{"c1", "c2"} << Answers() << QStringList{unsaved + "read permission."}
        << "123" << QStringList{"c1=", "c2=2"};
}

void TestSaveAs::savesEachReportUntilADestinationIsAccepted()
{
    QFETCH(QStringList, chosen);
    QFETCH(Answers, answers);
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    ReporterHost<> host;
    QByteArray crlf = readFile(":/reports/passed.xrd").replace("\n", "\r\n");
    crlf.replace("<XROD>", "<XROD><!-- \xc3\xa9t\xc3\xa9 -->");
    const QList<QByteArray> bytes{readFile(":/reports/main.xrd"), readFile(":/reports/passed.xrd"),
                                  crlf};
    QStringList reports;
    for (int index = 0; index < bytes.size(); ++index) {
        reports << dir.filePath(QString("r%1.xrd").arg(index + 1));
        QVERIFY(writeFile(reports.last(), bytes[index]));
    }
    const auto window = host.open(reports);
    if (QTest::currentDataTag() == QByteArray("an unreadable source"))
        QVERIFY(QFile::remove(reports[0]));
    AnsweredBoxes boxes(answers);
    QString asked;
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser([&](QWidget* parent, const QString& caption, const QString& directory,
                          const QString& filter) {
        asked += caption.section(".xrd", 0, 0).right(1);
        const bool right = parent == window.get() && filter == "Report File (*.xrd)" &&
                           QFileInfo(directory) == QFileInfo(dir.path()) &&
                           caption == QString("Save r%1.xrd Report As").arg(asked.right(1));
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
            QCOMPARE(readFile(path), bytes[source.toInt() - 1]);
    }
}

QTEST_MAIN(TestSaveAs)
#include "tst_saveas.moc"
