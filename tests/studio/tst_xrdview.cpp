// Runs the built xrdview as a CI script would and checks what it prints and
// its exit status. The program loads the real viewer plug-in from the build
// tree. Reports that exist only for a test are fed on standard input
// (/dev/stdin), so that no file is written; the configuration folder points
// nowhere, so that no saved settings are read.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

QString program()
{
    return QString(XRD_BINARY_DIR) + "/studio/xrdview";
}

// Runs program (xrdview by default) with the environment changed:
// "NAME=VALUE" sets a variable, "NAME" removes it.
Run xrdview(const QStringList& arguments, const QByteArray& input = QByteArray(),
            const QStringList& changes = QStringList(), const QString& executable = program(),
            const QString& workingDirectory = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", "/nonexistent/xrdview-test-config");
    for (const QString& change : changes) {
        const qsizetype equals = change.indexOf('=');
        if (equals < 0)
            environment.remove(change);
        else
            environment.insert(change.left(equals), change.mid(equals + 1));
    }
    process.setProcessEnvironment(environment);
    process.setProgram(executable);
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

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

// Every line of --tree: two spaces per depth, a status word, a space, text.
void verifyTreeShape(const Run& run)
{
    static const QRegularExpression line("^(  )*(ok|KO|ne|--) \\S.*$");
    QVERIFY(!run.lines().isEmpty());
    for (const QString& text : run.lines())
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
}

} // namespace

class TestXrdview : public QObject
{
    Q_OBJECT

private slots:
    void summaryExitStatus_data();
    void summaryExitStatus();
    void summaryNamesTheTestNodeFirst();
    void failedCountsPastIntStillFail();
    void treeShowsDepthAndStatus();
    void treeFailedOnly();
    void treeFailedOnlyOfAPassedReportAnswersTheQuestion();
    void treeHidesTypes();
    void unknownTypeIsAUsageError();
    void htmlExportWritesEveryPage();
    void htmlExportOfOtherToolsResults();
    void htmlExportFailures_data();
    void htmlExportFailures();
    void convertedReportsShowTheSame();
    void convertWritesNothingOnFailure();
    void usageErrorsAreNotTestResults_data();
    void usageErrorsAreNotTestResults();
    void helpAndVersion();
    void windowWithoutDisplayIsRefused();
    void namedPluginThatCannotLoadIsAnError_data();
    void namedPluginThatCannotLoadIsAnError();
    void scriptWithoutDisplayShowsTheReports_data();
    void scriptWithoutDisplayShowsTheReports();
};

void TestXrdview::summaryExitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("passed") << QStringList{example("release-passed.xrd")} << QByteArray() << 0
                            << "\t[19] Test Case Passed\n\t[0] Test Case Failed\n";
    QTest::newRow("failed") << QStringList{example("nightly-failures.xrd")} << QByteArray() << 1
                            << "\t[5] Test Case Failed\n";
    QTest::newRow("inconclusive is not failed")
        << QStringList{example("integration-inconclusive.xrd")} << QByteArray() << 0
        << "\t[0] Test Case Failed\n";
    QTest::newRow("missing file") << QStringList{example("no-such-report.xrd")} << QByteArray() << 2
                                  << "not found or corrupted";
    QTest::newRow("a missing file outweighs a failure")
        << QStringList{example("nightly-failures.xrd"), example("no-such-report.xrd")}
        << QByteArray() << 2 << "no-such-report.xrd";
    QTest::newRow("picture") << QStringList{example("kestrel-logo.svg")} << QByteArray() << 2
                             << "kestrel-logo.svg";
    QTest::newRow("lower-case tags")
        << QStringList{"/dev/stdin"}
        << QByteArray("<xrod><xrod:node name=\"a\" type=\"t\" state=\"ko\" sum=\"3\">"
                      "<paragraph>x</paragraph></xrod:node></xrod>")
        << 2 << "/dev/stdin";
}

void TestXrdview::summaryExitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = xrdview(QStringList{"--summary"} + arguments, input);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(message), qPrintable(run.out + run.err));
    // The totals always come, on standard output; problems on standard error.
    QVERIFY2(run.out.contains("Test Case Passed"), qPrintable(run.out));
    if (exitCode == 2)
        QVERIFY2(run.err.contains(arguments.last()), qPrintable(run.err));
}

void TestXrdview::summaryNamesTheTestNodeFirst()
{
    const Run run = xrdview({"--summary", "--test-node", "Nightly build 42",
                             example("nightly-failures.xrd"), example("release-passed.xrd")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines(), QStringList({"TestNode: Nightly build 42", "\t[38] Test Case Passed",
                                       "\t[5] Test Case Failed"}));
}

void TestXrdview::failedCountsPastIntStillFail()
{
    const Run run =
        xrdview({"--summary", "/dev/stdin"}, "<XROD>" + node("ko", "2147483647") + node("ko", "1") +
                                                 node("ok", "2") + "</XROD>");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains("[2147483648] Test Case Failed"), qPrintable(run.out));
}

void TestXrdview::treeShowsDepthAndStatus()
{
    const Run run = xrdview({"--tree", example("nightly-failures.xrd")});
    QCOMPARE(run.exitCode, 1);
    verifyTreeShape(run);
    const QStringList lines = run.lines();
    QCOMPARE(lines.value(0), QString("-- nightly-failures.xrd"));
    QCOMPARE(lines.value(1), QString("  KO kestrel"));
    QVERIFY(lines.contains("        ok empty_file"));
    QVERIFY(lines.contains("        KO duplicate_section_merges"));
    // Parents come before their children.
    QVERIFY(lines.indexOf("      KO test_sections") < lines.indexOf("        ok empty_file"));

    const Run passed = xrdview({"--tree", example("release-passed.xrd")});
    QCOMPARE(passed.exitCode, 0);
    QVERIFY(!passed.out.contains(" KO "));
}

void TestXrdview::treeFailedOnly()
{
    const Run all = xrdview({"--tree", example("nightly-failures.xrd")});
    const Run failed = xrdview({"--tree", "--failed-only", example("nightly-failures.xrd")});
    QCOMPARE(failed.exitCode, 1);
    verifyTreeShape(failed);
    QVERIFY(failed.lines().size() < all.lines().size());
    QVERIFY(failed.lines().contains("        KO duplicate_section_merges"));
    for (const QString& line : failed.lines())
        QVERIFY2(!line.trimmed().startsWith("ok "), qPrintable(line));
}

void TestXrdview::treeFailedOnlyOfAPassedReportAnswersTheQuestion()
{
    // Nothing failed: the viewer asks whether to show all tests; the
    // default answer (Yes) shows them, and the question goes to stderr.
    const Run all = xrdview({"--tree", example("release-passed.xrd")});
    const Run failed = xrdview({"--tree", "--failed-only", example("release-passed.xrd")});
    QCOMPARE(failed.exitCode, 0);
    QCOMPARE(failed.out, all.out);
    QVERIFY2(failed.err.contains("show all tests"), qPrintable(failed.err));
}

void TestXrdview::treeHidesTypes()
{
    const Run run = xrdview({"--tree", "--hide-type", "step", "--hide-type", "testcase",
                             example("nightly-failures.xrd")});
    QCOMPARE(run.exitCode, 1);
    verifyTreeShape(run);
    const QStringList lines = run.lines();
    QVERIFY(lines.contains("      KO test_sections"));
    QVERIFY(!lines.contains("        ok empty_file"));
    QVERIFY(!lines.contains("        KO duplicate_section_merges"));

    const Run one = xrdview({"--tree", "--hide-type", "step", example("nightly-failures.xrd")});
    QVERIFY(one.lines().contains("        ok empty_file"));
    QVERIFY(one.lines().size() > lines.size());
}

void TestXrdview::unknownTypeIsAUsageError()
{
    const Run run = xrdview({"--tree", "--hide-type", "Reload", example("nightly-failures.xrd")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("\"Reload\"") && run.err.contains("testcase"), qPrintable(run.err));
}

void TestXrdview::htmlExportWritesEveryPage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath("html export");
    const Run run =
        xrdview({"--export-html", out, "--failed-only", example("nightly-failures.xrd")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("xrdview: HTML written into " + out), qPrintable(run.err));
    // The report, the reports it links to, followed further (back to the
    // report itself, under its file name), and the summary.
    QStringList pages = QDir(out).entryList({"*.html"}, QDir::Files);
    pages.sort();
    QCOMPARE(pages, QStringList({"index.html", "integration-inconclusive.html",
                                 "nightly-failures.html", "nightly.html", "release-passed.html"}));
    // A folder relative to the working directory, beside the first: the
    // same pages, their source links relative to the folder alike.
    const Run relative =
        xrdview({"--export-html", "relative", "--failed-only", example("nightly-failures.xrd")},
                QByteArray(), QStringList(), program(), dir.path());
    QCOMPARE(relative.exitCode, 0);
    QCOMPARE(QDir(dir.filePath("relative")).entryList({"*.html"}, QDir::Files, QDir::Name), pages);
    for (const QString& page : pages)
        QVERIFY2(readAll(dir.filePath("relative/" + page)) == readAll(out + '/' + page),
                 qPrintable(page));
    const QString sources = QDir(out).relativeFilePath("/srv/ci/kestrel/src");
    QVERIFY(readAll(out + "/nightly.html").contains("href=\"" + sources.toUtf8() + '/'));
}

void TestXrdview::htmlExportOfOtherToolsResults()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Run run = xrdview({"--export-html", dir.path(), example("results/kestrel-cli.tap"),
                             example("results/pytest-kestrel-bindings.xml")});
    QCOMPARE(run.exitCode, 0);
    QStringList pages = QDir(dir.path()).entryList({"*.html"}, QDir::Files);
    pages.sort();
    QCOMPARE(pages,
             QStringList({"index.html", "kestrel-cli.html", "pytest-kestrel-bindings.html"}));
}

void TestXrdview::htmlExportFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QStringList>("pages"); // among those written
    QTest::newRow("missing report")
        << "out" << QStringList{"/nonexistent/report.xrd"}
        << "xrdview: nothing written into %1: no report could be read" << QStringList();
    QTest::newRow("one of two missing")
        << "out" << QStringList{"/nonexistent/report.xrd", example("release-passed.xrd")}
        << "xrdview: HTML written into %1 without the reports that could not be read"
        << QStringList{"index.html", "release-passed.html"};
    QTest::newRow("target is a file") << "file" << QStringList{example("release-passed.xrd")}
                                      << "Cannot create the folder '%1'" << QStringList();
}

// Each failure is said once, and what could be written is.
void TestXrdview::htmlExportFailures()
{
    QFETCH(QString, target);
    QFETCH(QStringList, reports);
    QFETCH(QString, said);
    QFETCH(QStringList, pages);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString out = dir.filePath(target);
    const Run run = xrdview(QStringList{"--export-html", out} + reports);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.count(said.arg(out)) == 1, qPrintable(run.err));
    QVERIFY2(!run.err.contains("HTML written into " + out + "\n"), qPrintable(run.err));
    const QStringList written = QDir(out).entryList({"*.html"}, QDir::Files);
    QCOMPARE(written.isEmpty(), pages.isEmpty());
    for (const QString& page : pages)
        QVERIFY2(written.contains(page), qPrintable(written.join(' ')));
}

// --summary and --tree of the converted file against those of its inputs:
// the same tree under one file item, the same totals and exit status.
void TestXrdview::convertedReportsShowTheSame()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList inputs{example("nightly-failures.xrd"), example("release-passed.xrd"),
                             example("integration-inconclusive.xrd")};
    auto nodeLines = [](const Run& tree) {
        QStringList lines = tree.lines();
        lines.removeIf([](const QString& line) { return line.startsWith("-- "); });
        return lines;
    };
    // Other tools' results convert too, into a report that reads back alike.
    const QStringList imported{example("results/pytest-kestrel-bindings.xml"),
                               example("results/kestrel-cli.tap")};
    for (const QStringList& files : {QStringList{inputs.at(0)}, QStringList{inputs.at(1)},
                                     QStringList{inputs.at(2)}, inputs, imported}) {
        const QString output = dir.filePath(QString("out%1.xrd").arg(files.size()));
        const Run convert = xrdview(QStringList{"--convert", output} + files);
        QCOMPARE(convert.exitCode, 0);
        QCOMPARE(convert.err.count(
                     QRegularExpression("^xrdview: ", QRegularExpression::MultilineOption)),
                 1);
        QVERIFY2(convert.err.contains(output), qPrintable(convert.err));

        const Run summary = xrdview(QStringList{"--summary"} + files);
        const Run convertedSummary = xrdview({"--summary", output});
        QCOMPARE(convertedSummary.out, summary.out);
        QCOMPARE(convertedSummary.exitCode, summary.exitCode);

        const Run tree = xrdview(QStringList{"--tree"} + files);
        const Run convertedTree = xrdview({"--tree", output});
        QCOMPARE(convertedTree.lines().value(0), "-- " + QFileInfo(output).fileName());
        QCOMPARE(nodeLines(convertedTree), nodeLines(tree));
        QCOMPARE(convertedTree.exitCode, tree.exitCode);
    }
}

void TestXrdview::convertWritesNothingOnFailure()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString unwritable = dir.filePath("no-such-folder/out.xrd");
    const Run badOutput = xrdview({"--convert", unwritable, example("release-passed.xrd")});
    QCOMPARE(badOutput.exitCode, 2);
    QVERIFY2(badOutput.err.contains(unwritable), qPrintable(badOutput.err));

    const QString output = dir.filePath("out.xrd");
    for (const char* input : {"no-such-report.xrd", "kestrel-logo.svg"}) {
        const Run badInput =
            xrdview({"--convert", output, example("release-passed.xrd"), example(input)});
        QCOMPARE(badInput.exitCode, 2);
        QVERIFY2(badInput.err.contains(input), qPrintable(badInput.err));
        QVERIFY2(badInput.err.contains(output + " was not written"), qPrintable(badInput.err));
    }
    QVERIFY(QDir(dir.path()).isEmpty());

    // An output that is one of the inputs, under another name, is refused.
    const QString input = dir.filePath("in.xrd");
    QVERIFY(QFile::copy(example("release-passed.xrd"), input));
    QVERIFY(QFile::link(input, dir.filePath("link.xrd")));
    const QByteArray before = readAll(input);
    for (const QString& same : {dir.path() + "/sub/../in.xrd", dir.filePath("link.xrd")}) {
        const Run overInput = xrdview({"--convert", same, example("nightly-failures.xrd"), input});
        QCOMPARE(overInput.exitCode, 2);
        QVERIFY2(overInput.err.contains("over its input"), qPrintable(overInput.err));
        QCOMPARE(readAll(input), before);
    }
}

void TestXrdview::usageErrorsAreNotTestResults_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString passed = example("release-passed.xrd");
    QTest::newRow("unknown option") << QStringList{"--no-such-option", passed};
    QTest::newRow("unknown short option") << QStringList{"-Z", passed};
    QTest::newRow("summary without file") << QStringList{"--summary"};
    QTest::newRow("two modes") << QStringList{"--summary", "--tree", passed};
    QTest::newRow("failed-only alone") << QStringList{"--failed-only", "--summary", passed};
    QTest::newRow("hide-type without tree") << QStringList{"--hide-type", "step", passed};
    QTest::newRow("test-node without summary") << QStringList{"--test-node", "n", "--tree", passed};
    QTest::newRow("option without value") << QStringList{"--summary", "--test-node"};
    QTest::newRow("convert without file") << QStringList{"--convert", "/nonexistent/out.xrd"};
    QTest::newRow("convert and tree")
        << QStringList{"--convert", "/nonexistent/out.xrd", "--tree", passed};
}

void TestXrdview::usageErrorsAreNotTestResults()
{
    QFETCH(QStringList, arguments);
    const Run run = xrdview(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(
        run.err.contains(QRegularExpression("^xrdview: ", QRegularExpression::MultilineOption)),
        qPrintable(run.err));
}

void TestXrdview::helpAndVersion()
{
    for (const char* option : {"--help", "-h", "--help-all"}) {
        const Run run = xrdview({QLatin1String(option)});
        QCOMPARE(run.exitCode, 0);
        const QString text = run.out.simplified();
        for (const char* part :
             {"--summary", "--tree", "--failed-only", "--hide-type", "--export-html", "--test-node",
              "--convert", "0 written", "0 all passed", "1 a test failed",
              "2 a file could not be read", "usage error"})
            QVERIFY2(text.contains(QLatin1String(part)), qPrintable(run.out));
    }
    const Run version = xrdview({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY2(QRegularExpression("^xrdview \\d+\\.\\d+\\.\\d+\n$").match(version.out).hasMatch(),
             qPrintable(version.out));
}

void TestXrdview::windowWithoutDisplayIsRefused()
{
    const Run run = xrdview({example("release-passed.xrd")}, QByteArray(),
                            {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("--summary"), qPrintable(run.err));
}

// A plug-in the user names is the one loaded or none: no other is tried.
void TestXrdview::namedPluginThatCannotLoadIsAnError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<QString>("reason");
    const QString library = QString(XRD_BINARY_DIR) + "/hostsdk/libhostsdk.so";
    const QString missing = "/nonexistent/nope.so";
    const QString report = example("release-passed.xrd");
    QTest::addRow("another library") << QStringList{"--plugin", library, "--summary", report}
                                     << QStringList{} << library << " is not a viewer plug-in";
    QTest::addRow("missing file") << QStringList{"--plugin", missing, "--summary", report}
                                  << QStringList{} << missing << ": no such file";
    QTest::addRow("a folder") << QStringList{"--plugin", XRD_BINARY_DIR, "--tree", report}
                              << QStringList{} << XRD_BINARY_DIR << ": not a file";
    QTest::addRow("missing file in the variable")
        << QStringList{"--summary", report} << QStringList{"XRD_PLUGIN=" + missing} << missing
        << ": no such file (named by XRD_PLUGIN)";
    QTest::addRow("the option comes first")
        << QStringList{"--plugin", missing, "--summary", report}
        << QStringList{"XRD_PLUGIN=" XRD_BINARY_DIR "/plugin/libxrdreporter.so"} << missing
        << ": no such file";
}

void TestXrdview::namedPluginThatCannotLoadIsAnError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QString, plugin);
    QFETCH(QString, reason);
    const Run run = xrdview(arguments, QByteArray(), environment);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    // One message, naming the plug-in and why it was refused.
    QCOMPARE(run.err.count(plugin), 1);
    QVERIFY2(run.err.contains(QRegularExpression(
                 "^xrdview: .*" + QRegularExpression::escape(plugin + reason) + "$",
                 QRegularExpression::MultilineOption)),
             qPrintable(run.err));
}

// scripts/run.sh on a machine without a display: totals and tree are what
// was asked for, failed tests or not; an unreadable file is a failure.
void TestXrdview::scriptWithoutDisplayShowsTheReports_data()
{
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<int>("exitCode");
    QTest::addRow("failed tests") << QStringList{example("nightly-failures.xrd"),
                                                 example("release-passed.xrd")}
                                  << 0;
    QTest::addRow("other tools' results") << QStringList{example("results/kestrel-cli.tap")} << 0;
    QTest::addRow("a file unreadable")
        << QStringList{example("nightly-failures.xrd"), example("no-such-report.xrd")} << 2;
}

void TestXrdview::scriptWithoutDisplayShowsTheReports()
{
    QFETCH(QStringList, reports);
    QFETCH(int, exitCode);
    const Run run = xrdview(QStringList{program()} + reports, QByteArray(), {"DISPLAY"},
                            QString(XRD_SOURCE_DIR) + "/scripts/show-reports.sh");
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains("Test Case Failed"), qPrintable(run.out));
    QVERIFY2(run.out.contains("-- " + QFileInfo(reports.first()).fileName()), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(TestXrdview)
#include "tst_xrdview.moc"
