// The chart's choice of round tick values against a brute-force search of
// the 1-2-5 steps, on random ranges.
#include "dchartobject.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that is at least
// the range divided by count, tried one by one.
double referenceStep(double min, double max, int count)
{
    const double rough = (max - min) / std::max(1, count);
    double best = std::numeric_limits<double>::infinity();
    for (int exponent = -15; exponent <= 15; ++exponent)
        for (double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * std::pow(10.0, exponent);
            if (step >= rough * (1 - 1e-12) && step < best)
                best = step;
        }
    return best;
}

bool near(double a, double b, double scale)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(scale));
}

} // namespace

class TestChartTicks : public QObject
{
    Q_OBJECT

private slots:
    void roundStepsCoverTheRange_data();
    void roundStepsCoverTheRange();
    void degenerateRanges_data();
    void degenerateRanges();
};

void TestChartTicks::roundStepsCoverTheRange_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("count");
    QTest::newRow("across zero") << -3.7 << 12.2 << 6;
    QTest::newRow("tiny span") << 1.000001 << 1.000004 << 5;
    QTest::newRow("huge") << 0.0 << 7.3e9 << 4;
    QTest::newRow("count zero") << 2.0 << 9.0 << 0;
    QRandomGenerator random(20240611);
    for (int i = 0; i < 200; ++i) {
        const double scale = std::pow(10.0, random.bounded(-6, 7));
        const double min = (random.generateDouble() * 2 - 1) * scale * 10;
        const double span = random.generateDouble() * scale + scale * 1e-3;
        QTest::addRow("random %d", i) << min << min + span << int(random.bounded(1, 12));
    }
}

void TestChartTicks::roundStepsCoverTheRange()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, count);
    double low = min;
    double high = max;
    const QList<double> ticks = DChartObject::ticks(low, high, count);
    QVERIFY(ticks.size() >= 2);
    const double step = ticks[1] - ticks[0];
    const double expected = referenceStep(min, max, count);
    QVERIFY2(near(step, expected, expected), qPrintable(QStringLiteral("step %1, expected %2")
                                                            .arg(step, 0, 'g', 17)
                                                            .arg(expected, 0, 'g', 17)));
    // The range widens to whole steps around the data, not more.
    QVERIFY(low <= min + step * 1e-6 && low > min - step);
    QVERIFY(high >= max - step * 1e-6 && high < max + step);
    QVERIFY(near(ticks.first(), low, step));
    QVERIFY(near(ticks.last(), high, step) || ticks.size() == 50);
    for (int i = 1; i < ticks.size(); ++i)
        QVERIFY(near(ticks[i] - ticks[i - 1], step, step));
    // Ticks are multiples of the step, and zero is written as zero.
    for (double tick : ticks) {
        QVERIFY(near(tick / step, std::round(tick / step), tick / step));
        if (near(tick, 0.0, step))
            QCOMPARE(tick, 0.0);
    }
}

void TestChartTicks::degenerateRanges_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("centre");
    QTest::newRow("empty range") << 4.0 << 4.0 << 4.0;
    QTest::newRow("reversed") << 5.0 << 1.0 << 5.0;
    QTest::newRow("not a number") << std::nan("") << 3.0 << 0.0;
    QTest::newRow("infinite") << 1.0 << std::numeric_limits<double>::infinity() << 1.0;
}

void TestChartTicks::degenerateRanges()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, centre);
    const QList<double> ticks = DChartObject::ticks(min, max, 5);
    // A range of two around the given value, in finite round steps.
    QVERIFY(std::isfinite(min) && std::isfinite(max));
    QVERIFY(min <= centre - 1 && max >= centre + 1);
    QVERIFY(ticks.size() >= 3 && ticks.size() <= 50);
    QVERIFY(ticks.first() <= centre && ticks.last() >= centre);
}

QTEST_APPLESS_MAIN(TestChartTicks)
#include "tst_charticks.moc"
