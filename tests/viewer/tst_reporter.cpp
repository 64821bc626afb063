#include "capturedoutput.h"
#include "ddocument.h"
#include "dlink.h"
#include "documentitems.h"
#include "dreportwidget.h"
#include "qamessagebox.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterfilter.h"
#include "qareporternode.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qarpopupmenu.h"
#include "qartoolbar.h"
#include "qastoutputwidget.h"
#include "qastworkspace.h"
#include "qatestcount.h"
#include "qaviewerfinddialog.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"
#include "screenshots.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString reports = QStringLiteral(":/reports/");
const QString mainReport = reports + "main.xrd";
const QString passedReport = reports + "passed.xrd";
const QString brokenReport = reports + "broken.xrd";

// The boxes the window shows, answered without a user.
struct Boxes
{
    Boxes()
    {
        QAMessageBox::setResponder([this](QMessageBox::Icon, const QString& caption,
                                          const QString& text, QMessageBox::StandardButtons) {
            shown << caption + ": " + text;
            return answer;
        });
    }
    ~Boxes() { QAMessageBox::setResponder({}); }
    QStringList shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

QByteArray readResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DItem* itemNamed(const QList<DDocument*>& documents, const QString& name)
{
    for (DDocument* document : documents) {
        for (DItem* item : itemsOf(document)) {
            if (item->name() == name)
                return item;
        }
    }
    return nullptr;
}

DLink* linkNamed(QAReporter& window, const QString& name)
{
    DItem* item = itemNamed(window.reportView()->documents(), name);
    return item && item->kind() == DItem::Link ? static_cast<DLink*>(item) : nullptr;
}

QStringList treeLines(QTreeWidget* tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            ++depth;
        lines << QString(depth * 2, ' ') + (*it)->text(0);
    }
    return lines;
}

QString currentText(QAReporter& window)
{
    QTreeWidgetItem* item = window.reportTree()->currentItem();
    return item ? item->text(0) : QString();
}

} // namespace

class TestReporter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionsCountWindowsOfTheHost();
    void withoutHostWindowTheWindowHasItsOwnToolBar();
    void headerDockFollowsTheNumberOfFiles();
    void unreadableFilesShareOneWarning();
    void samePathLoadsOnceAndDocumentNamesStayUnique();
    void filterWithoutFailureAsksTheQuestion_data();
    void filterWithoutFailureAsksTheQuestion();
    void reassemblyKeepsThePosition();
    void reportLinksReloadOrMove();
    void sourceLinksTakeTheNodeBase_data();
    void sourceLinksTakeTheNodeBase();
    void nextFailedStopsAtTheLast();
    void treeSelectionDrivesTheSubmitEntry();
    void typesHideAndComeBack();
    void watchedFileChangeReloads();
    void rewrittenFileEndsComplete();
    void reloadAskedDuringALoadWaits();
    void testNodeSetsTheCaption();
    void findKeepsTheLastSearch();
    void batchModeWritesTotals();
    void screenshots();

private:
    std::unique_ptr<QAReporter> open(const QStringList& paths);

    RecordingStudio m_studio;
    std::unique_ptr<ScopedPreferences> m_preferences;
    std::unique_ptr<QMainWindow> m_hostWindow;
};

void TestReporter::init()
{
    m_studio = RecordingStudio();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_preferences = std::make_unique<ScopedPreferences>(&m_studio);
}

void TestReporter::cleanup()
{
    m_preferences.reset();
    m_hostWindow.reset();
}

std::unique_ptr<QAReporter> TestReporter::open(const QStringList& paths)
{
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(800, 600);
    QStringList files = paths;
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

void TestReporter::captionsCountWindowsOfTheHost()
{
    auto first = open({});
    const QRegularExpression counted(QStringLiteral("^Test Report \\[(\\d+)\\]$"));
    const QRegularExpressionMatch match = counted.match(first->windowTitle());
    QVERIFY2(match.hasMatch(), qPrintable(first->windowTitle()));
    const int number = match.captured(1).toInt();
    first.reset();
    auto second = open({});
    QCOMPARE(second->windowTitle(), QString("Test Report [%1]").arg(number + 1));
    QCOMPARE(second->reporterToolBar()->parent(), m_hostWindow.get());
    QVERIFY(!second->reportTree()->parent());
    QVERIFY(reporterWindows().contains(second.get()));
}

void TestReporter::withoutHostWindowTheWindowHasItsOwnToolBar()
{
    m_studio.window = nullptr;
    auto window = open({});
    QCOMPARE(window->windowTitle(), QString("Test Report"));
    QCOMPARE(window->reporterToolBar()->parent(), window.get());
    QCOMPARE(window->reporterToolBar()->windowTitle(), QString("Test Report Toolbar"));
}

void TestReporter::headerDockFollowsTheNumberOfFiles()
{
    auto one = open({mainReport});
    QVERIFY(!one->summaryDock()->isVisibleTo(one.get()));
    QVERIFY(!one->isHeaderShown());
    auto two = open({mainReport, passedReport});
    QVERIFY(two->summaryDock()->isVisibleTo(two.get()));
    QCOMPARE(two->summaryView()->documents().value(0), two->summary());
    QCOMPARE(two->summary()->name(), QString("index"));
    QCOMPARE(two->reportView()->documents().size(), 2);
    QCOMPARE(two->reportTree()->topLevelItemCount(), 2);

    // "Print Header" follows the dock, switched from the Commands menu.
    two->activated();
    two->updateToolMenu();
    two->showDock(0);
    QVERIFY(!two->summaryDock()->isVisibleTo(two.get()));
    QVERIFY(!two->isHeaderShown());
    two->showDock(0);
    QVERIFY(two->summaryDock()->isVisibleTo(two.get()));
}

void TestReporter::unreadableFilesShareOneWarning()
{
    Boxes boxes;
    QAStOutputWidget output;
    m_studio.output = &output;
    auto window = open({reports + "missing.xrd", mainReport, brokenReport});
    const QString expected =
        "File(s) not found or corrupted:\n\t" + reports + "missing.xrd\n\t" + brokenReport + "\n";
    QCOMPARE(boxes.shown, QStringList{"Test Report: " + expected});
    QVERIFY(output.toPlainText().startsWith(expected));
    QCOMPARE(window->records().size(), 1);
    QCOMPARE(window->records().first()->fileName, mainReport);
    QCOMPARE(window->reportView()->documents().size(), 1);
}

void TestReporter::samePathLoadsOnceAndDocumentNamesStayUnique()
{
    auto window = open({mainReport, passedReport, mainReport});
    QCOMPARE(window->records().size(), 2);
    // The second "main" took its path's index when read.
    QCOMPARE(window->records().at(1)->document->name(), QString("main1"));
    QStringList more{passedReport};
    window->loadReports(&more);
    QCOMPARE(window->records().size(), 2);
}

void TestReporter::filterWithoutFailureAsksTheQuestion_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("filterOn");
    QTest::addColumn<int>("treeItems");
    QTest::newRow("yes shows all tests") << QMessageBox::Yes << false << 3;
    QTest::newRow("no shows the empty filtered report") << QMessageBox::No << true << 1;
}

void TestReporter::filterWithoutFailureAsksTheQuestion()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, filterOn);
    QFETCH(int, treeItems);
    Boxes boxes;
    boxes.answer = answer;
    auto window = open({passedReport});
    window->failedtests();
    QCOMPARE(boxes.shown, QStringList{"xrdview: The filtered report is empty. \nDo you want to "
                                      "show all tests instead of filtered report"});
    QCOMPARE(window->reporterToolBar()->isFilterOn(), filterOn);
    QCOMPARE(treeLines(window->reportTree()).size(), treeItems);
    window->alltests();
}

void TestReporter::reassemblyKeepsThePosition()
{
    auto window = open({mainReport});
    DReportWidget* view = window->reportView();
    QVERIFY(view->moveTo(QString(), QString(), "failing"));
    QCOMPARE(view->currentItemName(), QString("failing"));
    window->failedtests();
    QVERIFY(window->filterCriteria()->fields() & QAReporterFilterCriteria::StateField);
    QCOMPARE(view->currentItemName(), QString("failing"));
    QCOMPARE(treeLines(window->reportTree()),
             QStringList({"main.xrd", "  suite", "    failing", "    elsewhere"}));
    window->reload();
    QCOMPARE(view->currentItemName(), QString("failing"));
    window->alltests();
    QCOMPARE(view->currentItemName(), QString("failing"));
    QCOMPARE(treeLines(window->reportTree()).size(), 5);
}

void TestReporter::reportLinksReloadOrMove()
{
    auto window = open({mainReport});
    window->resolveLink(linkNamed(*window, "anchorlink"));
    QCOMPARE(window->files(), QStringList{mainReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("passing"));
    // Two reports with the same names: the link stays in its own.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(mainReport, dir.filePath("copy.xrd")));
    auto twice = open({mainReport, dir.filePath("copy.xrd")});
    const QList<DDocument*> second{twice->reportView()->documents().value(1)};
    QVERIFY(second.first());
    twice->resolveLink(static_cast<DLink*>(itemNamed(second, "anchorlink")));
    QCOMPARE(twice->reportView()->currentItem(), itemNamed(second, "passing"));

    window->resolveLink(linkNamed(*window, "otherlink"));
    const QString other = ":/reports" + QString(QDir::separator()) + "sub/other.xrd";
    QCOMPARE(window->files(), QStringList{other});
    QCOMPARE(window->records().size(), 1);
    QCOMPARE(window->records().first()->fileName, other);
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));

    // From a failed-only view: the other report has no failure, so the
    // question comes first and "Yes" shows it whole, at the anchor.
    Boxes boxes;
    boxes.answer = QMessageBox::Yes;
    auto failedOnly = open({mainReport});
    failedOnly->failedtests();
    failedOnly->resolveLink(linkNamed(*failedOnly, "otherlink"));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(failedOnly->records().first()->fileName, other);
    QVERIFY(!failedOnly->reporterToolBar()->isFilterOn());
    QCOMPARE(failedOnly->reportView()->currentItemName(), QString("t3"));
}

void TestReporter::sourceLinksTakeTheNodeBase_data()
{
    QTest::addColumn<bool>("failedOnly");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("location");
    for (bool failedOnly : {false, true}) {
        const char* view = failedOnly ? "failed only: " : "all tests: ";
        QTest::addRow("%srelative file under the suite base", view)
            << failedOnly << "srclink"
            << "openLocation /home/p/src/a.c line 12 3 1";
        QTest::addRow("%sabsolute file unchanged", view) << failedOnly << "abslink"
                                                         << "openLocation /x/a.c line 7 3 1";
    }
    QTest::newRow("text without a line unchanged") << false << "plainlink"
                                                   << "openLocation no place at all 3 1";
}

void TestReporter::sourceLinksTakeTheNodeBase()
{
    QFETCH(bool, failedOnly);
    QFETCH(QString, link);
    QFETCH(QString, location);
    auto window = open({mainReport});
    if (failedOnly)
        window->failedtests();
    DLink* item = linkNamed(*window, link);
    QVERIFY(item);
    m_studio.calls.clear();
    window->resolveLink(item);
    QCOMPARE(m_studio.calls, QStringList{location});
}

void TestReporter::nextFailedStopsAtTheLast()
{
    auto window = open({mainReport});
    window->nextKO();
    QCOMPARE(currentText(*window), QString("suite"));
    window->nextKO();
    QCOMPARE(currentText(*window), QString("failing"));
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    window->nextKO();
    QCOMPARE(currentText(*window), QString("elsewhere"));
    window->nextKO();
    QCOMPARE(currentText(*window), QString("elsewhere"));
    window->prevKO();
    QCOMPARE(currentText(*window), QString("failing"));
}

void TestReporter::treeSelectionDrivesTheSubmitEntry()
{
    auto window = open({mainReport});
    QAction* submit = window->treeSubmitAction();
    QVERIFY(!submit->isEnabled()); // the file item is selected first
    window->nextKO();
    window->nextKO();
    QVERIFY(submit->isEnabled());
    QCOMPARE(submit->text(), QString("&Submit Tallyvane Defect Report"));

    // Right-clicking empty space opens the menu on no item: "Go to" stays put.
    window->showPopupMenu(nullptr, QPoint(), 0);
    window->contextMenu(nullptr, QPoint(), 0);
    QVERIFY(!window->reportTreeMenu()->targetItem);
    window->reportTreeMenu()->hide();
    window->reportView()->moveTo(QString(), QString(), "top");
    window->gotoMenu();
    QCOMPARE(window->reportView()->currentItemName(), QString("top"));
}

void TestReporter::typesHideAndComeBack()
{
    auto window = open({mainReport});
    window->activated();
    window->updateToolMenu();
    QCOMPARE(window->types(), QStringList({"suite", "testcase", "check"}));
    QAction* check = nullptr;
    for (QAction* action : window->commands()->actions())
        check = action->text() == "check" ? action : check;
    QVERIFY(check && check->isChecked());
    window->typeCheck(check->data().toInt());
    QVERIFY(!treeLines(window->reportTree()).contains("    elsewhere"));
    window->updateToolMenu();
    for (QAction* action : window->commands()->actions())
        check = action->text() == "check" ? action : check;
    QVERIFY(!check->isChecked());
    QVERIFY(!treeLines(window->reportTree()).contains("    elsewhere"));
    window->typeCheck(check->data().toInt());
    QVERIFY(treeLines(window->reportTree()).contains("    elsewhere"));
}

void TestReporter::watchedFileChangeReloads()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run report.xrd");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(readResource(passedReport));
    file.close();
    auto window = open({path});
    window->setReloadDelay(50);
    QCOMPARE(window->failedTotal(), 0);

    QSaveFile update(path); // written aside and renamed over the report
    QVERIFY(update.open(QIODevice::WriteOnly));
    update.write(readResource(mainReport));
    QVERIFY(update.commit());
    QTRY_COMPARE(window->failedTotal(), 1);
    QCOMPARE(window->records().first()->fileName, path);

    // Still watched after the rename.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(readResource(passedReport));
    file.close();
    QTRY_COMPARE(window->failedTotal(), 0);
}

void TestReporter::rewrittenFileEndsComplete()
{
    Boxes boxes;
    QTemporaryDir dir;
    const QString path = dir.filePath("rewritten.xrd");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(readResource(passedReport));
    file.close();
    auto window = open({path});
    window->setReloadDelay(50);

    const QByteArray complete = readResource(mainReport);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.flush();
    QTest::qWait(120); // the broken moment lasts longer than the delay
    file.write(complete.left(complete.size() / 2));
    file.flush();
    QTest::qWait(10);
    file.write(complete.mid(complete.size() / 2));
    file.close();
    QTRY_COMPARE(window->failedTotal(), 1);
    QTest::qWait(150);
    QCOMPARE(window->failedTotal(), 1);
    QVERIFY2(boxes.shown.size() <= 1, qPrintable(boxes.shown.join('\n')));
    QCOMPARE(treeLines(window->reportTree()).size(), 5);
}

// A host that runs its event loop while it shows progress lets a watched
// file's change reach the window in the middle of a load.
void TestReporter::reloadAskedDuringALoadWaits()
{
    struct ReloadingStudio : RecordingStudio
    {
        void progressStep(int step) override
        {
            RecordingStudio::progressStep(step);
            if (window && !asked) {
                asked = true;
                window->reload();
            }
        }
        QAReporter* window = nullptr;
        bool asked = false;
    } studio;
    studio.home = m_studio.home;
    ScopedPreferences preferences(&studio);
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    studio.window = nullptr;
    studio.ReloadingStudio::window = window.get();
    QStringList files{mainReport, passedReport};
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    QVERIFY(studio.asked);
    QCOMPARE(window->records().size(), 2);
    auto reads = [&] { return studio.calls.filter("progressStart").filter("Analysing").size(); };
    QCOMPARE(reads(), 2);
    QTRY_COMPARE(reads(), 4); // the waiting reload, once the load is done
    QCOMPARE(window->records().size(), 2);
    QCOMPARE(treeLines(window->reportTree()).size(), 8);
}

void TestReporter::testNodeSetsTheCaption()
{
    m_studio.window = nullptr;
    auto window = open({});
    QSignalSpy captions(window.get(), &QAStudioWindow::captionChanged);
    QAStWorkspace workspace("ws");
    window->setTestNode(&workspace, "suite.case.tc1");
    QCOMPARE(window->windowTitle(), QString("Test Report [tc1]"));
    QCOMPARE(captions.size(), 1);
    QCOMPARE(window->getNode().workspace, &workspace);
    window->setTestNode(nullptr, QString());
    QCOMPARE(window->windowTitle(), QString("Test Report [tc1]"));
    QCOMPARE(captions.size(), 1);
}

void TestReporter::findKeepsTheLastSearch()
{
    auto window = open({mainReport});
    window->find("Suite done");
    QCOMPARE(window->reportView()->selectedText(), QString("Suite done"));

    // The dialog searches at once and leaves its pattern for the next one.
    QPointer<QAViewerFindDialog> first;
    bool firstSeen = false;
    QString initialPattern;
    auto answerDialog = [&](const QString& text) {
        QTimer::singleShot(0, this, [&, text] {
            auto* dialog = m_hostWindow->findChild<QAViewerFindDialog*>("reporter-find-dialog");
            QVERIFY(dialog && dialog->isModal());
            if (!firstSeen)
                first = dialog;
            firstSeen = true;
            auto* pattern = dialog->findChild<QLineEdit*>();
            initialPattern = pattern->text();
            pattern->setText(text);
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == "&Find")
                    button->click();
            }
            dialog->reject();
        });
    };
    answerDialog("Passed, see");
    window->find();
    QCOMPARE(window->reportView()->selectedText(), QString("Passed, see"));
    QVERIFY(first);
    answerDialog("Failed at");
    window->find();
    QVERIFY(!first);
    QCOMPARE(initialPattern, QString("Passed, see"));
    QCOMPARE(window->reportView()->selectedText(), QString("Failed at"));
}

void TestReporter::batchModeWritesTotals()
{
    auto window =
        std::make_unique<QAReporter>("Test Report", QPixmap(), nullptr, Qt::WindowFlags(), false);
    window->setNode(nullptr, "nightly.run");
    QStringList files{mainReport, passedReport};
    CapturedOutput output(1);
    window->setFiles(&files, nullptr, QAStViewerWindow::Batch);
    QCOMPARE(output.text(), QByteArray("TestNode: nightly.run\n"
                                       "\t[5] Test Case Passed\n"
                                       "\t[1] Test Case Failed\n"));
    QVERIFY(window->reportView()->documents().isEmpty());

    // Totals past the largest count stop there instead of wrapping round.
    QStringList huge{reports + "huge1.xrd", reports + "huge2.xrd"};
    auto hugeWindow =
        std::make_unique<QAReporter>("Test Report", QPixmap(), nullptr, Qt::WindowFlags(), false);
    CapturedOutput hugeOutput(1);
    hugeWindow->setFiles(&huge, nullptr, QAStViewerWindow::Batch);
    QCOMPARE(hugeWindow->failedTotal(), QATestCount::Max);
    QVERIFY(hugeOutput.text().endsWith("\t[9223372036854775807] Test Case Failed\n"));
}

void TestReporter::screenshots()
{
    const QString folder = screenshotDir();
    if (folder.isEmpty())
        QSKIP("set XRD_SCREENSHOT_DIR to write screenshots");
    const QString examples = QStringLiteral(XRD_SOURCE_DIR "/examples/");
    auto one = open({examples + "nightly-failures.xrd"});
    one->show();
    QVERIFY(QTest::qWaitForWindowExposed(one.get()));
    one->grab().save(folder + "/window-one.png");
    one->failedtests();
    one->grab().save(folder + "/window-one-failed.png");
    auto two = open({examples + "nightly-failures.xrd", examples + "release-passed.xrd"});
    two->show();
    QVERIFY(QTest::qWaitForWindowExposed(two.get()));
    two->grab().save(folder + "/window-two.png");
    two->failedtests();
    two->grab().save(folder + "/window-two-failed.png");
    two->reportTree()->resize(300, 600);
    two->reportTree()->grab().save(folder + "/window-two-tree.png");
}

QTEST_MAIN(TestReporter)
#include "tst_reporter.moc"
