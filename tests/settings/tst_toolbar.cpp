#include "qartoolbar.h"
#include "recordingstudio.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>

class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void buttonsSignalOnlyWhenEnabled();
    void sharedToolBarNeedsHostMainWindow();
};

// The filter's signal comes with the state it switched to.
void TestToolBar::buttonsSignalOnlyWhenEnabled()
{
    QMainWindow window;
    auto* bar = new QARToolBar("Test", &window);
    QStringList heard;
    connect(bar, &QARToolBar::KOsuivClicked, [&] { heard << "next"; });
    connect(bar, &QARToolBar::KOprecClicked, [&] { heard << "previous"; });
    connect(bar, &QARToolBar::fltClicked, [&] { heard << (bar->isFilterOn() ? "on" : "off"); });
    auto clickAll = [bar] {
        for (const char* name : {"Previous Failed Test", "Next Failed Test", "Filter", "Filter"})
            QTest::mouseClick(bar->widgetForAction(bar->findChild<QAction*>(name)), Qt::LeftButton);
    };
    clickAll();
    QVERIFY(heard.isEmpty());
    bar->setButtonsEnabled(true);
    clickAll();
    QCOMPARE(heard, QStringList({"previous", "next", "on", "off"}));
    QCOMPARE(bar->nextFailedAction()->shortcut(), QKeySequence(Qt::Key_F8));
    QCOMPARE(bar->previousFailedAction()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
}

void TestToolBar::sharedToolBarNeedsHostMainWindow()
{
    RecordingStudio studio;
    QVERIFY(!reporterToolBar(&studio));
    QMainWindow host;
    studio.window = &host;
    QARToolBar* shared = reporterToolBar(&studio);
    QVERIFY(shared && reporterToolBar(&studio) == shared);
    QCOMPARE(host.toolBarArea(shared), Qt::TopToolBarArea);
    shared->toggleFilter();
    QVERIFY(shared->isFilterOn());
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
