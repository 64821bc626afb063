#include "qartoolbar.h"
#include "recordingstudio.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>
#include <QToolButton>

namespace {

QImage builtIn(const QString& file)
{
    return QImage(XRD_SOURCE_DIR "/resources/pixmaps/" + file)
        .convertToFormat(QImage::Format_ARGB32);
}

// The picture the style paints on the button: the icon's On state while the
// button is checked, as QStyle draws a checked tool button.
QImage shown(const QToolButton* button)
{
    return button->icon()
        .pixmap(QSize(16, 16), QIcon::Normal, button->isChecked() ? QIcon::On : QIcon::Off)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

// A toolbar in a main window, recording the signals it emits (the filter's
// with the state it had then).
struct Bar
{
    Bar()
    {
        QObject::connect(toolBar, &QARToolBar::KOsuivClicked, [this] { emitted << "next"; });
        QObject::connect(toolBar, &QARToolBar::KOprecClicked, [this] { emitted << "previous"; });
        QObject::connect(toolBar, &QARToolBar::fltClicked,
                         [this] { emitted << (toolBar->isFilterOn() ? "on" : "off"); });
    }
    QToolButton* button(const char* name) const
    {
        return qobject_cast<QToolButton*>(
            toolBar->widgetForAction(toolBar->findChild<QAction*>(name)));
    }

    QMainWindow window;
    QARToolBar* toolBar = new QARToolBar("Test", &window);
    QStringList emitted;
};

} // namespace

class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void buttonShowsItsPictureAndSignalsOnlyWhenEnabled_data();
    void buttonShowsItsPictureAndSignalsOnlyWhenEnabled();
    void sharedToolBarNeedsHostMainWindow();
};

void TestToolBar::buttonShowsItsPictureAndSignalsOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QString>("iconAfter");
    QTest::addRow("Previous Failed Test")
        << "precKO.xpm" << QKeySequence(Qt::SHIFT | Qt::Key_F8) << "previous"
        << "precKO.xpm";
    QTest::addRow("Next Failed Test") << "nextKO.xpm" << QKeySequence(Qt::Key_F8) << "next"
                                      << "nextKO.xpm";
    QTest::addRow("Filter") << "testscomplete.xpm" << QKeySequence() << "on"
                            << "testsfailed.xpm";
}

void TestToolBar::buttonShowsItsPictureAndSignalsOnlyWhenEnabled()
{
    QFETCH(QString, icon);
    QFETCH(QKeySequence, key);
    QFETCH(QString, emitted);
    QFETCH(QString, iconAfter);
    Bar bar;
    QCOMPARE(bar.window.toolBarArea(bar.toolBar), Qt::TopToolBarArea);
    QToolButton* button = bar.button(QTest::currentDataTag());
    QVERIFY(button && !builtIn(icon).isNull());
    QCOMPARE(shown(button), builtIn(icon));
    QCOMPARE(button->defaultAction()->shortcut(), key);

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(bar.emitted.isEmpty());
    bar.toolBar->setButtonsEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(bar.emitted, QStringList(emitted));
    QCOMPARE(shown(button), builtIn(iconAfter));
    bar.toolBar->setButtonsEnabled(false);
    QVERIFY(!button->isEnabled());
}

void TestToolBar::sharedToolBarNeedsHostMainWindow()
{
    QVERIFY(!reporterToolBar(nullptr));
    RecordingStudio studio;
    QVERIFY(!reporterToolBar(&studio));
    QMainWindow host;
    studio.window = &host;
    QARToolBar* shared = reporterToolBar(&studio);
    QVERIFY(shared && reporterToolBar(&studio) == shared);
    QCOMPARE(host.toolBarArea(shared), Qt::TopToolBarArea);
    QCOMPARE(shared->windowTitle(), QString("Test Report Toolbar"));
    shared->toggleFilter();
    QVERIFY(shared->isFilterOn());
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
