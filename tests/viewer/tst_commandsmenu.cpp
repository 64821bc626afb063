#include "answeredboxes.h"
#include "qareporter.h"
#include "qareporterfiltercriteria.h"
#include "qareportsession.h"
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
    void init()
    {
        m_host = std::make_unique<ReporterHost<>>();
        m_boxes = std::make_unique<AnsweredBoxes>(QList{QMessageBox::No});
    }
    void cleanup()
    {
        m_boxes.reset();
        m_host.reset();
    }

    void entries_data();
    void entries();
    void filterEntriesFollowTheToolBar();
    void typeEntriesStayUncheckedUntilANewLoad();
    void headerEntries();
    void submitEntryFollowsTheSelection();
    void highlightedEntriesShowTheirStatusText();
    void activationSharesTheToolBar();
    void closingRemovesTheMenu();
    void withoutHostWindowTheMenuGoesInTheWindow();

private:
    std::unique_ptr<QAReporter> open(const QStringList& files, bool activate = true)
    {
        auto window = m_host->open(files);
        if (activate)
            window->activated();
        return window;
    }

    std::unique_ptr<ReporterHost<>> m_host;
    std::unique_ptr<AnsweredBoxes> m_boxes;
};

void TestCommandsMenu::entries_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("types");
    QTest::addRow("no report") << QStringList() << "";
    QTest::addRow("a report") << QStringList{mainReport} << "suite [x]|testcase [x]|check [x]|";
}

void TestCommandsMenu::entries()
{
    QFETCH(QStringList, files);
    QFETCH(QString, types);
    auto window = open(files, false);
    QVERIFY(!window->commands()); // built on the first activation
    window->activated();
    const QString off = files.isEmpty() ? " (off)" : "";
    const QString expected =
        "All Test Results [x]" + off + "|Failed Tests Only [ ]" + off + "|---|" + types +
        "---|Reload|---|Show header [ ]|Print Header (off)|---|&Submit Tallyvane Report (off)|---|"
        "Generate HTML|---|Previous Failed Test|Next Failed Test|Back (off)|Forward (off)";
    QCOMPARE(entryLines(*window).join('|'), expected);
    // Rebuilt, not appended to, on each opening.
    QCOMPARE(entryLines(*window).join('|'), expected);
}

void TestCommandsMenu::filterEntriesFollowTheToolBar()
{
    auto window = open({mainReport});
    QARToolBar* toolBar = window->reporterToolBar();
    choose(*window, "Failed Tests Only");
    QVERIFY(toolBar->isFilterOn() && stateFiltered(*window));
    QCOMPARE(entryLines(*window).mid(0, 2),
             QStringList({"All Test Results [ ]", "Failed Tests Only [x]"}));
    choose(*window, "All Test Results");
    QVERIFY(!toolBar->isFilterOn() && !stateFiltered(*window));
    QCOMPARE(entryLines(*window).mid(0, 2),
             QStringList({"All Test Results [x]", "Failed Tests Only [ ]"}));
    // The toolbar's filter button is read at each opening.
    toolBar->toggleFilter();
    QCOMPARE(entryLines(*window).mid(0, 2),
             QStringList({"All Test Results [ ]", "Failed Tests Only [x]"}));
    toolBar->toggleFilter();
}

void TestCommandsMenu::typeEntriesStayUncheckedUntilANewLoad()
{
    auto window = open({mainReport});
    choose(*window, "check");
    QVERIFY(entryLines(*window).contains("check [ ]"));
    QVERIFY(entryLines(*window).contains("check [ ]"));
    QVERIFY(entryLines(*window).contains("testcase [x]"));
    // The tree loses the type, until another report is loaded.
    const auto elsewhere = [&] {
        return window->reportTree()->findItems("elsewhere", Qt::MatchRecursive).size();
    };
    QCOMPARE(elsewhere(), 0);
    QStringList more{QStringLiteral(":/reports/passed.xrd")};
    window->setFiles(&more, nullptr, QAStViewerWindow::Interactive);
    QCOMPARE(elsewhere(), 1);
    QVERIFY(entryLines(*window).contains("check [x]"));
}

void TestCommandsMenu::headerEntries()
{
    auto window = open({mainReport});
    QVERIFY(entryLines(*window).contains("Print Header (off)"));
    choose(*window, "Show header");
    QVERIFY(!window->summaryDock()->isHidden() && window->isHeaderShown());
    QVERIFY(entryLines(*window).join('|').contains("Show header [x]|Print Header|"));
    choose(*window, "Show header");
    QVERIFY(window->summaryDock()->isHidden() && !window->isHeaderShown());
    QVERIFY(entryLines(*window).join('|').contains("Show header [ ]|Print Header (off)|"));
}

void TestCommandsMenu::submitEntryFollowsTheSelection()
{
    auto window = open({mainReport});
    // The file's own item has no parent: nothing to submit.
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Report (off)"));
    window->nextKO();
    window->nextKO();
    QCOMPARE(currentText(*window), QString("failing"));
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Defect Report"));
    window->prevKO();
    window->reportTree()->setCurrentItem(window->reportTree()->currentItem()->child(0));
    QCOMPARE(currentText(*window), QString("passing"));
    QVERIFY(entryLines(*window).contains("&Submit Tallyvane Report"));
}

void TestCommandsMenu::highlightedEntriesShowTheirStatusText()
{
    auto window = open({mainReport});
    QStringList shown;
    entryLines(*window);
    for (QAction* action : window->commands()->actions()) {
        m_host->mainWindow.statusBar()->clearMessage();
        emit window->commands()->hovered(action);
        if (!action->isSeparator())
            shown << m_host->mainWindow.statusBar()->currentMessage();
    }
    QCOMPARE(shown, QString("Display complete report|Display failed tests only|"
                            "Show or hide suite|Show or hide testcase|Show or hide check|"
                            "Reload the current report|Show or hide Show header|"
                            "Show or hide Print Header|"
                            "Show or hide &Submit Tallyvane Report|"
                            "Generate the viewer's content to a HTML file|"
                            "Previous Failed Test (Shift+F8)|Next Failed Test (F8)|"
                            "Back (Alt+Left)|Forward (Alt+Right)")
                        .split('|'));
    // By the entry's id, as the host's menu reports it.
    window->highlighted(window->commands()->actions().value(1)->data().toInt());
    QCOMPARE(m_host->mainWindow.statusBar()->currentMessage(),
             QString("Display failed tests only"));
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
    QCOMPARE(m_host->studio.calls.filter("Menu"),
             QStringList({"insertMenu Test Report", "insertMenu Test Report"}));
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
    emit toolBar->KOsuivClicked();
    QCOMPARE(currentText(*first) + currentText(*second), QString("failingfailing"));

    // Activated again, it connects once and puts the menu back.
    first->prevKO();
    m_host->studio.calls.clear();
    first->activated();
    first->activated();
    QCOMPARE(m_host->studio.calls.first(), QString("insertMenu Test Report"));
    emit toolBar->KOsuivClicked();
    QCOMPARE(currentText(*first), QString("failing"));
    toolBar->toggleFilter();
    emit toolBar->fltClicked();
    QVERIFY(stateFiltered(*first) && stateFiltered(*second));
    toolBar->toggleFilter();
}

void TestCommandsMenu::closingRemovesTheMenu()
{
    // A window that is not active has no menu in the host to take back.
    open({}, false)->close();
    QVERIFY(m_host->studio.calls.isEmpty());
    auto active = open({});
    QCOMPARE(m_host->studio.calls, QStringList({"insertMenu Test Report"}));
    QAction* next = active->reporterToolBar()->findChild<QAction*>("Next Failed Test");
    QVERIFY(next->isEnabled());
    active->close();
    QCOMPARE(m_host->studio.calls.last(), QString("removeMenu 1"));
    QVERIFY(!next->isEnabled());
    QVERIFY(active->commands()->actions().isEmpty());
    // Closed, the window forgot the menu's place: deactivation takes nothing.
    m_host->studio.calls.clear();
    active->desactivated();
    QVERIFY(m_host->studio.calls.isEmpty());
}

void TestCommandsMenu::withoutHostWindowTheMenuGoesInTheWindow()
{
    m_host->studio.window = nullptr;
    auto window = open({mainReport});
    QCOMPARE(window->windowTitle(), QString("Test Report"));
    QCOMPARE(window->reporterToolBar()->parent(), window.get());
    QCOMPARE(window->reporterToolBar()->windowTitle(), QString("Test Report Toolbar"));
    window->desactivated();
    window->activated();
    QVERIFY(m_host->studio.calls.filter("insertMenu").isEmpty());
    QStringList entries;
    for (QAction* action : window->menuBar()->actions()) {
        if (action->menu() == window->commands())
            entries << action->text();
    }
    QCOMPARE(entries, QStringList{"&Commands"});
}

QTEST_MAIN(TestCommandsMenu)
#include "tst_commandsmenu.moc"
