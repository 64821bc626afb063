#include "qartoolbar.h"
#include "recordingstudio.h"

#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QImage builtIn(const char* file)
{
    return QImage(QString(XRD_SOURCE_DIR "/resources/pixmaps/") + file)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage shown(const QToolButton* button)
{
    return button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonsAreSetUpAndDisabled();
    void clicksEmitTheirOwnSignal();
    void filterClickFlipsIconAndPressedLookThenEmits();
    void toggleFilterFlipsWithoutSignal();
    void sharedToolBarNeedsHostMainWindow();

private:
    QToolButton* button(const char* name) const { return m_toolBar->findChild<QToolButton*>(name); }

    QMainWindow* m_window = nullptr;
    QARToolBar* m_toolBar = nullptr;
};

void TestToolBar::init()
{
    m_window = new QMainWindow;
    m_toolBar = new QARToolBar("Test", m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestToolBar::cleanup()
{
    delete m_window;
}

void TestToolBar::buttonsAreSetUpAndDisabled()
{
    QCOMPARE(m_window->toolBarArea(m_toolBar), Qt::TopToolBarArea);
    QVERIFY(!m_toolBar->isFilterOn());
    const struct
    {
        const char* name;
        const char* icon;
        const char* whatsThis;
    } expected[] = {
        {"Previous Failed Test", "precKO.xpm", "Move cursor to the previous failed test."},
        {"Next Failed Test", "nextKO.xpm", "Move cursor to the next failed test."},
        {"Filter", "testscomplete.xpm", "display all tests or only failed tests"},
    };
    for (const auto& e : expected) {
        QToolButton* b = button(e.name);
        QVERIFY2(b, e.name);
        QVERIFY(!b->isEnabled());
        QCOMPARE(shown(b), builtIn(e.icon));
        QVERIFY(b->whatsThis().contains(e.whatsThis));
    }
    QCOMPARE(button("Filter")->toolTip(), QString("All Test Results / Failed Tests Only"));

    m_toolBar->setButtonsEnabled(true);
    for (const auto& e : expected)
        QVERIFY(button(e.name)->isEnabled());
}

void TestToolBar::clicksEmitTheirOwnSignal()
{
    m_toolBar->setButtonsEnabled(true);
    QSignalSpy next(m_toolBar, &QARToolBar::KOsuivClicked);
    QSignalSpy previous(m_toolBar, &QARToolBar::KOprecClicked);
    QSignalSpy filter(m_toolBar, &QARToolBar::fltClicked);

    QTest::mouseClick(button("Next Failed Test"), Qt::LeftButton);
    QCOMPARE(next.count(), 1);
    QCOMPARE(previous.count(), 0);
    QTest::mouseClick(button("Previous Failed Test"), Qt::LeftButton);
    QCOMPARE(previous.count(), 1);
    QCOMPARE(next.count(), 1);
    QCOMPARE(filter.count(), 0);
}

void TestToolBar::filterClickFlipsIconAndPressedLookThenEmits()
{
    m_toolBar->setButtonsEnabled(true);
    QToolButton* filterButton = button("Filter");
    bool stateWhenEmitted = false;
    connect(m_toolBar, &QARToolBar::fltClicked, this,
            [&] { stateWhenEmitted = m_toolBar->isFilterOn(); });
    QSignalSpy filter(m_toolBar, &QARToolBar::fltClicked);
    QSignalSpy next(m_toolBar, &QARToolBar::KOsuivClicked);

    QTest::mouseClick(filterButton, Qt::LeftButton);
    QCOMPARE(filter.count(), 1);
    QVERIFY(stateWhenEmitted); // the state flips before the signal
    QVERIFY(m_toolBar->isFilterOn());
    QVERIFY(filterButton->isChecked());
    QCOMPARE(shown(filterButton), builtIn("testsfailed.xpm"));

    QTest::mouseClick(filterButton, Qt::LeftButton);
    QCOMPARE(filter.count(), 2);
    QVERIFY(!m_toolBar->isFilterOn());
    QVERIFY(!filterButton->isChecked());
    QCOMPARE(shown(filterButton), builtIn("testscomplete.xpm"));
    QCOMPARE(next.count(), 0);
}

void TestToolBar::toggleFilterFlipsWithoutSignal()
{
    QSignalSpy filter(m_toolBar, &QARToolBar::fltClicked);
    QSignalSpy refresh(m_toolBar, &QARToolBar::refreshClicked);
    QToolButton* filterButton = button("Filter");

    m_toolBar->toggleFilter();
    QVERIFY(m_toolBar->isFilterOn());
    QVERIFY(filterButton->isChecked());
    QCOMPARE(shown(filterButton), builtIn("testsfailed.xpm"));
    m_toolBar->toggleFilter();
    QVERIFY(!m_toolBar->isFilterOn());
    QVERIFY(!filterButton->isChecked());
    QCOMPARE(shown(filterButton), builtIn("testscomplete.xpm"));
    QCOMPARE(filter.count(), 0);
    QCOMPARE(refresh.count(), 0);
}

void TestToolBar::sharedToolBarNeedsHostMainWindow()
{
    QVERIFY(!reporterToolBar(nullptr));
    RecordingStudio studio;
    QVERIFY(!reporterToolBar(&studio));
    QCOMPARE(m_window->findChildren<QARToolBar*>().count(), 1); // only the one of init()

    QMainWindow host;
    studio.window = &host;
    QARToolBar* shared = reporterToolBar(&studio);
    QVERIFY(shared);
    QCOMPARE(reporterToolBar(&studio), shared);
    QCOMPARE(host.findChildren<QARToolBar*>().count(), 1);
    QCOMPARE(host.toolBarArea(shared), Qt::TopToolBarArea);
    QCOMPARE(shared->windowTitle(), QString("Test Report Toolbar"));
    QVERIFY(!button("Filter")->isEnabled() &&
            !shared->findChild<QToolButton*>("Filter")->isEnabled());
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
