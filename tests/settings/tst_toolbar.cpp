#include "qartoolbar.h"
#include "recordingstudio.h"

#include <QAction>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QImage builtIn(const char* file)
{
    const QImage image(QString(XRD_SOURCE_DIR "/resources/pixmaps/") + file);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The picture the style paints on the button: the icon's On state while the
// button is checked, as QStyle draws a checked tool button.
QImage shown(const QToolButton* button)
{
    const QIcon::State state = button->isChecked() ? QIcon::On : QIcon::Off;
    return button->icon()
        .pixmap(QSize(16, 16), QIcon::Normal, state)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonsShowBuiltInPicturesAndStartDisabled();
    void clicksEmitTheirOwnSignalOnlyWhenEnabled();
    void filterFlipsIconAndPressedLook();
    void sharedToolBarNeedsHostMainWindow();

private:
    QToolButton* button(const char* name) const
    {
        auto* action = m_toolBar->findChild<QAction*>(name);
        return action ? qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action)) : nullptr;
    }

    // The filter's state, whether its button looks pressed, and its picture.
    QString filterLook() const
    {
        const QImage picture = shown(button("Filter"));
        return QString(m_toolBar->isFilterOn() ? "on" : "off") +
               (button("Filter")->isChecked() ? " pressed" : "") +
               (picture == builtIn("testsfailed.xpm")     ? " failed-only"
                : picture == builtIn("testscomplete.xpm") ? " complete"
                                                          : " other");
    }

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

void TestToolBar::buttonsShowBuiltInPicturesAndStartDisabled()
{
    QCOMPARE(m_window->toolBarArea(m_toolBar), Qt::TopToolBarArea);
    QVERIFY(!m_toolBar->isFilterOn());
    const struct
    {
        const char* name;
        const char* icon;
    } expected[] = {
        {"Previous Failed Test", "precKO.xpm"},
        {"Next Failed Test", "nextKO.xpm"},
        {"Filter", "testscomplete.xpm"},
    };
    for (const auto& e : expected) {
        QToolButton* b = button(e.name);
        QVERIFY2(b, e.name);
        QVERIFY2(!b->isEnabled(), e.name);
        QVERIFY2(!builtIn(e.icon).isNull(), e.icon);
        QCOMPARE(shown(b), builtIn(e.icon));
    }

    m_toolBar->setButtonsEnabled(true);
    for (const auto& e : expected)
        QVERIFY2(button(e.name)->isEnabled(), e.name);
    m_toolBar->setButtonsEnabled(false);
    for (const auto& e : expected)
        QVERIFY2(!button(e.name)->isEnabled(), e.name);
}

void TestToolBar::clicksEmitTheirOwnSignalOnlyWhenEnabled()
{
    QSignalSpy next(m_toolBar, &QARToolBar::KOsuivClicked);
    QSignalSpy previous(m_toolBar, &QARToolBar::KOprecClicked);
    QSignalSpy filter(m_toolBar, &QARToolBar::fltClicked);
    QSignalSpy refresh(m_toolBar, &QARToolBar::refreshClicked);

    for (const char* name : {"Next Failed Test", "Previous Failed Test", "Filter"})
        QTest::mouseClick(button(name), Qt::LeftButton);
    QCOMPARE(next.count() + previous.count() + filter.count(), 0);
    QVERIFY(!m_toolBar->isFilterOn());

    m_toolBar->setButtonsEnabled(true);
    QTest::mouseClick(button("Next Failed Test"), Qt::LeftButton);
    QCOMPARE(next.count(), 1);
    QCOMPARE(previous.count(), 0);
    QTest::mouseClick(button("Previous Failed Test"), Qt::LeftButton);
    QCOMPARE(previous.count(), 1);
    QCOMPARE(next.count(), 1);
    QCOMPARE(filter.count(), 0);
    QCOMPARE(refresh.count(), 0);
}

// A click flips the filter before it emits; toggling flips it silently,
// also while the buttons are disabled.
void TestToolBar::filterFlipsIconAndPressedLook()
{
    QList<bool> stateWhenEmitted;
    connect(m_toolBar, &QARToolBar::fltClicked, this,
            [&] { stateWhenEmitted.append(m_toolBar->isFilterOn()); });
    QSignalSpy next(m_toolBar, &QARToolBar::KOsuivClicked);

    m_toolBar->toggleFilter();
    QCOMPARE(filterLook(), QString("on pressed failed-only"));
    m_toolBar->toggleFilter();
    QCOMPARE(filterLook(), QString("off complete"));
    QVERIFY(stateWhenEmitted.isEmpty());

    m_toolBar->setButtonsEnabled(true);
    QTest::mouseClick(button("Filter"), Qt::LeftButton);
    QCOMPARE(stateWhenEmitted, QList<bool>({true}));
    QCOMPARE(filterLook(), QString("on pressed failed-only"));
    QTest::mouseClick(button("Filter"), Qt::LeftButton);
    QCOMPARE(stateWhenEmitted, QList<bool>({true, false}));
    QCOMPARE(filterLook(), QString("off complete"));
    QCOMPARE(next.count(), 0);
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

    // Enabling one toolbar leaves the other alone.
    m_toolBar->setButtonsEnabled(true);
    QVERIFY(!shared->findChild<QAction*>("Filter")->isEnabled());
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
