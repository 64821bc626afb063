#include "dstyle.h"
#include "qareportercases.h"
#include "qareportercomparison.h"
#include "qareporterfailuregroups.h"
#include "qareporterfailuremask.h"
#include "xrodrecords.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// A case node of report markup: its state, and a failure paragraph when
// a message is given.
QByteArray caseNode(const char* name, const char* state, const char* message = nullptr,
                    const QByteArray& inner = QByteArray())
{
    QByteArray node = QByteArray("<XROD:NODE type=\"testcase\" sum=\"1\" name=\"") + name +
                      "\" state=\"" + state + "\"><TITLE level=\"3\" name=\"a-" + name + "\">" +
                      name + "</TITLE>";
    if (message)
        node += QByteArray("<SECTION><PARAGRAPH style=\"Normal Failed\">") + message +
                "</PARAGRAPH></SECTION>";
    return node + inner + "</XROD:NODE>";
}

QByteArray suite(const char* name, const QByteArray& cases)
{
    return QByteArray("<XROD:NODE type=\"suite\" name=\"") + name + "\" state=\"ok\"><SECTION>" +
           cases + "</SECTION></XROD:NODE>";
}

QByteArray report(const char* root, const QByteArray& suites)
{
    return QByteArray("<XROD><XROD:NODE type=\"workspace\" state=\"ok\" name=\"") + root + "\">" +
           suites + "</XROD:NODE></XROD>";
}

QStringList paths(const QList<QAReporterCase>& cases)
{
    QStringList result;
    for (const QAReporterCase& testCase : cases)
        result << testCase.path;
    return result;
}

QStringList categoryPaths(const QAReporterComparison& comparison,
                          QAReporterComparison::Category category)
{
    QStringList result;
    for (const QAReporterComparison::Entry& entry : comparison.entries(category))
        result << comparison.caseOf(entry).path + (entry.messageChanged ? "*" : "");
    return result;
}

QAReporterCase makeCase(const QString& path, QAReporterCase::State state,
                        const QString& message = QString())
{
    QAReporterCase testCase;
    testCase.path = path;
    testCase.state = state;
    testCase.message = message;
    return testCase;
}

} // namespace

class TestComparison : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* name : {"Normal", "Normal Failed"})
            m_styles.append(new DStyle(QString::fromLatin1(name)));
    }
    void cleanup()
    {
        qDeleteAll(m_styles);
        m_styles.clear();
    }

    // The root's name is no part of a path; duplicates are numbered; a
    // case's steps are not cases, and its message is its own paragraph,
    // not a step's.
    void casesOfAReport()
    {
        const QByteArray step =
            "<XROD:NODE type=\"step\" name=\"s\" state=\"ko\"><PARAGRAPH style=\"Normal Failed\">"
            "step broke</PARAGRAPH></XROD:NODE>";
        const auto record = readRecord(
            report("nightly", suite("parser", caseNode("a", "ok") +
                                                  caseNode("b", "ko", "  b\n  broke ", step) +
                                                  caseNode("a", "NE")) +
                                  suite("cli", caseNode("c", "ko"))),
            m_styles);
        QVERIFY(record);
        const QList<QAReporterCase> cases = QAReporterCases::collect(*record);
        QCOMPARE(paths(cases), QStringList({"parser/a", "parser/b", "parser/a [2]", "cli/c"}));
        QCOMPARE(cases[1].state, QAReporterCase::Failed);
        QCOMPARE(cases[1].message, QString("b broke"));
        QCOMPARE(cases[1].anchor, QString("a-b"));
        QCOMPARE(cases[2].state, QAReporterCase::Inconclusive);
        QCOMPARE(cases[3].message, QString());
    }

    // The failed cases alone, collected without keeping the others, are
    // those of all cases, numbered the same, on random reports where
    // names repeat and hold '/' (so that paths repeat across suites).
    void failedCasesAgreeWithAllCases()
    {
        QRandomGenerator random(11);
        const char* suiteNames[] = {"a", "b", "a/b"};
        const char* caseNames[] = {"a", "b", "b/c", "c"};
        const char* states[] = {"ok", "ko", "NE"};
        for (int round = 0; round < 40; ++round) {
            std::vector<std::unique_ptr<QAReporterData>> owned;
            QList<QAReporterData*> records;
            for (int file = 0; file < 2; ++file) {
                QByteArray suites;
                for (int s = random.bounded(1, 5); s > 0; --s) {
                    QByteArray cases;
                    for (int c = random.bounded(0, 6); c > 0; --c) {
                        const char* state = states[random.bounded(3)];
                        cases += caseNode(caseNames[random.bounded(4)], state,
                                          state[0] == 'k' ? "broke" : nullptr);
                    }
                    suites += suite(suiteNames[random.bounded(3)], cases);
                }
                owned.push_back(readRecord(report("run", suites), m_styles));
                QVERIFY(owned.back());
                owned.back()->fileName = QStringLiteral("f%1.xrd").arg(file);
                records.append(owned.back().get());
            }
            QStringList expected;
            for (const QAReporterCase& testCase : QAReporterCases::collect(records))
                if (testCase.state == QAReporterCase::Failed)
                    expected << testCase.file + ':' + testCase.path + ':' + testCase.message + ':' +
                                    testCase.anchor;
            QStringList failed;
            for (const QAReporterCase& testCase : QAReporterCases::collectFailed(records))
                failed << testCase.file + ':' + testCase.path + ':' + testCase.message + ':' +
                              testCase.anchor;
            QCOMPARE(failed, expected);
        }
    }

    void leavesAreCasesWithoutCaseType()
    {
        // Two nodes at the top: neither is a run, both are in the paths.
        const auto record = readRecord(
            "<XROD><XROD:NODE type=\"t\" name=\"x\" state=\"ok\"><XROD:NODE type=\"t\" "
            "name=\"y\" state=\"ko\"><TAG/></XROD:NODE></XROD:NODE><XROD:NODE type=\"t\" "
            "name=\"z\" state=\"ok\"><TAG/></XROD:NODE></XROD>");
        QVERIFY(record);
        QCOMPARE(paths(QAReporterCases::collect(*record)), QStringList({"x/y", "z"}));
    }

    // Every category from two report files whose roots differ: a renamed
    // suite and a moved case are removed and added, not matched.
    void categoriesOfTwoRuns()
    {
        const auto before = readRecord(
            report("monday",
                   suite("core", caseNode("fix", "ko", "x") + caseNode("still", "ko", "old") +
                                     caseNode("same", "ko", "m") + caseNode("flip", "ok") +
                                     caseNode("gone", "ok") + caseNode("dup", "ok") +
                                     caseNode("skip", "NE")) +
                       suite("oldname", caseNode("r", "ok")) +
                       suite("home", caseNode("moved", "ok"))),
            m_styles);
        const auto now = readRecord(
            report("tuesday",
                   suite("core", caseNode("fix", "ok") + caseNode("still", "ko", "new") +
                                     caseNode("same", "ko", "m") + caseNode("flip", "NE") +
                                     caseNode("dup", "ok") + caseNode("dup", "ko", "d") +
                                     caseNode("skip", "ko") + caseNode("fresh", "ok")) +
                       suite("newname", caseNode("r", "ok")) +
                       suite("away", caseNode("moved", "ok"))),
            m_styles);
        QVERIFY(before && now);
        const QAReporterComparison comparison(QAReporterCases::collect(*before),
                                              QAReporterCases::collect(*now));
        using C = QAReporterComparison;
        QCOMPARE(categoryPaths(comparison, C::NewFailures),
                 QStringList({"core/dup [2]", "core/skip"}));
        QCOMPARE(categoryPaths(comparison, C::Fixed), QStringList({"core/fix"}));
        QCOMPARE(categoryPaths(comparison, C::StillFailing),
                 QStringList({"core/still*", "core/same"}));
        QCOMPARE(categoryPaths(comparison, C::NewlyInconclusive), QStringList({"core/flip"}));
        QCOMPARE(categoryPaths(comparison, C::Added),
                 QStringList({"core/fresh", "newname/r", "away/moved"}));
        QCOMPARE(categoryPaths(comparison, C::Removed),
                 QStringList({"core/gone", "oldname/r", "home/moved"}));
        QVERIFY(comparison.hasNewFailure());
    }

    // The hash-based comparison against the obvious pairwise one on random
    // runs: every case lands in the category its two states give.
    void agreesWithPairwiseComparison()
    {
        QRandomGenerator random(7);
        for (int round = 0; round < 50; ++round) {
            QList<QAReporterCase> runs[2];
            for (auto& run : runs) {
                for (int i = 0; i < 30; ++i) {
                    if (random.bounded(3) == 0)
                        continue;
                    run.append(makeCase(QString::number(i),
                                        QAReporterCase::State(random.bounded(3)),
                                        QString::number(random.bounded(2))));
                }
            }
            const QAReporterComparison comparison(runs[0], runs[1]);
            QMultiMap<int, QString> expected;
            QMultiMap<int, QString> actual;
            for (const QAReporterCase& now : runs[1]) {
                const QAReporterCase* before = nullptr;
                for (const QAReporterCase& old : runs[0])
                    before = old.path == now.path ? &old : before;
                expected.insert(expectedCategory(before, &now), now.path);
            }
            for (const QAReporterCase& old : runs[0]) {
                if (std::none_of(runs[1].begin(), runs[1].end(),
                                 [&](const QAReporterCase& c) { return c.path == old.path; }))
                    expected.insert(QAReporterComparison::Removed, old.path);
            }
            for (int category = 0; category < QAReporterComparison::CategoryCount; ++category)
                for (const auto& entry :
                     comparison.entries(QAReporterComparison::Category(category)))
                    actual.insert(category, comparison.caseOf(entry).path);
            expected.remove(-1);
            QCOMPARE(actual, expected);
        }
    }

    void masking_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("masked");
        QTest::newRow("numbers") << "line 88: got 2.5, want 3"
                                 << "line <num>: got <num>, want <num>";
        QTest::newRow("in words") << "test12 failed at step10:20:30"
                                  << "test<num> failed at step<num>:<num>:<num>";
        QTest::newRow("hex") << "null at 0x7ffd3a2c and deadbeef01"
                             << "null at <hex> and <hex>";
        QTest::newRow("hex words") << "cafe and deadbeef stay"
                                   << "cafe and deadbeef stay";
        QTest::newRow("quotes") << "key \"a \\\" b\" not 'x y'"
                                << "key \"<str>\" not \"<str>\"";
        QTest::newRow("apostrophe") << "don't 'stop' now"
                                    << "don't \"<str>\" now";
        QTest::newRow("unclosed") << "say \"hi"
                                  << "say \"hi";
        QTest::newRow("temp paths") << "no /tmp/pytest-7/x.ini or C:\\Users\\a\\Temp\\q.txt here"
                                    << "no <tmp> or <tmp> here";
        QTest::newRow("not temp") << "see src/tmp/a.c"
                                  << "see src/tmp/a.c";
        QTest::newRow("time stamps") << "at 2026-12-07T11:48:58.120Z, 2026-12-07 and 9:05:00"
                                     << "at <time>, <time> and <time>";
        QTest::newRow("space") << "  a \n\t b  "
                               << "a b";
    }
    void masking()
    {
        QFETCH(QString, message);
        QFETCH(QString, masked);
        QCOMPARE(QAReporterFailureMask::mask(message), masked);
    }

    // Largest group first, ties in order of first sight, passed cases out.
    void groupsByMaskedMessage()
    {
        using S = QAReporterCase::State;
        const QList<QAReporterCase> cases{makeCase("a", S::Failed, "timeout after 30 s"),
                                          makeCase("b", S::Failed, "bad 'x'"),
                                          makeCase("c", S::Passed),
                                          makeCase("d", S::Failed, "timeout after 31 s"),
                                          makeCase("e", S::Failed, "bad 'y'"),
                                          makeCase("f", S::Failed, "timeout after 5 s"),
                                          makeCase("g", S::Failed, "other"),
                                          makeCase("h", S::Failed, "late"),
                                          makeCase("i", S::Failed, "late")};
        const auto groups = QAReporterFailureGroups::group(cases);
        QCOMPARE(groups.size(), 4);
        QCOMPARE(groups[0].key, QString("timeout after <num> s"));
        QCOMPARE(groups[0].example, QString("timeout after 30 s"));
        QCOMPARE(groups[0].cases, QList<int>({0, 3, 5}));
        QCOMPARE(groups[1].cases, QList<int>({1, 4}));
        QCOMPARE(groups[2].cases, QList<int>({7, 8}));
        QCOMPARE(groups[3].cases, QList<int>({6}));
    }

private:
    static int expectedCategory(const QAReporterCase* before, const QAReporterCase* now)
    {
        using S = QAReporterCase::State;
        using C = QAReporterComparison;
        if (now->state == S::Failed)
            return before && before->state == S::Failed ? C::StillFailing : C::NewFailures;
        if (!before)
            return C::Added;
        if (now->state == S::Passed)
            return before->state == S::Failed ? C::Fixed : -1;
        return before->state == S::Inconclusive ? -1 : C::NewlyInconclusive;
    }

    QList<DStyle*> m_styles;
};

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
