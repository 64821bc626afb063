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
    void findsMarksAtEveryOffset();
};

void TestSourceLocation::findsTheProjectsFrame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("target"); // what the viewer opens; empty for none
    QTest::newRow("node frame after library frames")
        << "Error\n    at run (node_modules/runner/index.js:3:1)\n"
           "    at node:internal/process/task_queues:95:5\n    at check (lib/x.ts:7:9)"
        << "lib/x.ts line 7";
    QTest::newRow("python traceback")
        << "Traceback (most recent call last):\n  File \"tests/test_a.py\", line 3, in test_x\n"
        << "tests/test_a.py line 3";
    QTest::newRow("java frames of the test library skipped")
        << "org.opentest4j.AssertionFailedError: x\n"
           "\tat org.junit.jupiter.api.Assertions.fail(Assertions.java:10)\n"
           "\tat com.acme.ATest.t(ATest.java:31)"
        << "ATest.java line 31";
    QTest::newRow("python and go library frames skipped")
        << "  File \"/venv/site-packages/_pytest/x.py\", line 9\n"
           "\t/usr/local/go/src/testing/testing.go:1446 +0x10\n  File \"t/test_b.py\", line 4"
        << "t/test_b.py line 4";
    QTest::newRow("frame before a compiler location") << "at A.run(Native Method) in B.cs(7)"
                                                      << "B.cs line 7";
    QTest::newRow(".NET") << "   at Shop.CartTests.Total() in C:\\src\\CartTests.cs:line 25"
                          << "C:\\src\\CartTests.cs line 25";
    QTest::newRow("compiler") << "at A.B() C:\\src\\B.cs(42,7)"
                              << "C:\\src\\B.cs line 42";
    QTest::newRow("perl") << "Failed test at t/basic.t line 42."
                          << "t/basic.t line 42";
    QTest::newRow("file url") << "at B (file:///src/b.mjs:42:7)"
                              << "/src/b.mjs line 42";
    QTest::newRow("no file") << "expected 3 but was 4 at 12:30"
                             << "";
    QTest::newRow("line zero is none, the next one is") << "a.py:0: see b.py:5"
                                                        << "b.py line 5";
    // A location past the first lines, or deep in one enormous line, is
    // not searched for: output of megabytes must not be scanned whole.
    QTest::newRow("near") << "near.py:5: x" + QString(1 << 20, 'x') << "near.py line 5";
}

void TestSourceLocation::findsTheProjectsFrame()
{
    QFETCH(QString, text);
    const QASourceLocation location = QASourceLocation::find(text);
    QTEST(location.isValid() ? location.target() : QString(), "target");
}

// Lines are searched several units at a time: a location's mark and a
// library's marker must be found wherever they start in the line.
void TestSourceLocation::findsMarksAtEveryOffset()
{
    for (int offset = 0; offset < 20; ++offset) {
        const QString padding(offset, u'x');
        const QString library = padding + " node_modules/a/b.js:3:1\n";
        const QStringList frames{padding + " t/c.go:12: bad", padding + " in B.cs(42,7)",
                                 padding + " at t/x.t line 4."};
        const QStringList targets{"t/c.go line 12", "B.cs line 42", "t/x.t line 4"};
        for (int index = 0; index < frames.size(); ++index) {
            const QASourceLocation location = QASourceLocation::find(library + frames[index]);
            QVERIFY2(location.isValid(), qPrintable(frames[index]));
            QCOMPARE(location.target(), targets[index]);
        }
    }
}

QTEST_GUILESS_MAIN(TestSourceLocation)
#include "tst_sourcelocation.moc"
