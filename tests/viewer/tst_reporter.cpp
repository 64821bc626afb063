#include "answeredboxes.h"
#include "capturedoutput.h"
#include "ddocument.h"
#include "dlink.h"
#include "documentitems.h"
#include "dreportwidget.h"
#include "dreportwidget_p.h"
#include "files.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterhistory.h"
#include "qarpopupmenu.h"
#include "qartoolbar.h"
#include "qastoutputwidget.h"
#include "qastworkspace.h"
#include "qatestcount.h"
#include "qaviewerfinddialog.h"
#include "reporterhost.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString reports = QStringLiteral(":/reports/");
const QString mainReport = reports + "main.xrd";
const QString passedReport = reports + "passed.xrd";
const QString otherReport = ":/reports" + QString(QDir::separator()) + "sub/other.xrd";

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

DLink* linkNamed(QAReporter& window, const QString& name, int document = -1)
{
    QList<DDocument*> documents = window.reportView()->documents();
    if (document >= 0)
        documents = {documents.value(document)};
    DItem* item = itemNamed(documents, name);
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

    void captionsCountWindowsOfTheHost();
    void headerDockFollowsTheNumberOfFiles();
    void unreadableFilesShareOneWarning();
    void filterWithoutFailureAsksTheQuestion_data();
    void filterWithoutFailureAsksTheQuestion();
    void reassemblyKeepsThePosition();
    void reportLinksMoveOrLoadAndBackReturns();
    void sourceLinksTakeTheNodeBase_data();
    void sourceLinksTakeTheNodeBase();
    void treeMenuFollowsTheSelection();
    void watchedFileChangeReloads();
    void reloadAskedDuringALoadWaits();
    void findStepsThroughTheMatches();
    void historyStepsLikeABrowser_data();
    void historyStepsLikeABrowser();
    void keyboardMovesBetweenFailuresTreeReportAndLinks();
    void summaryPaneFitsKeepsItsHeightAndLinks();
    void batchModeWritesTotals();
    void picturesAreFoundBesideTheReport();

private:
    std::unique_ptr<QAReporter> open(const QStringList& files) { return m_host->open(files); }
    void showInHost(QAReporter& window);
    QAViewerFindDialog* findDialog() const
    {
        return m_host->mainWindow.findChild<QAViewerFindDialog*>("reporter-find-dialog");
    }

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

void TestReporter::captionsCountWindowsOfTheHost()
{
    auto first = open({});
    const QRegularExpression counted(QStringLiteral("^Test Report \\[(\\d+)\\]$"));
    const QRegularExpressionMatch match = counted.match(first->windowTitle());
    QVERIFY2(match.hasMatch(), qPrintable(first->windowTitle()));
    first.reset();
    auto second = open({});
    QCOMPARE(second->windowTitle(), QString("Test Report [%1]").arg(match.captured(1).toInt() + 1));
    QCOMPARE(second->reporterToolBar()->parent(), &m_host->mainWindow);
    QVERIFY(!second->reportTree()->parent() && reporterWindows().contains(second.get()));
    // A test node names the window after its last part; no name changes nothing.
    QSignalSpy captions(second.get(), &QAStudioWindow::captionChanged);
    QAStWorkspace workspace("ws");
    second->setTestNode(&workspace, "suite.case.tc1");
    QCOMPARE(second->getNode().workspace, &workspace);
    second->setTestNode(nullptr, QString());
    QCOMPARE(second->windowTitle(), QString("Test Report [tc1]"));
    QCOMPARE(captions.size(), 1);
}

void TestReporter::headerDockFollowsTheNumberOfFiles()
{
    auto one = open({mainReport});
    QVERIFY(!one->summaryDock()->isVisibleTo(one.get()) && !one->isHeaderShown());
    auto two = open({mainReport, passedReport});
    QVERIFY(two->summaryDock()->isVisibleTo(two.get()));
    QCOMPARE(two->summaryView()->documents().value(0), two->summary());
    QCOMPARE(two->summary()->name(), QString("index"));
    QCOMPARE(two->reportView()->documents().size(), 2);
    QCOMPARE(two->reportTree()->topLevelItemCount(), 2);
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
    QCOMPARE(window->loadedFiles(), QStringList{mainReport});
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
    QTEST(int(treeLines(window->reportTree()).size()), "treeItems");
}

void TestReporter::reassemblyKeepsThePosition()
{
    auto window = open({mainReport});
    QVERIFY(window->reportView()->moveTo(QString(), QString(), "failing"));
    window->failedtests();
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QCOMPARE(treeLines(window->reportTree()),
             QStringList({"main.xrd", "  suite", "    failing", "    elsewhere"}));
    window->reload();
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    window->alltests();
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QCOMPARE(treeLines(window->reportTree()).size(), 5);
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
    QSignalSpy captions(window.get(), &QAStudioWindow::captionChanged);
    window->resolveLink(linkNamed(*window, "otherlink"));
    QCOMPARE(window->files(), QStringList{otherReport});
    QCOMPARE(window->records().size(), 1);
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));
    QCOMPARE(captions.size(), 1);
    QVERIFY(window->backCommand()->toolTip().contains(
        QKeySequence(QKeySequence::Back).toString(QKeySequence::NativeText)));
    // Back and forward return to the reports and places.
    QTest::keyClick(window->reportView(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{mainReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QCOMPARE(captions.size(), 2);
    QVERIFY(window->forwardCommand()->isEnabled());
    QTest::keyClick(window->reportTree(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{otherReport});
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));
    QVERIFY(!window->forwardCommand()->isEnabled());
    // The active window's Back and Forward are on the toolbar too.
    const QList<QAction*> buttons = window->reporterToolBar()->actions();
    QVERIFY(buttons.contains(window->backCommand()) && buttons.contains(window->forwardCommand()));
    window->backCommand()->trigger();
    QCOMPARE(window->files(), QStringList{mainReport});
    window->desactivated();
    QVERIFY(!window->reporterToolBar()->actions().contains(window->backCommand()));

    // Two reports with the same names: the link stays in its own.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(mainReport, dir.filePath("copy.xrd")));
    auto twice = open({mainReport, dir.filePath("copy.xrd")});
    twice->resolveLink(linkNamed(*twice, "anchorlink", 1));
    QCOMPARE(twice->reportView()->currentItem(),
             itemNamed({twice->reportView()->documents().value(1)}, "passing"));
    // From a failed-only view: the other report has no failure, so the
    // question comes first and "Yes" shows it whole, at the anchor.
    AnsweredBoxes boxes({QMessageBox::Yes});
    auto failedOnly = open({mainReport});
    failedOnly->failedtests();
    failedOnly->resolveLink(linkNamed(*failedOnly, "otherlink"));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(failedOnly->records().first()->fileName, otherReport);
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
    QVERIFY(linkNamed(*window, link));
    m_host->studio.calls.clear();
    window->resolveLink(linkNamed(*window, link));
    QCOMPARE(m_host->studio.calls, QStringList{location});
}

void TestReporter::treeMenuFollowsTheSelection()
{
    auto window = open({mainReport});
    QAction* submit = window->treeSubmitAction();
    QVERIFY(!submit->isEnabled()); // the file item is selected first
    window->nextKO();
    window->nextKO();
    QVERIFY(submit->isEnabled());
    QCOMPARE(submit->text(), QString("&Submit Tallyvane Defect Report"));
    // Right-clicking empty space opens the menu on no item: "Go to" stays put.
    window->showPopupMenu(window->reportTree()->currentItem(), QPoint(), 0);
    window->reportTreeMenu()->hide();
    window->contextMenu(nullptr, QPoint(), 0);
    QVERIFY(!window->reportTreeMenu()->targetItem);
    window->reportView()->moveTo(QString(), QString(), "top");
    window->gotoMenu();
    QCOMPARE(window->reportView()->currentItemName(), QString("top"));
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
    QSaveFile update(path); // written aside and renamed over the report
    QVERIFY(update.open(QIODevice::WriteOnly));
    update.write(readFile(mainReport));
    QVERIFY(update.commit());
    QTRY_COMPARE(window->failedTotal(), 1);
    QCOMPARE(window->records().first()->fileName, path);
    // Still watched after the rename.
    QVERIFY(writeFile(path, readFile(passedReport)));
    QTRY_COMPARE(window->failedTotal(), 0);

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
    studio.home = m_host->studio.home;
    ScopedPreferences preferences(&studio);
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
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

void TestReporter::findStepsThroughTheMatches()
{
    auto window = open({mainReport});
    showInHost(*window);
    DReportWidget* view = window->reportView();
    // Without a pattern yet, Find Next asks for one; the dialog then moves
    // off each match it selects.
    QRect firstMatch, dialogAfter;
    QTimer::singleShot(0, this, [&] {
        QAViewerFindDialog* dialog = findDialog();
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>()->setText("line");
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
        firstMatch = view->selectionRect();
        // The user drags the dialog over the match and searches on.
        dialog->move(view->viewport()->mapToGlobal(firstMatch.topLeft()));
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
        dialogAfter = dialog->frameGeometry();
        dialog->reject();
    });
    window->findNext();
    QVERIFY(!firstMatch.isEmpty());
    const QRect secondMatch = view->selectionRect();
    QVERIFY(secondMatch != firstMatch);
    QVERIFY(!dialogAfter.intersects(
        QRect(view->viewport()->mapToGlobal(secondMatch.topLeft()), secondMatch.size())));
    QCOMPARE(view->selectedText(), QString("line"));
    // Then no dialog: each step selects the next (previous) match, wrapping.
    const QList<std::pair<void (QAReporter::*)(), QRect>> steps = {
        {&QAReporter::findNext, firstMatch},
        {&QAReporter::findPrevious, secondMatch},
        {&QAReporter::findPrevious, firstMatch},
        {&QAReporter::findNext, secondMatch}};
    for (const auto& [step, expected] : steps) {
        (window.get()->*step)();
        QVERIFY(!findDialog() || !findDialog()->isVisible());
        QCOMPARE(view->selectionRect(), expected);
    }
    // Find opens the modal dialog on the last pattern; its Find searches.
    QString pattern;
    QTimer::singleShot(0, this, [&] {
        QAViewerFindDialog* dialog = findDialog();
        QVERIFY(dialog && dialog->isModal());
        pattern = dialog->findChild<QLineEdit*>()->text();
        dialog->findChild<QLineEdit*>()->setText("Failed at");
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "&Find")
                button->click();
        }
        dialog->reject();
    });
    window->find();
    QCOMPARE(pattern, QString("line"));
    QCOMPARE(view->selectedText(), QString("Failed at"));
    window->find("Suite done");
    QCOMPARE(view->selectedText(), QString("Suite done"));
}

void TestReporter::historyStepsLikeABrowser_data()
{
    // Steps: v visits a new place (p1, p2, ... in order), b goes back, f
    // forward; then the place, "<" when back is possible, ">" when forward is.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    for (const char* row : {"bf p0", "v p1<", "vb p0>", "vbf p1<", "vvbbb p0>", "vvbbff p2<",
                            "vvbbvf p3<", "vvbbvb p0>", "vvb p1<>"}) {
        const QString text = QString::fromLatin1(row);
        QTest::addRow("%s", row) << text.section(' ', 0, 0) << text.section(' ', 1);
    }
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
    QCOMPARE(current.files, QStringList{current.position + ".xrd"});
    QTEST(current.position + (history.canGoBack() ? "<" : "") + (history.canGoForward() ? ">" : ""),
          "expected");
}

void TestReporter::keyboardMovesBetweenFailuresTreeReportAndLinks()
{
    auto window = open({mainReport});
    showInHost(*window);
    QARToolBar* toolBar = window->reporterToolBar();
    QVERIFY(toolBar->nextFailedAction()->toolTip().endsWith("(F8)"));
    QVERIFY(toolBar->previousFailedAction()->toolTip().endsWith("(Shift+F8)"));
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

    // Tab goes from the tree to the report, then from link to link; Return
    // follows the focused one.
    QTest::keyClick(tree, Qt::Key_Tab);
    QTRY_VERIFY(window->reportView()->hasFocus());
    QCOMPARE(window->reportView()->parts()->interaction.focusBlock(), -1);
    m_host->studio.calls.clear();
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "notes"
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "src/a.c line 12"
    QTest::keyClick(window->reportView(), Qt::Key_Return);
    QCOMPARE(m_host->studio.calls, QStringList{"openLocation /home/p/src/a.c line 12 3 1"});
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
    window->showDock(0);
    window->showDock(0);
    QVERIFY(dock->isVisible());
    QTRY_COMPARE(dock->height(), chosen);
    // And comes back in the next window (the host keeps it across runs).
    const QByteArray state = window->saveViewState();
    window.reset();
    auto next = open({mainReport, passedReport});
    next->restoreViewState(state);
    showInHost(*next);
    QTRY_COMPARE(next->summaryDock()->height(), chosen);

    // The summary's second link, followed, selects the second report.
    DReportWidget* summary = next->summaryView();
    summary->setFocus();
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Return);
    QCOMPARE(next->reportTree()->currentItem()->text(0), QString("passed.xrd"));
    QVERIFY(next->reportTree()->currentItem()->isSelected());
    QCOMPARE(next->selectedTreeItem(), next->reportTree()->currentItem());
    QVERIFY(next->reportView()->hasFocus());
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
    QVERIFY(window.reportView()->documents().isEmpty());
    // Totals past the largest count stop there instead of wrapping round.
    QStringList huge{reports + "huge1.xrd", reports + "huge2.xrd"};
    QAReporter hugeWindow("Test Report", QPixmap(), nullptr, Qt::WindowFlags(), false);
    CapturedOutput hugeOutput(1);
    hugeWindow.setFiles(&huge, nullptr, QAStViewerWindow::Batch);
    QCOMPARE(hugeWindow.failedTotal(), QATestCount::Max);
    QVERIFY(hugeOutput.text().endsWith("\t[9223372036854775807] Test Case Failed\n"));
}

void TestReporter::picturesAreFoundBesideTheReport()
{
    const QString examples = QStringLiteral(XRD_SOURCE_DIR "/examples/");
    auto window = open({examples + "release-passed.xrd"});
    QCOMPARE(window->reportView()->findFile("kestrel-logo.svg"), examples + "kestrel-logo.svg");
}

QTEST_MAIN(TestReporter)
#include "tst_reporter.moc"
