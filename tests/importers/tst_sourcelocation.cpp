// Where a failure's text says it happened: the source link of an imported
// failure is built from this, so a wrong file or line sends the reader to
// the wrong place.
#include "qasourcelocation.h"

#include <QtTest>

class TestSourceLocation : public QObject
{
    Q_OBJECT

private slots:
    void findsTheProjectsFrame_data();
    void findsTheProjectsFrame();
    void targetIsWhatTheViewerOpens();
    void hugeTextIsLookedAtOnlyNearItsStart();
};

void TestSourceLocation::findsTheProjectsFrame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::newRow("node frame") << "Error: boom\n    at Object.toBe (src/a.test.js:12:5)"
                                << "src/a.test.js" << 12;
    QTest::newRow("node frame after library frames")
        << "Error\n    at run (node_modules/runner/index.js:3:1)\n"
           "    at node:internal/process/task_queues:95:5\n    at check (lib/x.ts:7:9)"
        << "lib/x.ts" << 7;
    QTest::newRow("python traceback")
        << "Traceback (most recent call last):\n  File \"tests/test_a.py\", line 3, in test_x\n"
           "    assert f() == 2\nAssertionError"
        << "tests/test_a.py" << 3;
    QTest::newRow("python frame in site-packages skipped")
        << "  File \"/usr/lib/python3/dist-packages/pluggy/_hooks.py\", line 493, in __call__\n"
           "tests/test_b.py:40: AssertionError"
        << "tests/test_b.py" << 40;
    QTest::newRow("java frames of the test library skipped")
        << "org.opentest4j.AssertionFailedError: x\n"
           "\tat org.junit.jupiter.api.Assertions.fail(Assertions.java:10)\n"
           "\tat com.acme.ATest.t(ATest.java:31)"
        << "ATest.java" << 31;
    QTest::newRow("go") << "    calc_test.go:42: got 1, want 2"
                        << "calc_test.go" << 42;
    QTest::newRow("c++") << "math_test.cc:17\nExpected equality"
                         << "math_test.cc" << 17;
    QTest::newRow(".NET")
        << "   at Shop.Tests.CartTests.Total() in C:\\src\\Shop\\CartTests.cs:line 25"
        << "C:\\src\\Shop\\CartTests.cs" << 25;
    QTest::newRow("windows path with colon and line")
        << "C:\\work\\app\\spec\\a_spec.rb:8:in `block'"
        << "C:\\work\\app\\spec\\a_spec.rb" << 8;
    QTest::newRow("no location") << "expected 3 but was 4 at 12:30"
                                 << "" << 0;
    QTest::newRow("line zero is none") << "a.py:0: oops"
                                       << "" << 0;
    QTest::newRow("empty") << ""
                           << "" << 0;
}

void TestSourceLocation::findsTheProjectsFrame()
{
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(int, line);
    const QASourceLocation location = QASourceLocation::find(text);
    QCOMPARE(location.isValid(), !file.isEmpty());
    if (location.isValid()) {
        QCOMPARE(location.file, file);
        QCOMPARE(location.line, line);
    }
}

void TestSourceLocation::targetIsWhatTheViewerOpens()
{
    const QASourceLocation location = QASourceLocation::find(QStringLiteral("a b/c.py:9: x"));
    // File names are taken without spaces, so that prose before a location
    // ("in a b/c.py") never becomes part of the file.
    QCOMPARE(location.target(), QString("b/c.py line 9"));
}

void TestSourceLocation::hugeTextIsLookedAtOnlyNearItsStart()
{
    // A location past the first lines, or deep in one enormous line, is
    // not searched for: output of megabytes must not be scanned whole.
    QString text = QString(300, QLatin1Char('\n')) + QStringLiteral("late.py:3: x");
    QVERIFY(!QASourceLocation::find(text).isValid());
    text = QString(1 << 20, QLatin1Char('x')) + QStringLiteral(" far.py:3: x");
    QVERIFY(!QASourceLocation::find(text).isValid());
    text = QStringLiteral("near.py:5: x") + QString(1 << 20, QLatin1Char('x'));
    QCOMPARE(QASourceLocation::find(text).target(), QString("near.py line 5"));
}

QTEST_GUILESS_MAIN(TestSourceLocation)
#include "tst_sourcelocation.moc"
