#include "files.h"
#include "qamessagebox.h"
#include "qareporter.h"
#include "qareportersaveas.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>

namespace {

// The boxes shown, as "caption: text", answered in turn from a list (Ok
// once the list is used up).
struct Boxes
{
    Boxes()
    {
        QAMessageBox::setResponder([this](QMessageBox::Icon, const QString& caption,
                                          const QString& text,
                                          QMessageBox::StandardButtons offered) {
            shown << caption + ": " + text;
            buttons << offered;
            if (answers.empty())
                return QMessageBox::Ok;
            const QMessageBox::StandardButton answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~Boxes() { QAMessageBox::setResponder({}); }
    QStringList shown;
    QList<QMessageBox::StandardButtons> buttons;
    std::deque<QMessageBox::StandardButton> answers;
};

// Stands in for the file dialog: records what it was asked and gives the
// prepared answers in turn (cancels once they are used up).
struct Dialog
{
    QAReporterSaveAs::Chooser chooser()
    {
        return [this](QWidget* parent, const QString& caption, const QString& directory,
                      const QString& filter) {
            parents << parent;
            captions << caption;
            directories << directory;
            filters << filter;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
    }
    QStringList answers;
    QList<QWidget*> parents;
    QStringList captions;
    QStringList directories;
    QStringList filters;
};

const QString sameFile =
    QStringLiteral("Source and destination files are the sames.\nPlease select an other file.");
const QString overwrite = QStringLiteral("The file already exists.\nDo you want to overwrite it?");
const QString noWrite =
    QStringLiteral("The file could not be save.\nPlease check if you have write permission.");
const QString noRead =
    QStringLiteral("The file could not be save.\nPlease check if you have read permission.");

} // namespace

class TestSaveAs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void asksForEachReportInOrder();
    void sourceChosenAsksAgain();
    void existingDestinationAsksBeforeOverwriting_data();
    void existingDestinationAsksBeforeOverwriting();
    void unwritableDestinationWarnsAndGoesOn_data();
    void unwritableDestinationWarnsAndGoesOn();
    void unreadableSourceWarnsAndLeavesNoDestination();
    void withoutHostTheCaptionIsReport();

private:
    // Writes the reports into the temporary folder and opens them in one
    // window. The third keeps CR LF line ends and a non-ASCII comment, which
    // the copy must keep byte for byte.
    std::unique_ptr<QAReporter> openReports(int count);
    QString path(const QString& name) const { return m_dir->filePath(name); }

    RecordingStudio m_studio;
    std::unique_ptr<ScopedPreferences> m_preferences;
    std::unique_ptr<QMainWindow> m_hostWindow;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_reports;
};

void TestSaveAs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_studio = RecordingStudio();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_preferences = std::make_unique<ScopedPreferences>(&m_studio);
}

void TestSaveAs::cleanup()
{
    m_preferences.reset();
    m_hostWindow.reset();
    m_dir.reset();
}

std::unique_ptr<QAReporter> TestSaveAs::openReports(int count)
{
    const QByteArray main = readFile(":/reports/main.xrd");
    QByteArray crlf = readFile(":/reports/passed.xrd");
    crlf.replace("\n", "\r\n");
    crlf.replace("<XROD>", "<XROD><!-- \xc3\xa9t\xc3\xa9 -->");
    const QList<QByteArray> contents = {main, readFile(":/reports/passed.xrd"), crlf};
    m_reports.clear();
    for (int index = 0; index < count; ++index) {
        m_reports << path(QStringLiteral("r%1.xrd").arg(index + 1));
        if (!writeFile(m_reports.last(), contents.value(index)))
            return nullptr;
    }
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QStringList files = m_reports;
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

void TestSaveAs::asksForEachReportInOrder()
{
    auto window = openReports(3);
    QVERIFY(window);
    QCOMPARE(window->records().size(), 3);
    Boxes boxes;
    Dialog dialog;
    dialog.answers = {path("copy1.xrd"), QString(), path("copy3.xrd")};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());
    saveAs.run();

    QCOMPARE(dialog.captions, QStringList({"Save r1.xrd Report As", "Save r2.xrd Report As",
                                           "Save r3.xrd Report As"}));
    QCOMPARE(dialog.directories, QStringList(3, QFileInfo(m_dir->path()).absoluteFilePath()));
    QCOMPARE(dialog.filters, QStringList(3, "Report File (*.xrd)"));
    QCOMPARE(dialog.parents, QList<QWidget*>(3, window.get()));
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(readFile(path("copy1.xrd")), readFile(m_reports[0]));
    QVERIFY(!QFile::exists(path("copy2.xrd")));
    QVERIFY(readFile(m_reports[2]).contains("\r\n"));
    QCOMPARE(readFile(path("copy3.xrd")), readFile(m_reports[2]));
    // The copy leaves the window and its files alone.
    QCOMPARE(window->records().size(), 3);
    QCOMPARE(window->files(), m_reports);
}

void TestSaveAs::sourceChosenAsksAgain()
{
    auto window = openReports(2);
    QVERIFY(window);
    Boxes boxes;
    Dialog dialog;
    dialog.answers = {m_reports[0], path("copy1.xrd"), QString()};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());
    saveAs.run();

    QCOMPARE(boxes.shown, QStringList({"xrdview: " + sameFile}));
    QCOMPARE(boxes.buttons.value(0), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(dialog.captions, QStringList({"Save r1.xrd Report As", "Save r1.xrd Report As",
                                           "Save r2.xrd Report As"}));
    QCOMPARE(readFile(path("copy1.xrd")), readFile(m_reports[0]));
}

void TestSaveAs::existingDestinationAsksBeforeOverwriting_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("firstAnswer");
    QTest::newRow("no") << QMessageBox::No;
    QTest::newRow("cancel") << QMessageBox::Cancel;
}

void TestSaveAs::existingDestinationAsksBeforeOverwriting()
{
    QFETCH(QMessageBox::StandardButton, firstAnswer);
    auto window = openReports(1);
    QVERIFY(window);
    QVERIFY(writeFile(path("old.xrd"), "old bytes"));
    Boxes boxes;
    boxes.answers = {firstAnswer, QMessageBox::Yes};
    Dialog dialog;
    dialog.answers = {path("old.xrd"), path("old.xrd")};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());

    saveAs.run();
    QCOMPARE(boxes.shown, QStringList(2, "xrdview: " + overwrite));
    QCOMPARE(boxes.buttons.value(0), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(dialog.captions.size(), 2);
    QCOMPARE(readFile(path("old.xrd")), readFile(m_reports[0]));
}

void TestSaveAs::unwritableDestinationWarnsAndGoesOn_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << "missing/copy1.xrd";
    // A folder where not even the super-user, who writes into read-only
    // folders, can create a file.
    QTest::newRow("folder nobody may write") << "/proc/copy1.xrd";
}

void TestSaveAs::unwritableDestinationWarnsAndGoesOn()
{
    QFETCH(QString, target);
    auto window = openReports(2);
    QVERIFY(window);
    const QString destination = QDir(m_dir->path()).absoluteFilePath(target);
    Boxes boxes;
    Dialog dialog;
    dialog.answers = {destination, path("copy2.xrd")};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());
    saveAs.run();

    QCOMPARE(boxes.shown, QStringList({"xrdview: " + noWrite}));
    QVERIFY(!QFile::exists(destination));
    QCOMPARE(dialog.captions.size(), 2);
    QCOMPARE(readFile(path("copy2.xrd")), readFile(m_reports[1]));
}

void TestSaveAs::unreadableSourceWarnsAndLeavesNoDestination()
{
    auto window = openReports(2);
    QVERIFY(window);
    QVERIFY(QFile::remove(m_reports[0]));
    Boxes boxes;
    Dialog dialog;
    dialog.answers = {path("copy1.xrd"), path("copy2.xrd")};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());
    saveAs.run();

    QCOMPARE(boxes.shown, QStringList({"xrdview: " + noRead}));
    // The destination is written only once the source is read whole.
    QVERIFY(!QFile::exists(path("copy1.xrd")));
    QCOMPARE(readFile(path("copy2.xrd")), readFile(m_reports[1]));
}

void TestSaveAs::withoutHostTheCaptionIsReport()
{
    m_preferences.reset();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Style file .* not found"));
    m_preferences = std::make_unique<ScopedPreferences>(nullptr);
    auto window = openReports(1);
    QVERIFY(window);
    Boxes boxes;
    Dialog dialog;
    dialog.answers = {m_reports[0]};
    QAReporterSaveAs saveAs(window.get());
    saveAs.setChooser(dialog.chooser());
    saveAs.run();
    QCOMPARE(boxes.shown, QStringList({"Report: " + sameFile}));
}

QTEST_MAIN(TestSaveAs)
#include "tst_saveas.moc"
