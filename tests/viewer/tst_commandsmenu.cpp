#include "answeredboxes.h"
#include "dreportwidget.h"
#include "qareporter.h"
#include "qareporterfiltercriteria.h"
#include "qareportsession.h"
#include "qarpopupmenu.h"
#include "qartoolbar.h"
#include "reporterhost.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

namespace {

const QString mainReport = QStringLiteral(":/reports/main.xrd");

// The entries of the menu the host shows, one line each: the text (or
// "---" for a separator), then "[x]" or "[ ]" for a checkable entry and
// "(off)" for a disabled one.
QStringList entryLines(QAReporter& window)
{
    QStringList lines;
    QMenu* menu = window.commands();
    if (!menu)
        return lines;
    emit menu->aboutToShow();
    for (const QAction* action : menu->actions()) {
        QString line = action->isSeparator() ? QStringLiteral("---") : action->text();
        if (action->isCheckable())
            line += action->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
        if (!action->isEnabled())
            line += QStringLiteral(" (off)");
        lines << line;
    }
    return lines;
}

// Chooses an entry of the menu as the user does.
void choose(QAReporter& window, const QString& text)
{
    entryLines(window);
    for (QAction* action : window.commands()->actions()) {
        if (action->text() == text)
            return action->trigger();
    }
    QFAIL(qPrintable("no entry " + text));
}

QString currentText(QAReporter& window)
{
    QTreeWidgetItem* item = window.reportTree()->currentItem();
    return item ? item->text(0) : QString();
}

bool stateFiltered(QAReporter& window)
{
    return window.session().criteria().fields() & QAReporterFilterCriteria::StateField;
}

} // namespace

// The Commands menu of the viewer window and what activation does with the
// menu and the shared toolbar. The filter's question when no test failed is
// answered "no".
class TestCommandsMenu : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_host = std::make_unique<ReporterHost<>>(); }
    void cleanup() { m_host.reset(); }

    void entries_data();
    void entries();
    void checkableEntriesFollowTheChoices();
    void submitEntryFollowsTheSelection();
    void activationSharesTheToolBar();
    void menuGoesWithTheWindow();

private:
    std::unique_ptr<QAReporter> open(const QStringList& files, bool activate = true)
    {
        auto window = m_host->open(files);
        if (activate)
            window->activated();
        return window;
    }

    std::unique_ptr<ReporterHost<>> m_host;
    AnsweredBoxes m_boxes{{QMessageBox::No}};
};

void TestCommandsMenu::entries_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("header");
    const QString hidden = "Show header [ ]|Print Header (off)";
    const QString types = "suite [x]|testcase [x]|check [x]|";
    QTest::addRow("no report") << QStringList() << "" << hidden;
    QTest::addRow("a report") << QStringList{mainReport} << types << hidden;
    QTest::addRow("two reports, header shown") << QStringList{mainReport, ":/reports/passed.xrd"}
                                               << types << "Show header [x]|Print Header";
}

void TestCommandsMenu::entries()
{
    QFETCH(QStringList, files);
    QFETCH(QString, types);
    QFETCH(QString, header);
    auto window = open(files, false);
    QVERIFY(!window->commands()); // built on the first activation
    window->activated();
    const QString off = files.isEmpty() ? " (off)" : "";
    const QString expected =
        "All Test Results [x]" + off + "|Failed Tests Only [ ]" + off + "|---|" + types +
        "---|Reload|---|" + header +
        "|---|&Submit Tallyvane Report (off)|---|"
        "Generate HTML|Compare With..." +
        off + "|Flaky Tests...|---|Previous Failed Test|Next Failed Test|Back (off)|Forward (off)";
    QCOMPARE(entryLines(*window).join('|'), expected);
    // Rebuilt, not appended to, on each opening.
    QCOMPARE(entryLines(*window).join('|'), expected);
}

void TestCommandsMenu::checkableEntriesFollowTheChoices()
{
    auto window = open({mainReport});
    QVERIFY(window->reportView()->moveTo(QString(), QString(), "failing"));
    choose(*window, "Failed Tests Only");
    QVERIFY(window->reporterToolBar()->isFilterOn() && stateFiltered(*window));
    choose(*window, "Reload");
    choose(*window, "check");
    choose(*window, "Show header");
    QVERIFY(!window->summaryDock()->isHidden() && window->isHeaderShown());
    QCOMPARE(entryLines(*window).mid(0, 11).join('|'),
             QString("All Test Results [ ]|Failed Tests Only [x]|---|suite [x]|testcase [x]|"
                     "check [ ]|---|Reload|---|Show header [x]|Print Header"));
    choose(*window, "All Test Results");
    choose(*window, "Show header");
    QVERIFY(!window->reporterToolBar()->isFilterOn() && !stateFiltered(*window));
    QVERIFY(window->summaryDock()->isHidden() && !window->isHeaderShown());
    QCOMPARE(entryLines(*window).value(0), QString("All Test Results [x]"));
    // The report stays at its place through the filter and the reload.
    QCOMPARE(window->reportView()->currentItemName(), QString("failing"));
    // The tree lacks the hidden type until another report is loaded.
    QTreeWidget* tree = window->reportTree();
    QVERIFY(tree->findItems("elsewhere", Qt::MatchRecursive).isEmpty());
    QStringList more{QStringLiteral(":/reports/passed.xrd")};
    window->setFiles(&more, nullptr, QAStViewerWindow::Interactive);
    QCOMPARE(tree->findItems("elsewhere", Qt::MatchRecursive).size(), 1);
    QVERIFY(entryLines(*window).contains("check [x]"));
    // A highlighted entry explains itself in the host's status bar.
    const QList<QAction*> actions = window->commands()->actions();
    emit window->commands()->hovered(actions.value(actions.size() - 3));
    QCOMPARE(m_host->mainWindow.statusBar()->currentMessage(), QString("Next Failed Test (F8)"));
    // By the entry's id, as the host's menu reports it.
    window->highlighted(actions.value(1)->data().toInt());
    QCOMPARE(m_host->mainWindow.statusBar()->currentMessage(),
             QString("Display failed tests only"));
}

// The Submit entries of this menu and of the tree's.
void TestCommandsMenu::submitEntryFollowsTheSelection()
{
    auto window = open({mainReport});
    // The file's own item has no parent: nothing to submit.
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Report (off)"));
    QVERIFY(!window->treeSubmitAction()->isEnabled());
    window->nextKO();
    window->nextKO();
    QCOMPARE(currentText(*window), QString("failing"));
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Defect Report"));
    QVERIFY(window->treeSubmitAction()->isEnabled());
    window->prevKO();
    window->reportTree()->setCurrentItem(window->reportTree()->currentItem()->child(0));
    QCOMPARE(currentText(*window), QString("passing"));
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Report"));
    // Right-clicking empty space opens the tree's menu on no item: "Go to"
    // stays put.
    window->showPopupMenu(window->reportTree()->currentItem(), QPoint(), 0);
    window->reportTreeMenu()->hide();
    window->contextMenu(nullptr, QPoint(), 0);
    QVERIFY(!window->reportTreeMenu()->targetItem);
    window->reportView()->moveTo(QString(), QString(), "top");
    window->gotoMenu();
    QCOMPARE(window->reportView()->currentItemName(), QString("top"));
}

void TestCommandsMenu::activationSharesTheToolBar()
{
    auto first = open({mainReport}, false);
    auto second = open({mainReport}, false);
    QARToolBar* toolBar = first->reporterToolBar();
    QCOMPARE(second->reporterToolBar(), toolBar);
    QAction* next = toolBar->findChild<QAction*>("Next Failed Test");
    QVERIFY(next && !next->isEnabled());
    first->activated();
    second->activated();
    QVERIFY(next->isEnabled());
    next->trigger();
    next->trigger();
    QCOMPARE(currentText(*first) + currentText(*second), QString("failingfailing"));
    // A deactivated window drops its connections and its host menu.
    m_host->studio.calls.clear();
    first->desactivated();
    QCOMPARE(m_host->studio.calls, QStringList({"removeMenu 1"}));
    QVERIFY(!next->isEnabled());
    emit toolBar->KOprecClicked();
    QCOMPARE(currentText(*first) + currentText(*second), QString("failingsuite"));

    // Activated again, it connects once.
    first->prevKO();
    first->activated();
    first->activated();
    emit toolBar->KOsuivClicked();
    QCOMPARE(currentText(*first), QString("failing"));
    toolBar->toggleFilter();
    emit toolBar->fltClicked();
    QVERIFY(stateFiltered(*first) && stateFiltered(*second));
}

void TestCommandsMenu::menuGoesWithTheWindow()
{
    // A window that is not active has no menu in the host to take back.
    open({}, false)->close();
    QVERIFY(m_host->studio.calls.isEmpty());
    auto active = open({});
    QCOMPARE(m_host->studio.calls, QStringList({"insertMenu Test Report"}));
    active->close();
    QCOMPARE(m_host->studio.calls.last(), QString("removeMenu 1"));
    // Without a host window, the menu and the toolbar go in the window.
    m_host->studio.window = nullptr;
    auto window = open({mainReport});
    QCOMPARE(window->reporterToolBar()->parent(), window.get());
    window->desactivated();
    window->activated();
    QCOMPARE(m_host->studio.calls.filter("insertMenu").size(), 1);
    const QList<QAction*> entries = window->menuBar()->actions();
    QVERIFY(entries.size() == 1 && entries.first()->menu() == window->commands());
}

QTEST_MAIN(TestCommandsMenu)
#include "tst_commandsmenu.moc"
