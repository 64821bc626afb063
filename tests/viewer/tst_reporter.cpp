#include "capturedoutput.h"
#include "ddocument.h"
#include "dlink.h"
#include "documentitems.h"
#include "dreportwidget.h"
#include "dreportwidget_p.h"
#include "qamessagebox.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterfilter.h"
#include "qareporterhistory.h"
#include "qareporternode.h"
#include "qareportsession.h"
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
#include <QScrollBar>
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
    void findNextAndPreviousStepThroughTheMatches();
    void historyStepsLikeABrowser_data();
    void historyStepsLikeABrowser();
    void backAndForwardReturnToTheLinkedReports();
    void keyboardMovesBetweenFailuresTreeReportAndLinks();
    void summaryPaneFitsAndKeepsItsHeight();
    void summaryLinkSelectsTheTreeItem();
    void batchModeWritesTotals();
    void picturesAreFoundBesideTheReport();
    void screenshots();

private:
    std::unique_ptr<QAReporter> open(const QStringList& paths);
    void showInHost(QAReporter& window);
    QAViewerFindDialog* findDialog() const;

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

// Puts the window into the host's main window as the host does (the window
// in the middle, its tree in a pane beside it), shown and active.
void TestReporter::showInHost(QAReporter& window)
{
    window.setWindowFlags(Qt::Widget);
    m_hostWindow->setCentralWidget(&window);
    auto* pane = new QDockWidget(m_hostWindow.get());
    pane->setWidget(window.reportTree());
    m_hostWindow->addDockWidget(Qt::LeftDockWidgetArea, pane);
    m_hostWindow->resize(1000, 700);
    m_hostWindow->show();
    m_hostWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_hostWindow.get()));
    window.activated();
}

QAViewerFindDialog* TestReporter::findDialog() const
{
    return m_hostWindow->findChild<QAViewerFindDialog*>("reporter-find-dialog");
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
    QCOMPARE(window->loadedFiles(), QStringList{mainReport});
    QCOMPARE(window->reportView()->documents().size(), 1);
}

void TestReporter::samePathLoadsOnceAndDocumentNamesStayUnique()
{
    auto window = open({mainReport, passedReport, mainReport});
    QCOMPARE(window->records().size(), 2);
    QCOMPARE(window->records().at(1)->document->name(), QString("main_1"));
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
    QVERIFY(window->session().criteria().fields() & QAReporterFilterCriteria::StateField);
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
    QCOMPARE(currentText(*window), QString("passing"));
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
    // The broken moment lasts longer than the delay: the empty file is
    // read, and said to be unreadable, once.
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

void TestReporter::findNextAndPreviousStepThroughTheMatches()
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
}

void TestReporter::historyStepsLikeABrowser_data()
{
    // Steps: v visits a new place (p1, p2, ... in order), b goes back, f forward.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("canBack");
    QTest::addColumn<bool>("canForward");
    QTest::newRow("nothing to go back to") << "bf"
                                           << "p0" << false << false;
    QTest::newRow("visit") << "v"
                           << "p1" << true << false;
    QTest::newRow("back") << "vb"
                          << "p0" << false << true;
    QTest::newRow("back then forward") << "vbf"
                                       << "p1" << true << false;
    QTest::newRow("back twice, once too often") << "vvbbb"
                                                << "p0" << false << true;
    QTest::newRow("forward twice") << "vvbbff"
                                   << "p2" << true << false;
    QTest::newRow("a visit drops the way forward") << "vvbbvf"
                                                   << "p3" << true << false;
    QTest::newRow("back after that visit") << "vvbbvb"
                                           << "p0" << false << true;
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
            continue;
        }
        const auto next = step == 'b' ? history.back(current) : history.forward(current);
        if (next)
            current = *next;
    }
    QTEST(current.position, "current");
    QCOMPARE(current.files, QStringList{current.position + ".xrd"});
    QTEST(history.canGoBack(), "canBack");
    QTEST(history.canGoForward(), "canForward");
}

void TestReporter::backAndForwardReturnToTheLinkedReports()
{
    auto window = open({mainReport});
    showInHost(*window);
    QSignalSpy captions(window.get(), &QAStudioWindow::captionChanged);
    QVERIFY(window->reportView()->moveTo(QString(), QString(), "failing"));
    QVERIFY(!window->backCommand()->isEnabled());
    window->resolveLink(linkNamed(*window, "otherlink"));
    const QString other = ":/reports" + QString(QDir::separator()) + "sub/other.xrd";
    QCOMPARE(window->files(), QStringList{other});
    QCOMPARE(captions.size(), 1);
    QVERIFY(window->backCommand()->isEnabled());
    QVERIFY(window->backCommand()->toolTip().contains(
        QKeySequence(QKeySequence::Back).toString(QKeySequence::NativeText)));

    QTest::keyClick(window->reportView(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{mainReport});
    QCOMPARE(window->records().first()->fileName, mainReport);
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QCOMPARE(captions.size(), 2);
    QVERIFY(window->forwardCommand()->isEnabled());

    QTest::keyClick(window->reportTree(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(window->files(), QStringList{other});
    QCOMPARE(window->reportView()->currentItemName(), QString("t3"));
    QVERIFY(!window->forwardCommand()->isEnabled());

    // The active window's Back and Forward are on the toolbar too.
    window->activated();
    const QList<QAction*> buttons = window->reporterToolBar()->actions();
    QVERIFY(buttons.contains(window->backCommand()) && buttons.contains(window->forwardCommand()));
    window->backCommand()->trigger();
    QCOMPARE(window->files(), QStringList{mainReport});
    window->desactivated();
    QVERIFY(!window->reporterToolBar()->actions().contains(window->backCommand()));
}

void TestReporter::keyboardMovesBetweenFailuresTreeReportAndLinks()
{
    auto window = open({mainReport});
    showInHost(*window);
    QARToolBar* toolBar = window->reporterToolBar();
    QVERIFY(toolBar->nextFailedAction()->toolTip().endsWith("(F8)"));
    QVERIFY(toolBar->previousFailedAction()->toolTip().endsWith("(Shift+F8)"));
    window->updateToolMenu();
    QVERIFY(window->commands()->actions().contains(toolBar->nextFailedAction()));

    QTreeWidget* tree = window->reportTree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F8);
    QTest::keyClick(tree, Qt::Key_F8);
    QCOMPARE(currentText(*window), QString("failing"));
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    QTest::keyClick(tree, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(currentText(*window), QString("suite"));

    // Tab goes from the tree to the report, then from link to link; Return
    // follows the focused one.
    QTest::keyClick(tree, Qt::Key_Tab);
    QTRY_VERIFY(window->reportView()->hasFocus());
    QCOMPARE(window->reportView()->parts()->interaction.focusBlock(), -1);
    m_studio.calls.clear();
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "notes"
    QTest::keyClick(window->reportView(), Qt::Key_Tab); // "src/a.c line 12"
    QTest::keyClick(window->reportView(), Qt::Key_Return);
    QCOMPARE(m_studio.calls, QStringList{"openLocation /home/p/src/a.c line 12 3 1"});
}

void TestReporter::summaryPaneFitsAndKeepsItsHeight()
{
    auto window = open({mainReport, passedReport, reports + "huge1.xrd"});
    showInHost(*window);
    QDockWidget* dock = window->summaryDock();
    // Every row of the summary shows, within half of the window.
    QTRY_VERIFY(dock->height() > 60);
    QTRY_COMPARE(window->summaryView()->verticalScrollBar()->maximum(), 0);
    QVERIFY(dock->height() <= window->height() / 2);

    // The user's height stays through the filter and reloads.
    const int chosen = dock->height() + 37;
    window->resizeDocks({dock}, {chosen}, Qt::Vertical);
    QTRY_COMPARE(dock->height(), chosen);
    window->failedtests();
    window->alltests();
    window->reload();
    QCoreApplication::processEvents();
    QCOMPARE(dock->height(), chosen);
    // Hidden and shown again from the Commands menu.
    for (int i = 0; i < 2; ++i) {
        window->updateToolMenu();
        for (QAction* action : window->commands()->actions()) {
            if (action->text() == "Show header")
                action->trigger();
        }
    }
    QVERIFY(dock->isVisible());
    QTRY_COMPARE(dock->height(), chosen);

    // And comes back in the next window (the host keeps it across runs).
    const QByteArray state = window->saveViewState();
    window.reset();
    auto next = open({mainReport, passedReport});
    next->restoreViewState(state);
    showInHost(*next);
    QTRY_COMPARE(next->summaryDock()->height(), chosen);
}

void TestReporter::summaryLinkSelectsTheTreeItem()
{
    auto window = open({mainReport, passedReport});
    showInHost(*window);
    QCOMPARE(currentText(*window), QString("main.xrd"));
    DReportWidget* summary = window->summaryView();
    summary->setFocus();
    // The summary's second link is the second report's.
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Tab);
    QTest::keyClick(summary, Qt::Key_Return);
    QCOMPARE(currentText(*window), QString("passed.xrd"));
    QVERIFY(window->reportTree()->currentItem()->isSelected());
    QCOMPARE(window->selectedTreeItem(), window->reportTree()->currentItem());
    QVERIFY(window->reportView()->hasFocus());
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

void TestReporter::picturesAreFoundBesideTheReport()
{
    const QString examples = QStringLiteral(XRD_SOURCE_DIR "/examples/");
    auto window = open({examples + "release-passed.xrd"});
    QCOMPARE(window->reportView()->findFile("kestrel-logo.svg"), examples + "kestrel-logo.svg");
}

QTEST_MAIN(TestReporter)
#include "tst_reporter.moc"
