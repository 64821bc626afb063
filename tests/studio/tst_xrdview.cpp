// Runs the built xrdview as a CI script would and checks what it prints and
// its exit status. Reports that exist only for a test are fed on standard
// input (/dev/stdin), so that no file is written.

#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run xrdview(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.setProgram(QString(XRD_BINARY_DIR) + "/studio/xrdview");
    process.setArguments(arguments);
    process.start();
    Run run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString example(const char* name)
{
    return QString(XRD_SOURCE_DIR) + "/examples/" + name;
}

QByteArray node(const char* state, const char* sum)
{
    return QByteArray("<XROD:NODE name=\"n\" type=\"t\" state=\"") + state + "\" sum=\"" + sum +
           "\"><TAG/></XROD:NODE>";
}

} // namespace

class TestXrdview : public QObject
{
    Q_OBJECT

private slots:
    void exitStatusPerOutcome_data();
    void exitStatusPerOutcome();
    void usageErrorsAreNotTestResults_data();
    void usageErrorsAreNotTestResults();
    void helpListsTheExitStatuses();
    void failedCountsPastIntStillFail();
};

void TestXrdview::exitStatusPerOutcome_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("passed") << QStringList{example("release-passed.xrd")} << QByteArray() << 0
                            << "failed: 0";
    QTest::newRow("failed") << QStringList{example("nightly-failures.xrd")} << QByteArray() << 1
                            << "failed: ";
    QTest::newRow("picture") << QStringList{example("kestrel-logo.svg")} << QByteArray() << 2
                             << "not a report";
    QTest::newRow("lower-case tags")
        << QStringList{"/dev/stdin"}
        << QByteArray("<xrod><xrod:node name=\"a\" type=\"t\" state=\"ko\" sum=\"3\">"
                      "<paragraph>x</paragraph></xrod:node></xrod>")
        << 2 << "not a report";
    QTest::newRow("entity declarations")
        << QStringList{"/dev/stdin"}
        << "<!DOCTYPE XROD [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]><XROD>" +
               node("ok", "1") + "</XROD>"
        << 2 << "entity declarations are not allowed";
    QTest::newRow("a missing file outweighs a failure")
        << QStringList{example("nightly-failures.xrd"), example("no-such-report.xrd")}
        << QByteArray() << 2 << "no-such-report.xrd";
}

void TestXrdview::exitStatusPerOutcome()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = xrdview(arguments, input);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(message), qPrintable(run.out + run.err));
    if (exitCode == 2)
        QVERIFY2(run.err.contains(arguments.last()), qPrintable(run.err));
}

void TestXrdview::usageErrorsAreNotTestResults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option")
        << QStringList{"--no-such-option", example("release-passed.xrd")};
    QTest::newRow("unknown short option") << QStringList{"-Z", example("release-passed.xrd")};
    QTest::newRow("no file") << QStringList{};
}

void TestXrdview::usageErrorsAreNotTestResults()
{
    QFETCH(QStringList, arguments);
    const Run run = xrdview(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(!run.err.isEmpty());
}

void TestXrdview::helpListsTheExitStatuses()
{
    for (const char* option : {"--help", "-h", "--help-all"}) {
        const Run run = xrdview({QLatin1String(option)});
        QCOMPARE(run.exitCode, 0);
        const QString text = run.out.simplified();
        for (const char* status : {"0 all passed", "1 a test failed", "2 a file could not be read"})
            QVERIFY2(text.contains(QLatin1String(status)), qPrintable(run.out));
        QVERIFY2(text.contains("usage error"), qPrintable(run.out));
    }
}

void TestXrdview::failedCountsPastIntStillFail()
{
    const Run run = xrdview({"/dev/stdin"}, "<XROD>" + node("ko", "2147483647") + node("ko", "1") +
                                                node("ok", "2") + "</XROD>");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains("passed: 2, failed: 2147483648"), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(TestXrdview)
#include "tst_xrdview.moc"
