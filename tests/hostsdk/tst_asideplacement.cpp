#include "qaasideplacement.h"

#include <QtTest>

class TestAsidePlacement : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheRectangleInSight_data();
    void keepsTheRectangleInSight();
};

void TestAsidePlacement::keepsTheRectangleInSight_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("keepClear");
    QTest::addColumn<QRect>("placed");
    auto row = [](const char* name, const QRect& window, const QRect& keepClear,
                  const QRect& placed) { QTest::newRow(name) << window << keepClear << placed; };
    // The area is always 1000 x 800; the gap to the rectangle is 8 pixels.
    row("clear already", {600, 600, 100, 100}, {100, 100, 50, 50}, {600, 600, 100, 100});
    row("nothing to keep clear", {50, 50, 300, 200}, {}, {50, 50, 300, 200});
    row("more room below", {50, 50, 300, 200}, {100, 100, 200, 20}, {50, 128, 300, 200});
    row("more room above", {50, 600, 300, 200}, {100, 700, 200, 20}, {50, 492, 300, 200});
    row("full height: beside", {150, 300, 300, 200}, {100, 0, 200, 800}, {308, 300, 300, 200});
    row("kept inside the area", {900, 50, 300, 200}, {950, 100, 20, 20}, {700, 128, 300, 200});
}

void TestAsidePlacement::keepsTheRectangleInSight()
{
    QFETCH(QRect, window);
    QFETCH(QRect, keepClear);
    QFETCH(QRect, placed);
    QCOMPARE(QAAsidePlacement::aside(window, keepClear, QRect(0, 0, 1000, 800)), placed);
}

QTEST_APPLESS_MAIN(TestAsidePlacement)
#include "tst_asideplacement.moc"
