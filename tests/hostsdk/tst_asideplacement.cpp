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
    // The area is always 1000 x 800; the gap to the rectangle is 8 pixels.
    QTest::addRow("clear already")
        << QRect(600, 600, 100, 100) << QRect(100, 100, 50, 50) << QRect(600, 600, 100, 100);
    QTest::addRow("nothing to keep clear")
        << QRect(50, 50, 300, 200) << QRect() << QRect(50, 50, 300, 200);
    QTest::addRow("more room below")
        << QRect(50, 50, 300, 200) << QRect(100, 100, 200, 20) << QRect(50, 128, 300, 200);
    QTest::addRow("more room above")
        << QRect(50, 600, 300, 200) << QRect(100, 700, 200, 20) << QRect(50, 492, 300, 200);
    QTest::addRow("full height: beside")
        << QRect(150, 300, 300, 200) << QRect(100, 0, 200, 800) << QRect(308, 300, 300, 200);
    QTest::addRow("kept inside the area")
        << QRect(900, 50, 300, 200) << QRect(950, 100, 20, 20) << QRect(700, 128, 300, 200);
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
