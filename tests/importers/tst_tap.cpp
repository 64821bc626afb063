#include "formatchecks.h"
#include "qatapparser.h"

#include <QtTest>

class TestTap : public QObject
{
    Q_OBJECT

private slots:
    void everyPrefix();
    void recognises_data();
    void recognises();
    void testPoint_data();
    void testPoint();
    void versionBomAndCrlf();
    void diagnosticsAndOutput();
    void sourceLocation_data();
    void sourceLocation();
    void subtests_data();
    void subtests();
    void plans_data();
    void plans();
    void bailOut();
    void truncatedSubtest();
    void notTap();
    void tooDeep();
    void manySubtestsAndLongLine();
};

void TestTap::recognises_data()
{
    FormatChecks::recognitionRows("TAP");
    QTest::newRow("plan last") << QByteArray("# tests\nok 1 - a\nnot ok 2\n1..2\n") << true;
    QTest::newRow("bom, crlf") << QByteArray("\xEF\xBB\xBFTAP version 14\r\n1..0\r\n") << true;
    QTest::newRow("prose") << QByteArray("ok = compute();\nokay then\n") << false;
}

void TestTap::recognises()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, expected);
    QCOMPARE(QATapParser::recognises(head), expected);
}

void TestTap::testPoint_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("message");
    QTest::newRow("ok") << QByteArray("ok 1 - adds") << "case adds passed"
                        << "";
    QTest::newRow("not ok, no dash") << QByteArray("not ok 1 subtracts") << "case subtracts failed"
                                     << "";
    QTest::newRow("bare") << QByteArray("ok") << "case test 1 passed"
                          << "";
    QTest::newRow("number only") << QByteArray("not ok 7") << "case test 7 failed"
                                 << "";
    QTest::newRow("todo fails") << QByteArray("not ok 1 - slow # TODO not yet")
                                << "case slow inconclusive"
                                << "not yet";
    QTest::newRow("todo passes") << QByteArray("ok 1 - lucky # todo later") << "case lucky passed"
                                 << "later";
    QTest::newRow("skip") << QByteArray("ok 1 # SKIP no network") << "case test 1 inconclusive"
                          << "no network";
    QTest::newRow("skipped:") << QByteArray("not ok 1 - x # Skipped: flaky")
                              << "case x inconclusive"
                              << "flaky";
    QTest::newRow("escaped hash") << QByteArray("ok 1 - has \\# hash # skip")
                                  << "case has # hash inconclusive"
                                  << "";
    QTest::newRow("plain comment") << QByteArray("ok 1 - a # note") << "case a # note passed"
                                   << "";
    QTest::newRow("astral") << QByteArray("ok 1 - \xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9")
                            << "case \U0001F600 été passed"
                            << "";
}

void TestTap::testPoint()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, event);
    QFETCH(QString, message);
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>("1..1\n" + line + "\n", &sink));
    QCOMPARE(sink.events, QStringList({"run", event, "end run"}));
    QCOMPARE(sink.cases.first().message, message);
    QCOMPARE(sink.cases.first().seconds, -1.0);
}

void TestTap::versionBomAndCrlf()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>("\xEF\xBB\xBFTAP version 14\r\n1..1\r\nok 1 - a\r\n", &sink));
    QCOMPARE(sink.info.tool, QString("TAP 14"));
    QCOMPARE(sink.events, QStringList({"run", "case a passed", "end run"}));

    RecordingSink plain;
    QVERIFY(parseBytes<QATapParser>("ok 1\n1..1\nTAP version 13\n", &plain));
    QCOMPARE(plain.info.tool, QString("TAP 12"));
    QCOMPARE(plain.cases.first().systemOut, QString("TAP version 13"));

    RecordingSink huge; // a version past 32 bits is read whole
    QVERIFY(parseBytes<QATapParser>("TAP version 999999999999\n1..0\n", &huge));
    QCOMPARE(huge.info.tool, QString("TAP 999999999999"));
}

void TestTap::diagnosticsAndOutput()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(
        "# before any test\n" + Samples::tap() + "# trailing note\ngarbage\n", &sink));
    QCOMPARE(sink.events, QStringList({"run", "case adds passed", "case subtracts failed",
                                       "case divides inconclusive", "end run"}));
    const QAResultCase failed = sink.cases.at(1);
    QCOMPARE(failed.message, QString("expected 4, got 5"));
    QCOMPARE(failed.failureType, QString("fail"));
    QCOMPARE(failed.sourceFile, QString("t/calc.js"));
    QCOMPARE(failed.sourceLine, 21);
    QCOMPARE(failed.seconds, 0.0125);
    QVERIFY(
        failed.details.startsWith("message: 'expected 4, got 5'\nseverity: fail\nat:\n  file:"));
    QVERIFY(failed.details.endsWith("duration_ms: 12.5"));
    QCOMPARE(sink.cases.at(0).systemOut, QString());
    QCOMPARE(sink.cases.at(2).systemOut, QString("# trailing note\ngarbage"));

    RecordingSink located;
    QVERIFY(
        parseBytes<QATapParser>("1..1\nnot ok 1 - t\n  ---\n  stack: |\n    at f (/src/a.js:9:3)\n"
                                "  ...\n",
                                &located));
    QCOMPARE(located.cases.first().sourceFile, QString("/src/a.js"));
    QCOMPARE(located.cases.first().sourceLine, 9);
}

void TestTap::sourceLocation_data()
{
    QTest::addColumn<QByteArray>("stack");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::newRow(".NET") << QByteArray("at A.B() in /src/B.cs:line 42") << "/src/B.cs" << 42;
    QTest::newRow("compiler") << QByteArray("at A.B() C:\\src\\B.cs(42,7)") << "C:\\src\\B.cs"
                              << 42;
    QTest::newRow("perl") << QByteArray("Failed test at t/basic.t line 42.") << "t/basic.t" << 42;
    QTest::newRow("script") << QByteArray("at B (file:///src/b.mjs:42:7)") << "/src/b.mjs" << 42;
    QTest::newRow("none") << QByteArray("at A.B()") << "" << 0;
}

void TestTap::sourceLocation()
{
    QFETCH(QByteArray, stack);
    QFETCH(QString, file);
    QFETCH(int, line);
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(
        "1..1\nnot ok 1\n  ---\n  stack: |-\n    at X.Y()\n    " + stack + "\n  ...\n", &sink));
    QCOMPARE(sink.cases.first().sourceFile, file);
    QCOMPARE(sink.cases.first().sourceLine, line);
}

void TestTap::subtests_data()
{
    QTest::addColumn<QByteArray>("tap");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("named at parent level, nested")
        << QByteArray("TAP version 14\n1..2\n"
                      "# Subtest: outer\n"
                      "    # Subtest: inner\n"
                      "        ok 1 - deep\n"
                      "        1..1\n"
                      "    ok 1 - inner done\n"
                      "    not ok 2 - mid\n"
                      "    1..2\n"
                      "not ok 1 - outer done\n"
                      "ok 2 - after\n")
        << QStringList({"run", "suite outer done", "suite inner done", "case deep passed",
                        "end suite", "case mid failed", "end suite", "case after passed",
                        "end run"});
    QTest::newRow("named at own level, closer unnamed")
        << QByteArray("ok 1 - first\n"
                      "    # Subtest: group\n"
                      "    ok 1 - x\n"
                      "    1..1\n"
                      "ok 2\n"
                      "1..2\n")
        << QStringList({"run", "case first passed", "suite group", "case x passed", "end suite",
                        "end run"});
    QTest::newRow("empty subtest's name not reused")
        << QByteArray("# Subtest: empty\nok 1 - empty\n    ok 1 - x\n    1..1\nok 2\n1..2\n")
        << QStringList({"run", "case empty passed", "suite subtest", "case x passed", "end suite",
                        "end run"});
    QTest::newRow("version only") << QByteArray("TAP version 14\n")
                                  << QStringList({"run", "end run"});
    QTest::newRow("subtest plan not met")
        << QByteArray("    ok 1 - x\n    1..3\nok 1 - group\n1..1\n")
        << QStringList({"run", "suite group", "case x passed", "case test plan failed", "end suite",
                        "end run"});
}

void TestTap::subtests()
{
    QFETCH(QByteArray, tap);
    QFETCH(QStringList, events);
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(tap, &sink));
    QCOMPARE(sink.events, events);
}

void TestTap::plans_data()
{
    QTest::addColumn<QByteArray>("tap");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("message");
    QTest::newRow("too few") << QByteArray("1..5\nok 1\nok 2\nnot ok 3\n")
                             << QStringList({"run", "case test 1 passed", "case test 2 passed",
                                             "case test 3 failed", "case test plan failed",
                                             "end run"})
                             << "planned 5 tests but ran 3";
    QTest::newRow("none") << QByteArray("ok 1 - a\n")
                          << QStringList(
                                 {"run", "case a passed", "case test plan failed", "end run"})
                          << "no plan: ran 1 tests";
    QTest::newRow("skip all") << QByteArray("1..0 # SKIP no database\n")
                              << QStringList(
                                     {"run", "warning all tests skipped: no database", "end run"})
                              << "";
}

void TestTap::plans()
{
    QFETCH(QByteArray, tap);
    QFETCH(QStringList, events);
    QFETCH(QString, message);
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(tap, &sink));
    QCOMPARE(sink.events, events);
    QCOMPARE(sink.cases.isEmpty() ? QString() : sink.cases.last().message, message);
}

void TestTap::bailOut()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>("1..4\nok 1 - a\n    ok 1 - b\n    Bail out! disk full\n"
                                    "ok 2 - never read\n",
                                    &sink));
    QCOMPARE(sink.events, QStringList({"run", "case a passed", "suite subtest", "case b passed",
                                       "case Bail out! failed", "end suite", "end run"}));
    QCOMPARE(sink.cases.last().message, QString("Bail out! disk full"));
}

void TestTap::truncatedSubtest()
{
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(
        "1..2\n# Subtest: cut\n    1..4\n    ok 1 - a\n        ok 1 - b\n", &sink));
    QVERIFY(sink.balanced());
    QCOMPARE(sink.shape(), QStringList({"run", "suite cut", "suite subtest", "end suite",
                                        "end suite", "end run"}));
    QCOMPARE(sink.cases.size(), 4); // a, b, and the plans of cut and of the run not met
    QCOMPARE(sink.cases.at(2).message, QString("planned 4 tests but ran 1"));
    QCOMPARE(sink.cases.at(3).message, QString("planned 2 tests but ran 0"));
}

void TestTap::notTap()
{
    RecordingSink sink;
    QString error;
    QVERIFY(!parseBytes<QATapParser>("hello\nworld\n", &sink, &error));
    QVERIFY(sink.events.isEmpty());
    QVERIFY2(error.contains("not a TAP stream"), qPrintable(error));
}

void TestTap::tooDeep()
{
    for (const int levels : {QATapParser::MaxDepth, QATapParser::MaxDepth + 1}) {
        QByteArray tap = "ok 1 - top\n";
        for (int level = 1; level <= levels; ++level)
            tap += QByteArray(4 * level, ' ') + "ok 1 - x\n";
        RecordingSink sink;
        QString error;
        const bool ok = parseBytes<QATapParser>(tap, &sink, &error);
        QCOMPARE(ok, levels <= QATapParser::MaxDepth);
        QVERIFY(sink.balanced());
        if (!ok)
            QCOMPARE(error,
                     QString("line %1: subtests nested deeper than 2000 levels").arg(levels + 1));
    }
}

void TestTap::manySubtestsAndLongLine()
{
    QByteArray tap = "TAP version 14\n";
    const int subtests = 10000;
    for (int index = 1; index <= subtests; ++index)
        tap += "    ok 1 - inner\n    1..1\nok " + QByteArray::number(index) + " - s\n";
    tap += "1.." + QByteArray::number(subtests + 1) + "\nok " + QByteArray::number(subtests + 1) +
           " - " + QByteArray(8 << 20, 'x') + "\n";
    RecordingSink sink;
    QVERIFY(parseBytes<QATapParser>(tap, &sink));
    QVERIFY(sink.balanced());
    QCOMPARE(sink.events.count("suite s"), subtests);
    QCOMPARE(sink.cases.size(), subtests + 1);
    QCOMPARE(sink.cases.last().name.size(), 8 << 20);
}

// From "TAP version 1" on, any cut is a stream that reads.
void TestTap::everyPrefix()
{
    FormatChecks::everyPrefix<QATapParser>(Samples::tap(), 3, 13);
}

QTEST_APPLESS_MAIN(TestTap)
#include "tst_tap.moc"
