#include "qamessagebox.h"
#include "qareporter.h"
#include "qareporterfiltercriteria.h"
#include "qareportsession.h"
#include "qartoolbar.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

namespace {

const QString mainReport = QStringLiteral(":/reports/main.xrd");
const QString passedReport = QStringLiteral(":/reports/passed.xrd");

// The entries of a menu, one line each: the text (or "---" for a
// separator), then "[x]" or "[ ]" for a checkable entry and "(off)" for a
// disabled one.
QStringList entryLines(const QMenu* menu)
{
    QStringList lines;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << QStringLiteral("---");
            continue;
        }
        QString line = action->text();
        if (action->isCheckable())
            line += action->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
        if (!action->isEnabled())
            line += QStringLiteral(" (off)");
        lines << line;
    }
    return lines;
}

QAction* entry(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// What the host does when the user opens the menu.
QMenu* openMenu(QAReporter& window)
{
    QMenu* menu = window.commands();
    if (menu)
        emit menu->aboutToShow();
    return menu;
}

QStringList treeLines(QTreeWidget* tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        lines << (*it)->text(0);
    return lines;
}

QString currentText(QAReporter& window)
{
    QTreeWidgetItem* item = window.reportTree()->currentItem();
    return item ? item->text(0) : QString();
}

QAction* toolBarAction(QARToolBar* toolBar, const QString& name)
{
    return toolBar->findChild<QAction*>(name);
}

} // namespace

// The Commands menu of the viewer window and what activation does with the
// menu and the shared toolbar.
class TestCommandsMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entriesWithoutReport();
    void entriesWithReport();
    void filterEntriesFollowTheToolBar();
    void typeEntriesStayUncheckedUntilANewLoad();
    void headerEntries();
    void submitEntryFollowsTheSelection();
    void highlightedEntriesShowTheirStatusText();
    void activationSharesTheToolBar();
    void closingRemovesTheMenu();
    void withoutHostWindowTheMenuGoesInTheWindow();

private:
    std::unique_ptr<QAReporter> open(const QStringList& paths);

    RecordingStudio m_studio;
    std::unique_ptr<ScopedPreferences> m_preferences;
    std::unique_ptr<QMainWindow> m_hostWindow;
};

void TestCommandsMenu::init()
{
    m_studio = RecordingStudio();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_preferences = std::make_unique<ScopedPreferences>(&m_studio);
    // The filter asks when no test failed; these tests keep the answer "no".
    QAMessageBox::setResponder([](QMessageBox::Icon, const QString&, const QString&,
                                  QMessageBox::StandardButtons) { return QMessageBox::No; });
}

void TestCommandsMenu::cleanup()
{
    QAMessageBox::setResponder({});
    m_preferences.reset();
    m_hostWindow.reset();
}

std::unique_ptr<QAReporter> TestCommandsMenu::open(const QStringList& paths)
{
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QStringList files = paths;
    if (!files.isEmpty())
        window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

void TestCommandsMenu::entriesWithoutReport()
{
    auto window = open({});
    QVERIFY(!window->commands()); // built on the first activation
    window->activated();
    QMenu* menu = openMenu(*window);
    QVERIFY(menu);
    QCOMPARE(
        entryLines(menu),
        QStringList({"All Test Results [x] (off)", "Failed Tests Only [ ] (off)", "---", "---",
                     "Reload", "---", "Show header [ ]", "Print Header (off)", "---",
                     "&Submit Tallyvane Report (off)", "---", "Generate HTML", "---",
                     "Previous Failed Test", "Next Failed Test", "Back (off)", "Forward (off)"}));
}

void TestCommandsMenu::entriesWithReport()
{
    auto window = open({mainReport});
    window->activated();
    QMenu* menu = openMenu(*window);
    const QStringList expected =
        QString("All Test Results [x]|Failed Tests Only [ ]|---|suite [x]|testcase [x]|check [x]|"
                "---|Reload|---|Show header [ ]|Print Header (off)|---|"
                "&Submit Tallyvane Report (off)|---|Generate HTML|---|Previous Failed Test|"
                "Next Failed Test|Back (off)|Forward (off)")
            .split('|');
    QCOMPARE(entryLines(menu), expected);

    // Fixed ids where the host relies on them; every entry has its own.
    QCOMPARE(entry(menu, "All Test Results")->data().toInt(), 100);
    QCOMPARE(entry(menu, "Failed Tests Only")->data().toInt(), 101);
    QCOMPARE(entry(menu, "Reload")->data().toInt(), 102);
    QCOMPARE(entry(menu, "Generate HTML")->data().toInt(), 105);
    QSet<int> ids;
    int entries = 0;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            ids.insert(action->data().toInt());
            ++entries;
        }
    }
    QCOMPARE(ids.size(), entries);
    QVERIFY(!entry(menu, "Reload")->icon().isNull());
    QVERIFY(entry(menu, "Reload")->shortcut().isEmpty());

    // Rebuilt, not appended to, on each opening.
    const qsizetype count = menu->actions().size();
    openMenu(*window);
    QCOMPARE(menu->actions().size(), count);
}

void TestCommandsMenu::filterEntriesFollowTheToolBar()
{
    auto window = open({mainReport});
    window->activated();
    QARToolBar* toolBar = window->reporterToolBar();
    entry(openMenu(*window), "Failed Tests Only")->trigger();
    QVERIFY(toolBar->isFilterOn());
    QCOMPARE(entryLines(openMenu(*window)).mid(0, 2),
             QStringList({"All Test Results [ ]", "Failed Tests Only [x]"}));
    QVERIFY(window->session().criteria().fields() & QAReporterFilterCriteria::StateField);

    entry(openMenu(*window), "All Test Results")->trigger();
    QVERIFY(!toolBar->isFilterOn());
    QCOMPARE(entryLines(openMenu(*window)).mid(0, 2),
             QStringList({"All Test Results [x]", "Failed Tests Only [ ]"}));
    QVERIFY(!(window->session().criteria().fields() & QAReporterFilterCriteria::StateField));

    // The toolbar's filter button is read at each opening.
    toolBar->toggleFilter();
    QCOMPARE(entryLines(openMenu(*window)).mid(0, 2),
             QStringList({"All Test Results [ ]", "Failed Tests Only [x]"}));
    toolBar->toggleFilter();
}

void TestCommandsMenu::typeEntriesStayUncheckedUntilANewLoad()
{
    auto window = open({mainReport});
    window->activated();
    entry(openMenu(*window), "check")->trigger();
    QVERIFY(entryLines(openMenu(*window)).contains("check [ ]"));
    QVERIFY(entryLines(openMenu(*window)).contains("check [ ]"));
    QVERIFY(entryLines(openMenu(*window)).contains("testcase [x]"));
    // The rebuilt menu excludes exactly the unchecked type.
    QCOMPARE(window->session().criteria().typePatterns().size(), qsizetype(1));
    QVERIFY(QAReporterFilterCriteria::holds(window->session().criteria().typePatterns().first(),
                                            "check"));

    QVERIFY(!treeLines(window->reportTree()).contains("elsewhere"));

    // Loading another report starts every type checked again, in the menu
    // and in the tree.
    QStringList more{passedReport};
    window->setFiles(&more, nullptr, QAStViewerWindow::Interactive);
    QVERIFY(treeLines(window->reportTree()).contains("elsewhere"));
    QVERIFY(entryLines(openMenu(*window)).contains("check [x]"));
    QVERIFY(window->session().criteria().typePatterns().isEmpty());
}

void TestCommandsMenu::headerEntries()
{
    auto window = open({mainReport});
    window->activated();
    QVERIFY(entryLines(openMenu(*window)).contains("Print Header (off)"));
    entry(window->commands(), "Show header")->trigger();
    QVERIFY(!window->summaryDock()->isHidden());
    QStringList lines = entryLines(openMenu(*window));
    QVERIFY(lines.contains("Show header [x]"));
    QVERIFY(lines.contains("Print Header"));

    entry(window->commands(), "Show header")->trigger();
    QVERIFY(window->summaryDock()->isHidden());
    lines = entryLines(openMenu(*window));
    QVERIFY(lines.contains("Show header [ ]"));
    QVERIFY(lines.contains("Print Header (off)"));
}

void TestCommandsMenu::submitEntryFollowsTheSelection()
{
    auto window = open({mainReport});
    window->activated();
    // The file's own item has no parent: nothing to submit.
    QVERIFY(entryLines(openMenu(*window)).contains("&Submit Tallyvane Report (off)"));
    window->nextKO();
    window->nextKO();
    QCOMPARE(currentText(*window), QString("failing"));
    QVERIFY(entryLines(openMenu(*window)).contains("&Submit Tallyvane Defect Report"));
    window->prevKO();
    QCOMPARE(currentText(*window), QString("suite"));
    window->reportTree()->setCurrentItem(window->reportTree()->currentItem()->child(0));
    QCOMPARE(currentText(*window), QString("passing"));
    QVERIFY(entryLines(openMenu(*window)).contains("&Submit Tallyvane Report"));
}

void TestCommandsMenu::highlightedEntriesShowTheirStatusText()
{
    auto window = open({mainReport});
    window->activated();
    QMenu* menu = openMenu(*window);
    auto statusOf = [&](const QString& text) {
        m_hostWindow->statusBar()->clearMessage();
        emit menu->hovered(entry(menu, text));
        return m_hostWindow->statusBar()->currentMessage();
    };
    QCOMPARE(statusOf("All Test Results"), QString("Display complete report"));
    QCOMPARE(statusOf("Failed Tests Only"), QString("Display failed tests only"));
    QCOMPARE(statusOf("Reload"), QString("Reload the current report"));
    QCOMPARE(statusOf("Generate HTML"), QString("Generate the viewer's content to a HTML file"));
    QCOMPARE(statusOf("testcase"), QString("Show or hide testcase"));
    QCOMPARE(statusOf("Show header"), QString("Show or hide Show header"));
    QCOMPARE(statusOf("Print Header"), QString("Show or hide Print Header"));
    QCOMPARE(statusOf("&Submit Tallyvane Report"),
             QString("Show or hide &Submit Tallyvane Report"));

    // By id, as the host's menu reports it.
    window->highlighted(101);
    QCOMPARE(m_hostWindow->statusBar()->currentMessage(), QString("Display failed tests only"));
}

void TestCommandsMenu::activationSharesTheToolBar()
{
    auto first = open({mainReport});
    auto second = open({mainReport});
    QARToolBar* toolBar = first->reporterToolBar();
    QCOMPARE(second->reporterToolBar(), toolBar);
    QAction* next = toolBarAction(toolBar, "Next Failed Test");
    QVERIFY(next && !next->isEnabled());

    m_studio.calls.clear();
    first->activated();
    second->activated();
    QCOMPARE(m_studio.calls, QStringList({"insertMenu Test Report", "insertMenu Test Report"}));
    QVERIFY(next->isEnabled());
    next->trigger();
    QCOMPARE(currentText(*first), QString("suite"));
    QCOMPARE(currentText(*second), QString("suite"));

    // A deactivated window drops its connections and its host menu.
    m_studio.calls.clear();
    first->desactivated();
    QCOMPARE(m_studio.calls, QStringList({"removeMenu 1"}));
    QVERIFY(!next->isEnabled());
    emit toolBar->KOsuivClicked();
    QCOMPARE(currentText(*first), QString("suite"));
    QCOMPARE(currentText(*second), QString("failing"));
    emit toolBar->KOprecClicked();
    QCOMPARE(currentText(*first), QString("suite"));
    QCOMPARE(currentText(*second), QString("suite"));

    // Activating again connects once, and puts the menu back under a new id.
    m_studio.calls.clear();
    first->activated();
    first->activated();
    QCOMPARE(m_studio.calls.first(), QString("insertMenu Test Report"));
    emit toolBar->KOsuivClicked();
    QCOMPARE(currentText(*first), QString("failing"));
    toolBar->toggleFilter();
    emit toolBar->fltClicked();
    QVERIFY(first->session().criteria().fields() & QAReporterFilterCriteria::StateField);
    QVERIFY(second->session().criteria().fields() & QAReporterFilterCriteria::StateField);
    toolBar->toggleFilter();
}

void TestCommandsMenu::closingRemovesTheMenu()
{
    // A window that is not active has no menu in the host to take back.
    auto idle = open({});
    idle->close();
    QVERIFY(m_studio.calls.isEmpty());

    auto active = open({});
    active->activated();
    QCOMPARE(m_studio.calls, QStringList({"insertMenu Test Report"}));
    m_studio.calls.clear();
    QAction* next = toolBarAction(active->reporterToolBar(), "Next Failed Test");
    QVERIFY(next->isEnabled());
    active->close();
    QCOMPARE(m_studio.calls, QStringList({"removeMenu 1"}));
    QVERIFY(!next->isEnabled());
    QVERIFY(active->commands()->actions().isEmpty());

    // Closed, the window forgot the menu's place: deactivation takes nothing.
    m_studio.calls.clear();
    active->desactivated();
    QVERIFY(m_studio.calls.isEmpty());
}

void TestCommandsMenu::withoutHostWindowTheMenuGoesInTheWindow()
{
    m_studio.window = nullptr;
    auto window = open({mainReport});
    QCOMPARE(window->reporterToolBar()->parent(), window.get());
    QCOMPARE(window->reporterToolBar()->windowTitle(), QString("Test Report Toolbar"));
    window->activated();
    window->desactivated();
    window->activated();
    QVERIFY(m_studio.calls.filter("insertMenu").isEmpty());
    QList<QAction*> entries;
    for (QAction* action : window->menuBar()->actions()) {
        if (action->menu() == window->commands())
            entries << action;
    }
    QCOMPARE(entries.size(), qsizetype(1));
    QCOMPARE(entries.first()->text(), QString("&Commands"));
}

QTEST_MAIN(TestCommandsMenu)
#include "tst_commandsmenu.moc"
