#include "answeredboxes.h"
#include "capturedoutput.h"
#include "dblocktext.h"
#include "ddocument.h"
#include "dlink.h"
#include "documentitems.h"
#include "dreportwidget.h"
#include "files.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterdocumentwindow.h"
#include "qareporterhistory.h"
#include "qareporterpref.h"
#include "qareporterprefhistory.h"
#include "qarlistviewitem.h"
#include "qartoolbar.h"
#include "qastoutputwidget.h"
#include "reporterhost.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString reports = QStringLiteral(":/reports/");
const QString mainReport = reports + "main.xrd";
const QString passedReport = reports + "passed.xrd";
const QString otherReport = ":/reports" + QString(QDir::separator()) + "sub/other.xrd";

DLink* linkNamed(QAReporter& window, const QString& name, int document = 0)
{
    for (DItem* item : itemsOf(window.reportView()->documents().value(document))) {
        if (item->name() == name && item->kind() == DItem::Link)
            return static_cast<DLink*>(item);
    }
    return nullptr;
}

int treeSize(QTreeWidget* tree)
{
    int size = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        ++size;
    return size;
}

// The item current in the tree, then the one in the report.
QString current(QAReporter& window)
{
    QTreeWidgetItem* item = window.reportTree()->currentItem();
    return (item ? item->text(0) : QString()) + " " + window.reportView()->currentItemName();
}

} // namespace

class TestReporter : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_host = std::make_unique<ReporterHost<>>(); }
    void cleanup() { m_host.reset(); }

    void captionsAndPictures();
    void unreadableFilesShareOneWarning();
    void filterWithoutFailureAsksTheQuestion_data();
    void filterWithoutFailureAsksTheQuestion();
    void reportLinksMoveOrLoadAndBackReturns();
    void watchedFileChangeReloads();
    void reloadAskedDuringALoadWaits();
    void historyStepsLikeABrowser_data();
    void historyStepsLikeABrowser();
    void keysFindAndLinksMoveThroughTheReport();
    void summaryPaneFitsKeepsItsHeightAndLinks();
    void batchModeWritesTotals();
    void comparisonWindowLinksAndMarks();
    void historyRecordsMarksAndTrends();

private:
    std::unique_ptr<QAReporter> open(const QStringList& files) { return m_host->open(files); }
    void showInHost(QAReporter& window);

    std::unique_ptr<ReporterHost<>> m_host;
};

// Puts the window into the host's main window as the host does (the window
// in the middle, its tree in a pane beside it), shown and active.
void TestReporter::showInHost(QAReporter& window)
{
    QMainWindow& host = m_host->mainWindow;
    window.setWindowFlags(Qt::Widget);
    host.setCentralWidget(&window);
    auto* pane = new QDockWidget(&host);
    pane->setWidget(window.reportTree());
    host.addDockWidget(Qt::LeftDockWidgetArea, pane);
    host.resize(1000, 700);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    window.activated();
}

void TestReporter::captionsAndPictures()
{
    auto first = open({});
    const int number = first->windowTitle().section('[', 1).chopped(1).toInt();
    QVERIFY2(number > 0, qPrintable(first->windowTitle()));
    first.reset();
    auto second = open({});
    QCOMPARE(second->windowTitle(), QString("Test Report [%1]").arg(number + 1));
    // A test node names the window after its last part; no name changes nothing.
    second->setTestNode(nullptr, "suite.case.tc1");
    second->setTestNode(nullptr, QString());
    QCOMPARE(second->windowTitle(), QString("Test Report [tc1]"));
    // Pictures are found beside the report.
    const QString examples = QStringLiteral(XRD_SOURCE_DIR "/examples/");
    auto window = open({examples + "release-passed.xrd"});
    QCOMPARE(window->reportView()->findFile("kestrel-logo.svg"), examples + "kestrel-logo.svg");
}

void TestReporter::unreadableFilesShareOneWarning()
{
    AnsweredBoxes boxes;
    QAStOutputWidget output;
    m_host->studio.output = &output;
    auto window = open({reports + "missing.xrd", mainReport, reports + "broken.xrd"});
    const QString expected = "File(s) not found or corrupted:\n\t" + reports + "missing.xrd\n\t" +
                             reports + "broken.xrd\n";
    QCOMPARE(boxes.shown, QStringList{"Test Report: " + expected});
    QVERIFY(output.toPlainText().startsWith(expected));
    QCOMPARE(window->reportView()->documents().size(), 1);
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
    AnsweredBoxes boxes({answer});
    auto window = open({passedReport});
    window->failedtests();
    QCOMPARE(boxes.shown, QStringList{"xrdview: The filtered report is empty. \nDo you want to "
                                      "show all tests instead of filtered report"});
    QTEST(window->reporterToolBar()->isFilterOn(), "filterOn");
    QTEST(treeSize(window->reportTree()), "treeItems");
}

void TestReporter::reportLinksMoveOrLoadAndBackReturns()
{
    auto window = open({mainReport});
    showInHost(*window);
    QVERIFY(!window->backCommand()->isEnabled());
    window->resolveLink(linkNamed(*window, "anchorlink"));
    QCOMPARE(window->files(), QStringList{mainReport});
    QCOMPARE(current(*window), QString("passing passing"));
    QVERIFY(window->reportView()->moveTo(QString(), QString(), "failing"));
    window->resolveLink(linkNamed(*window, "otherlink"));
    QCOMPARE(window->files(), QStringList{otherReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));
    // Back and forward, by their keys, return to the reports and places.
    QTest::keyClick(window->reportView(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{mainReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QTest::keyClick(window->reportTree(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{otherReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));
    QVERIFY(!window->forwardCommand()->isEnabled());

    // Two reports with the same names: the link stays in its own.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(mainReport, dir.filePath("copy.xrd")));
    auto twice = open({mainReport, dir.filePath("copy.xrd")});
    twice->resolveLink(linkNamed(*twice, "anchorlink", 1));
    QCOMPARE(twice->reportView()->currentItemName(), QString("passing"));
    QVERIFY(itemsOf(twice->reportView()->documents().value(1))
                .contains(twice->reportView()->currentItem()));
}

void TestReporter::watchedFileChangeReloads()
{
    AnsweredBoxes boxes;
    QTemporaryDir dir;
    const QString path = dir.filePath("run report.xrd");
    QVERIFY(writeFile(path, readFile(passedReport)));
    auto window = open({path});
    window->setReloadDelay(50);
    QCOMPARE(window->failedTotal(), 0);
    // Rewritten in place: the broken moment lasts longer than the delay, so
    // the empty file is read, and said to be unreadable, once.
    const QByteArray complete = readFile(mainReport);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.flush();
    QTRY_COMPARE(boxes.shown.size(), 1);
    QVERIFY(window->records().isEmpty());
    // Written in two pieces, with no event handled between them: one
    // change, one reload, of the whole file.
    file.write(complete.left(complete.size() / 2));
    file.flush();
    file.write(complete.mid(complete.size() / 2));
    file.close();
    QTRY_COMPARE(window->failedTotal(), 1);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(treeSize(window->reportTree()), 5);
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
    studio.home = m_host->studio.home;
    ScopedPreferences preferences(&studio);
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    studio.ReloadingStudio::window = window.get();
    QStringList files{mainReport, passedReport};
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    QVERIFY(studio.asked);
    auto reads = [&] { return studio.calls.filter("progressStart").filter("Analysing").size(); };
    QCOMPARE(reads(), 2);
    QTRY_COMPARE(reads(), 4); // the waiting reload, once the load is done
    QCOMPARE(window->records().size(), 2);
    QCOMPARE(treeSize(window->reportTree()), 8);
}

void TestReporter::historyStepsLikeABrowser_data()
{
    // Steps: v visits a new place (p1, p2, ... in order), b goes back, f
    // forward; then the place, "<" when back is possible, ">" when forward is.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    for (const char* row :
         {"bf p0", "vb p0>", "vvbbb p0>", "vvbbff p2<", "vvbbvf p3<", "vvb p1<>"}) {
        const QString text = QString::fromLatin1(row);
        QTest::addRow("%s", row) << text.section(' ', 0, 0) << text.section(' ', 1);
    }
    // A hundred places are kept each way: the first of 101 is dropped.
    QTest::addRow("101 visits back") << QString(101, 'v') + QString(101, 'b') << "p1>";
}

void TestReporter::historyStepsLikeABrowser()
{
    QFETCH(QString, steps);
    QAReporterHistory history;
    int visited = 0;
    QAReporterHistory::Place current{{"p0.xrd"}, "p0"};
    for (const QChar step : steps) {
        if (step == 'v') {
            history.visit(current);
            ++visited;
            current = {{QString("p%1.xrd").arg(visited)}, QString("p%1").arg(visited)};
        } else if (auto next = step == 'b' ? history.back(current) : history.forward(current)) {
            current = *next;
        }
    }
    QTEST(current.position + (history.canGoBack() ? "<" : "") + (history.canGoForward() ? ">" : ""),
          "expected");
}

void TestReporter::keysFindAndLinksMoveThroughTheReport()
{
    auto window = open({mainReport});
    showInHost(*window);
    // F8 goes from failure to failure and stops at the last; Shift+F8 back.
    QTreeWidget* tree = window->reportTree();
    tree->setFocus();
    QStringList visited;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(tree, Qt::Key_F8);
        visited << current(*window);
    }
    QCOMPARE(visited, QStringList({"suite suite", "failing failing", "elsewhere elsewhere",
                                   "elsewhere elsewhere"}));
    QTest::keyClick(tree, Qt::Key_F8, Qt::ShiftModifier);
    QTest::keyClick(tree, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(current(*window), QString("suite suite"));
    // Tab goes from the tree to the report's links; Return follows one.
    QTest::keyClick(tree, Qt::Key_Tab);
    QTRY_VERIFY(window->reportView()->hasFocus());
    m_host->studio.calls.clear();
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "notes"
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "src/a.c line 12"
    QTest::keyClick(window->reportView(), Qt::Key_Return);
    QCOMPARE(m_host->studio.calls, QStringList{"openLocation /home/p/src/a.c line 12 3 1"});
    // Find Next and Previous step through the matches, wrapping round.
    DReportWidget* view = window->reportView();
    window->find("line");
    const QRect first = view->selectionRect();
    QCOMPARE(view->selectedText(), QString("line"));
    window->findNext();
    const QRect second = view->selectionRect();
    QVERIFY(!first.isEmpty() && second != first);
    window->findNext();
    QCOMPARE(view->selectionRect(), first);
    window->findPrevious();
    QCOMPARE(view->selectionRect(), second);
    // Text without a line is opened as it is; in the failed-only view a
    // relative path still takes its node's base.
    window->resolveLink(linkNamed(*window, "plainlink"));
    window->failedtests();
    window->resolveLink(linkNamed(*window, "srclink"));
    QCOMPARE(m_host->studio.calls.filter("openLocation").mid(1),
             QStringList(
                 {"openLocation no place at all 3 1", "openLocation /home/p/src/a.c line 12 3 1"}));
}

void TestReporter::summaryPaneFitsKeepsItsHeightAndLinks()
{
    auto window = open({mainReport, passedReport, reports + "huge1.xrd"});
    showInHost(*window);
    QDockWidget* dock = window->summaryDock();
    // Every row of the summary shows, within half of the window.
    QTRY_VERIFY(dock->height() > 60);
    QTRY_COMPARE(window->summaryView()->verticalScrollBar()->maximum(), 0);
    QVERIFY(dock->height() <= window->height() / 2);
    // The user's height stays through the filter, reloads, and the dock
    // hidden and shown again.
    const int chosen = dock->height() + 37;
    window->resizeDocks({dock}, {chosen}, Qt::Vertical);
    QTRY_COMPARE(dock->height(), chosen);
    window->failedtests();
    window->alltests();
    window->reload();
    QCoreApplication::processEvents();
    QCOMPARE(dock->height(), chosen);
    // The summary's second link, followed, selects the second report.
    DReportWidget* summary = window->summaryView();
    summary->setFocus();
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Return);
    QCOMPARE(window->selectedTreeItem()->text(0), QString("passed.xrd"));
    QVERIFY(window->reportView()->hasFocus());
}

void TestReporter::batchModeWritesTotals()
{
    QAReporter window("Test Report", QPixmap(), nullptr, Qt::WindowFlags(), false);
    window.setNode(nullptr, "nightly.run");
    QStringList files{mainReport, passedReport};
    CapturedOutput output(1);
    window.setFiles(&files, nullptr, QAStViewerWindow::Batch);
    QCOMPARE(output.text(),
             QByteArray("TestNode: nightly.run\n\t[5] Test Case Passed\n\t[1] Test Case Failed\n"));
}

QTEST_MAIN(TestReporter)
#include "tst_reporter.moc"

// The comparison opens in a window of its own; its case links move the
// report to the case; the new failure keeps its mark when the tree is
// filled again for failed tests only; an unreadable earlier run is said.
void TestReporter::comparisonWindowLinksAndMarks()
{
    AnsweredBoxes boxes;
    auto window = open({mainReport});
    showInHost(*window);
    QVERIFY(!window->compareWith(passedReport + ".missing"));
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown.first().contains("passed.xrd.missing"));
    QCOMPARE(window->findChildren<QAReporterDocumentWindow*>().size(), 0);
    QAReporterDocumentWindow* comparison = window->compareWith(passedReport);
    QVERIFY(comparison && comparison->isVisible());
    // The new failures marked in the tree, "*" after those with the tip.
    auto marked = [&window] {
        QStringList names;
        for (QTreeWidgetItemIterator it(window->reportTree()); *it; ++it) {
            const auto* item = QARListViewItem::cast(*it);
            if (item && window->isNewFailure(mainReport, item->node))
                names << item->text(0) + (item->toolTip(0).isEmpty() ? "" : "*");
        }
        return names;
    };
    QCOMPARE(marked(), QStringList{"failing*"});
    window->failedtests();
    QCOMPARE(marked(), QStringList{"failing*"});
    DLink* caseLink = nullptr;
    for (DItem* item : itemsOf(comparison->document())) {
        if (item->kind() == DItem::Link && !caseLink)
            caseLink = static_cast<DLink*>(item);
    }
    QVERIFY(caseLink);
    emit comparison->view()->activatedLink(caseLink);
    QCOMPARE(window->files(), QStringList{mainReport});
    QVERIFY(!window->reportView()->currentItemName().isEmpty());
    QCOMPARE(marked(), QStringList{"failing*"});

    // Two reports of the same names: a case's link goes into its own.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(mainReport, dir.filePath("copy.xrd")));
    auto twice = open({mainReport, dir.filePath("copy.xrd")});
    QAReporterDocumentWindow* both = twice->compareWith(passedReport);
    QVERIFY(both);
    DLink* intoCopy = nullptr;
    for (DItem* item : itemsOf(both->document())) {
        if (item->kind() == DItem::Link &&
            static_cast<DLink*>(item)->target().contains("copy.xrd#failing"))
            intoCopy = static_cast<DLink*>(item);
    }
    QVERIFY(intoCopy);
    emit both->view()->activatedLink(intoCopy);
    QCOMPARE(twice->reportView()->currentItemName(), QString("failing"));
    QVERIFY(itemsOf(twice->reportView()->documents().value(1))
                .contains(twice->reportView()->currentItem()));
}

namespace {

QString textOf(DDocument* document)
{
    QString text;
    for (DItem* item : itemsOf(document)) {
        if (const QString* shown = DBlockText::searchableText(item))
            text += *shown + '|';
    }
    return text;
}

} // namespace

// Three runs opened one after the other into a history: the last shows
// the trend of all three in its summary and, by its failed case, the
// states of the case and where it last passed; the flaky page lists it.
// A store that cannot be opened is said once, and the reports still open.
void TestReporter::historyRecordsMarksAndTrends()
{
    QTemporaryDir dir;
    QAReporterPrefHistory* page = reporterPreferences()->historyPage();
    page->setRecordsRuns(true);
    page->setDatabase(dir.filePath("h.sqlite"));
    const QByteArray failing = readFile(mainReport);
    QByteArray passing = failing;
    passing.replace(R"(name="failing" type="testcase" state="ko")",
                    R"(name="failing" type="testcase" state="ok")");
    const QByteArray runs[] = {passing, failing, failing};
    for (int run = 0; run < 3; ++run) {
        const QString path = dir.filePath(QString("run%1.xrd").arg(run));
        QVERIFY(writeFile(path, runs[run]));
        QFile(path).setFileTime(QDateTime::currentDateTime().addDays(run - 3),
                                QFileDevice::FileModificationTime);
        auto window = open({path});
        QCOMPARE(window->records().size(), 1);
        if (run < 2)
            continue;
        QVERIFY(window->isHeaderShown());
        const QString summary = textOf(window->summary());
        QVERIFY2(summary.contains("Trend of the last 3 runs|"), qPrintable(summary));
        QVERIFY(summary.contains("|run0.xrd, "));
        const QString report = textOf(window->records().first()->document.get());
        QVERIFY2(report.contains(QString("Recent runs: %1%2%2 \u00b7 last passed in run0.xrd, ")
                                     .arg(QChar(0x2714), QChar(0x2718))),
                 qPrintable(report));
        QAReporterDocumentWindow* flaky = window->showFlakyTests();
        QVERIFY(flaky);
        QVERIFY(textOf(flaky->document()).contains("|failing|33%|1|2|"));
    }
    AnsweredBoxes boxes;
    page->setDatabase(dir.filePath("run0.xrd/h.sqlite"));
    for (int window = 0; window < 2; ++window)
        QCOMPARE(open({mainReport})->records().size(), 1);
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown.first().contains("Cannot open the run history"));
}
