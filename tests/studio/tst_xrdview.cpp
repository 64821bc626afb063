// Runs the built xrdview as a CI script would and checks what it prints and
// its exit status. The program loads the real viewer plug-in from the build
// tree. Reports that exist only for a test are fed on standard input
// (/dev/stdin); the configuration folder points nowhere, so that no saved
// settings are read. A command-line run has no widget application: a widget
// made by mistake aborts the program, and a run that does not exit normally
// has no exit code (-1), which no row expects.

#include "files.h"

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
};

QString program()
{
    return QString(XRD_BINARY_DIR) + "/studio/xrdview";
}

QString example(const QString& name)
{
    return QString(XRD_SOURCE_DIR) + "/examples/" + name;
}

// Runs xrdview in folder, with the environment changed: "NAME=VALUE" sets a
// variable, "NAME" removes it. Arguments starting with "show-reports.sh"
// run that script on the program instead.
Run xrdview(QStringList arguments, const QByteArray& input = QByteArray(),
            const QStringList& changes = QStringList(), const QString& folder = QString())
{
    QProcess process;
    process.setWorkingDirectory(folder);
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
    process.setProgram(program());
    if (arguments.value(0) == "show-reports.sh") {
        process.setProgram(QString(XRD_SOURCE_DIR) + "/scripts/show-reports.sh");
        arguments[0] = program();
    }
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

// Whether text has every fragment: "!text" must be absent, "~pattern" is a
// regular expression that must match (^ and $ at line ends).
bool hasAll(const QString& text, const QStringList& fragments)
{
    for (const QString& fragment : fragments) {
        const QString rest = fragment.mid(1);
        const bool found =
            fragment.startsWith('!') ? !text.contains(rest)
            : fragment.startsWith('~')
                ? text.contains(QRegularExpression(rest, QRegularExpression::MultilineOption))
                : text.contains(fragment);
        if (!found)
            return false;
    }
    return true;
}

QStringList expanded(QStringList texts, const QString& folder)
{
    texts.replaceInStrings("%p", "%e/release-passed.xrd");
    texts.replaceInStrings("%e", QString(XRD_SOURCE_DIR) + "/examples");
    texts.replaceInStrings("%b", XRD_BINARY_DIR);
    return texts.replaceInStrings("%d", folder);
}

} // namespace

class TestXrdview : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void exportIntoARelativeFolderGivesTheSamePages();
    void convertedReportsShowTheSame_data();
    void convertedReportsShowTheSame();
};

void TestXrdview::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // %e: examples, %d: the folder, %b: build tree
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");     // fragments (see hasAll()); none: empty
    QTest::addColumn<QStringList>("err");     // fragments
    QTest::addColumn<QStringList>("written"); // files written into the folder

    const QStringList none;
    auto row = [&](const char* name, const QStringList& arguments, int exitCode,
                   const QStringList& out, const QStringList& err = QStringList(),
                   const QStringList& written = QStringList(),
                   const QStringList& environment = QStringList()) {
        QTest::addRow("%s", name) << arguments << QByteArray() << environment << exitCode << out
                                  << err << written;
    };
    // --summary: totals on standard output, problems on standard error; a
    // file that cannot be read outweighs a failed test.
    const QString passed = "%e/release-passed.xrd";
    const QString failed = "%e/nightly-failures.xrd";
    const QString missing = "%e/no-such-report.xrd";
    row("passed", {"--summary", passed}, 0, {"\t[19] Test Case Passed\n\t[0] Test Case Failed\n"});
    row("failed", {"--summary", failed}, 1, {"\t[5] Test Case Failed\n"});
    row("inconclusive is not failed", {"--summary", "%e/integration-inconclusive.xrd"}, 0,
        {"\t[0] Test Case Failed\n"});
    row("missing file", {"--summary", missing}, 2, {"Test Case Passed"},
        {"not found or corrupted", "no-such-report.xrd"});
    row("a missing file outweighs a failure", {"--summary", failed, missing}, 2,
        {"Test Case Passed"}, {"no-such-report.xrd"});
    row("picture", {"--summary", "%e/kestrel-logo.svg"}, 2, {"Test Case Passed"},
        {"kestrel-logo.svg"});
    row("test node first", {"--summary", "--test-node", "Nightly build 42", failed, passed}, 1,
        {"~\\ATestNode: Nightly build 42\n\t\\[38\\] Test Case Passed\n\t\\[5\\] Test Case "
         "Failed\n\\z"});
    QTest::addRow("lower-case tags")
        << QStringList{"--summary", "/dev/stdin"}
        << QByteArray("<xrod><xrod:node name=\"a\" type=\"t\" state=\"ko\" sum=\"3\">"
                      "<paragraph>x</paragraph></xrod:node></xrod>")
        << none << 2 << QStringList{"Test Case Passed"} << QStringList{"/dev/stdin"} << none;
    QTest::addRow("failed counts past int")
        << QStringList{"--summary", "/dev/stdin"}
        << QByteArray(
               "<XROD><XROD:NODE name='a' type='t' state='ko' sum='2147483647'><TAG/></XROD:NODE>"
               "<XROD:NODE name='b' type='t' state='ko' sum='1'><TAG/></XROD:NODE>"
               "<XROD:NODE name='c' type='t' state='ok' sum='2'><TAG/></XROD:NODE></XROD>")
        << none << 1 << QStringList{"[2147483648] Test Case Failed"} << none << none;

    // --tree: two spaces per depth, a status word, the text; parents first.
    row("tree", {"--tree", failed}, 1,
        {"~\\A-- nightly-failures.xrd\n  KO kestrel\n",
         "~^      KO test_sections\n(      .*\n)*        ok empty_file$",
         "\n        KO duplicate_section_merges\n"});
    row("tree of a passed report", {"--tree", passed}, 0, {"-- release-passed.xrd", "!KO"});
    row("failed only", {"--tree", "--failed-only", failed}, 1,
        {"\n        KO duplicate_section_merges\n", "!ok "});
    // Nothing failed: the question whether to show all tests goes to
    // standard error, and its default answer shows them.
    row("failed only of a passed report", {"--tree", "--failed-only", passed}, 0,
        {"-- release-passed.xrd", "  ok "}, {"show all tests"});
    row("hidden types", {"--tree", "--hide-type", "step", "--hide-type", "testcase", failed}, 1,
        {"\n      KO test_sections\n", "!empty_file", "!duplicate_section_merges"});
    row("one hidden type", {"--tree", "--hide-type", "step", failed}, 1,
        {"\n        ok empty_file\n"});
    row("unknown type", {"--tree", "--hide-type", "Reload", failed}, 2, {},
        {"\"Reload\"", "testcase"});

    // --export-html: every page, the reports linked to followed; a failure
    // is said once, and what could be written is.
    const QStringList pages{"index.html",          "integration-inconclusive.html",
                            "kestrel-logo.svg",    "nightly-failures.html",
                            "release-passed.html", "report.css"};
    row("export", {"--export-html", "%d/html export", "--failed-only", failed}, 0, {},
        {"xrdview: HTML written into %d/html export\n"},
        QStringList(pages + QStringList{"nightly.html"})
            .replaceInStrings(QRegularExpression("^"), "html export/"));
    row("export other tools' results",
        {"--export-html", "%d/out", "%e/results/kestrel-cli.tap",
         "%e/results/pytest-kestrel-bindings.xml"},
        0, {}, {},
        {"out/index.html", "out/kestrel-cli.html", "out/pytest-kestrel-bindings.html",
         "out/report.css"});
    row("export of a missing report", {"--export-html", "%d/out", missing}, 2, {},
        {"xrdview: nothing written into %d/out: no report could be read"});
    row("export of one of two missing", {"--export-html", "%d/out", missing, passed}, 2, {},
        {"xrdview: HTML written into %d/out without the reports that could not be read",
         "!HTML written into %d/out\n"},
        QStringList(pages + QStringList{"release.html"})
            .replaceInStrings(QRegularExpression("^"), "out/"));
    row("export into a file", {"--export-html", "%d/file", passed}, 2, {},
        {"Cannot create the folder '%d/file'"});

    // --convert writes nothing on failure, nor over one of its inputs.
    row("convert into no folder", {"--convert", "%d/none/out.xrd", passed}, 2, {"Test Case Passed"},
        {"%d/none/out.xrd"});
    row("convert a missing report", {"--convert", "%d/out.xrd", passed, missing}, 2,
        {"Test Case Passed"}, {"no-such-report.xrd", "%d/out.xrd was not written"});
    row("convert a picture", {"--convert", "%d/out.xrd", passed, "%e/kestrel-logo.svg"}, 2,
        {"Test Case Passed"}, {"kestrel-logo.svg", "%d/out.xrd was not written"});
    row("convert over an input", {"--convert", "%d/sub/../in.xrd", failed, "%d/in.xrd"}, 2, {},
        {"over its input"});
    row("convert over a link", {"--convert", "%d/link.xrd", failed, "%d/in.xrd"}, 2, {},
        {"over its input"});

    // Usage errors are not test results.
    for (const char* usage :
         {"--no-such-option %p", "-Z %p", "--summary", "--summary --tree %p",
          "--failed-only --summary %p", "--hide-type step %p", "--test-node n --tree %p",
          "--summary --test-node", "--convert %d/out.xrd", "--convert %d/out.xrd --tree %p"})
        row(usage, QString(usage).split(' '), 2, {}, {"~^xrdview: "});
    const QStringList help = QString("--summary,--tree,--failed-only,--hide-type,--export-html,"
                                     "--test-node,--convert,0 written,0 all passed,1 a test "
                                     "failed,2 a file could not be read,usage error")
                                 .split(',');
    for (const char* option : {"--help", "-h", "--help-all"})
        row(option, {option}, 0, help);
    row("version", {"--version"}, 0, {"~\\Axrdview \\d+\\.\\d+\\.\\d+\n\\z"});
    row("window without display", {passed}, 2, {}, {"--summary"}, {},
        {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});

    // A plug-in the user names is the one loaded or none: no other is tried.
    auto plugin = [&](const char* name, const QStringList& arguments, const QString& variable,
                      const QString& message) {
        row(name, arguments, 2, {}, {"~^xrdview: .*" + message + "$"}, {}, {variable});
    };
    plugin("another library", {"--plugin", "%b/hostsdk/libhostsdk.so", "--summary", passed},
           "XRD_PLUGIN", "/hostsdk/libhostsdk\\.so is not a viewer plug-in");
    plugin("missing plug-in", {"--plugin", "/nonexistent/nope.so", "--summary", passed},
           "XRD_PLUGIN", "/nonexistent/nope\\.so: no such file");
    plugin("a folder", {"--plugin", "%b", "--tree", passed}, "XRD_PLUGIN",
           QRegularExpression::escape(XRD_BINARY_DIR) + ": not a file");
    plugin("missing plug-in in the variable", {"--summary", passed},
           "XRD_PLUGIN=/nonexistent/nope.so",
           "/nonexistent/nope\\.so: no such file \\(named by XRD_PLUGIN\\)");
    plugin("the option comes first", {"--plugin", "/nonexistent/nope.so", "--summary", passed},
           "XRD_PLUGIN=" XRD_BINARY_DIR "/plugin/libxrdreporter.so",
           "/nonexistent/nope\\.so: no such file");

    // scripts/show-reports.sh without a display: totals and tree, failed
    // tests or not; an unreadable file is a failure.
    auto script = [&](const char* name, const QStringList& reports, int exitCode) {
        row(name, QStringList{"show-reports.sh"} + reports, exitCode,
            {"Test Case Failed", "\n-- " + QFileInfo(reports.first()).fileName()}, {}, {},
            {"DISPLAY"});
    };
    script("script", {failed, passed}, 0);
    script("script on other tools' results", {"%e/results/kestrel-cli.tap"}, 0);
    script("script with a file unreadable", {failed, missing}, 2);
}

void TestXrdview::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QFETCH(QStringList, written);
    // The folder holds a file, a report and a link to it.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("file"), QByteArray()));
    QVERIFY(QFile::copy(example("release-passed.xrd"), dir.filePath("in.xrd")));
    QVERIFY(QFile::link(dir.filePath("in.xrd"), dir.filePath("link.xrd")));
    const Run run = xrdview(expanded(arguments, dir.path()), input, environment, dir.path());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : hasAll(run.out, expanded(out, dir.path())),
             qPrintable(run.out));
    QVERIFY2(hasAll(run.err, expanded(err, dir.path())), qPrintable(run.err));
    if (arguments.contains("--tree")) {
        static const QRegularExpression line("^(  )*(ok|KO|ne|--) \\S.*$");
        for (const QString& text : run.out.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
    }
    QStringList files;
    QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(dir.path()).relativeFilePath(it.next());
    written += QStringList{"file", "in.xrd", "link.xrd"};
    files.sort();
    written.sort();
    QCOMPARE(files, written);
    QCOMPARE(readFile(dir.filePath("in.xrd")), readFile(example("release-passed.xrd")));
}

// Source links are relative to the folder written into, whichever way the
// folder was named.
void TestXrdview::exportIntoARelativeFolderGivesTheSamePages()
{
    QTemporaryDir dir;
    const QStringList arguments{"--failed-only", example("nightly-failures.xrd")};
    QCOMPARE(xrdview(QStringList{"--export-html", dir.filePath("a")} + arguments).exitCode, 0);
    QCOMPARE(xrdview(QStringList{"--export-html", "b"} + arguments, {}, {}, dir.path()).exitCode,
             0);
    const QStringList pages = QDir(dir.filePath("a")).entryList(QDir::Files);
    QCOMPARE(QDir(dir.filePath("b")).entryList(QDir::Files), pages);
    for (const QString& page : pages)
        QVERIFY2(readFile(dir.filePath("a/" + page)) == readFile(dir.filePath("b/" + page)),
                 qPrintable(page));
    const QString sources = QDir(dir.filePath("a")).relativeFilePath("/srv/ci/kestrel/src");
    QVERIFY(readText(dir.filePath("a/nightly.html")).contains("href=\"" + sources + '/'));
}

void TestXrdview::convertedReportsShowTheSame_data()
{
    QTest::addColumn<QStringList>("files");
    const QStringList reports{example("nightly-failures.xrd"), example("release-passed.xrd"),
                              example("integration-inconclusive.xrd")};
    for (const QString& report : reports)
        QTest::addRow("%s", qPrintable(QFileInfo(report).fileName())) << QStringList{report};
    QTest::addRow("three reports") << reports;
    QTest::addRow("other tools' results") << QStringList{
        example("results/pytest-kestrel-bindings.xml"), example("results/kestrel-cli.tap")};
}

// --summary and --tree of the converted file against those of its inputs:
// the same tree under one file item, the same totals and exit status.
void TestXrdview::convertedReportsShowTheSame()
{
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    const QString output = dir.filePath("out.xrd");
    const Run convert = xrdview(QStringList{"--convert", output} + files);
    QCOMPARE(convert.exitCode, 0);
    QCOMPARE(convert.err.count(
                 QRegularExpression("^xrdview: .*" + output, QRegularExpression::MultilineOption)),
             1);
    for (const char* mode : {"--summary", "--tree"}) {
        const Run inputs = xrdview(QStringList{mode} + files);
        const Run converted = xrdview({mode, output});
        QCOMPARE(converted.exitCode, inputs.exitCode);
        static const QRegularExpression fileItems("^-- .*\n", QRegularExpression::MultilineOption);
        QCOMPARE(QString(converted.out).remove(fileItems), QString(inputs.out).remove(fileItems));
    }
    QVERIFY(xrdview({"--tree", output}).out.startsWith("-- out.xrd\n"));
}

QTEST_GUILESS_MAIN(TestXrdview)
#include "tst_xrdview.moc"
