// Runs the built xrdview as a CI script would and checks what it prints and
// its exit status. The program loads the real viewer plug-in from the build
// tree; the configuration folder points nowhere, so that no saved settings
// are read. A run that does not exit normally (a widget made by mistake
// aborts a command-line run) has no exit code (-1), which no row expects.

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

// Runs xrdview in folder, with the environment changed: "NAME=VALUE" sets a
// variable, "NAME" removes it.
Run xrdview(const QStringList& arguments, const QStringList& changes = {},
            const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", "/nonexistent/xrdview-test-config");
    for (const QString& change : changes) {
        if (!change.contains('='))
            environment.remove(change);
        else
            environment.insert(change.section('=', 0, 0), change.section('=', 1));
    }
    process.setProcessEnvironment(environment);
    process.start(XRD_BINARY_DIR "/studio/xrdview", arguments);
    process.closeWriteChannel();
    Run run;
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
    return std::all_of(fragments.cbegin(), fragments.cend(), [&text](const QString& fragment) {
        const QString rest = fragment.mid(1);
        if (fragment.startsWith('!'))
            return !text.contains(rest);
        if (fragment.startsWith('~'))
            return text.contains(QRegularExpression(rest, QRegularExpression::MultilineOption));
        return text.contains(fragment);
    });
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
};

void TestXrdview::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // %e: examples, %d: the folder, %b: build tree
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");     // fragments (see hasAll()); none: empty
    QTest::addColumn<QStringList>("err");     // fragments
    QTest::addColumn<QStringList>("written"); // files written into the folder

    auto row = [](const char* name, const QStringList& arguments, int exitCode,
                  const QStringList& out, const QStringList& err = {},
                  const QStringList& written = {}, const QStringList& environment = {}) {
        QTest::addRow("%s", name) << arguments << environment << exitCode << out << err << written;
    };
    // --summary: totals on standard output, problems on standard error; a
    // file that cannot be read outweighs a failed test.
    const QString passed = "%e/release-passed.xrd";
    const QString failed = "%e/nightly-failures.xrd";
    const QString missing = "%e/no-such-report.xrd";
    row("passed", {"--summary", passed}, 0, {"\t[19] Test Case Passed\n\t[0] Test Case Failed\n"});
    row("a missing file outweighs a failure", {"--summary", failed, missing}, 2,
        {"Test Case Passed"}, {"not found or corrupted", "no-such-report.xrd"});
    row("test node first", {"--summary", "--test-node", "Nightly build 42", failed, passed}, 1,
        {"~\\ATestNode: Nightly build 42\n\t\\[38\\] Test Case Passed\n\t\\[5\\] Test Case "
         "Failed\n\\z"});

    // --tree: two spaces per depth, a status word, the text; parents first.
    row("tree", {"--tree", failed}, 1,
        {"~\\A-- nightly-failures.xrd\n  KO kestrel\n",
         "~^      KO test_sections\n(      .*\n)*        ok empty_file$",
         "\n        KO duplicate_section_merges\n"});
    // Nothing failed: asked on standard error, the default answer shows all.
    row("failed only of a passed report", {"--tree", "--failed-only", passed}, 0,
        {"-- release-passed.xrd", "  ok "}, {"show all tests"});
    row("hidden types", {"--tree", "--hide-type", "step", "--hide-type", "testcase", failed}, 1,
        {"\n      KO test_sections\n", "!empty_file", "!duplicate_section_merges"});
    row("unknown type", {"--tree", "--hide-type", "Reload", failed}, 2, {},
        {"\"Reload\"", "testcase"});

    // --export-html: every page, the reports linked to followed; a failure
    // is said once, and what could be written is.
    const QStringList pages = QString("index.html integration-inconclusive.html kestrel-logo.svg "
                                      "release-passed.html nightly-failures.html report.css")
                                  .split(' ');
    row("export into a relative folder", {"--export-html", "html export", "--failed-only", failed},
        0, {}, {"xrdview: HTML written into html export\n"},
        QStringList(pages + QStringList{"nightly.html"})
            .replaceInStrings(QRegularExpression("^"), "html export/"));
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
    row("convert", {"--convert", "%d/out.xrd", failed, passed}, 0, {"[38] Test Case Passed"},
        {"xrdview: wrote %d/out.xrd from 2 reports\n"}, {"out.xrd"});
    row("convert into no folder", {"--convert", "%d/none/out.xrd", passed}, 2, {"Test Case Passed"},
        {"%d/none/out.xrd"});
    row("convert a missing report", {"--convert", "%d/out.xrd", passed, missing}, 2,
        {"Test Case Passed"}, {"no-such-report.xrd", "%d/out.xrd was not written"});
    row("convert over an input", {"--convert", "%d/sub/../in.xrd", failed, "%d/in.xrd"}, 2, {},
        {"over its input"});
    row("convert over a link", {"--convert", "%d/link.xrd", failed, "%d/in.xrd"}, 2, {},
        {"over its input"});

    // --compare: 1 when a test fails now that did not before; the same
    // suite matches under another root, from another format too.
    const QString integration = "%e/integration-inconclusive.xrd";
    row("new failures", {"--compare", passed, failed}, 1,
        {"~^New failures: 5$", "~^Fixed: 0$",
         "\n  parser/test_sections/duplicate_section_merges\n"});
    row("no new failure", {"--compare", failed, passed}, 0,
        {"~^New failures: 0$", "~^Removed: 6$", "\n  cli/test_cli_scripts/batch_update\n",
         "!\nNew failures:\n"});
    row("compare with a missing run", {"--compare", missing, failed}, 2, {},
        {"no-such-report.xrd"});
    row("compare a missing run", {"--compare", failed, missing}, 2, {}, {"no-such-report.xrd"});
    row("compare with itself", {"--compare", integration, integration}, 0,
        {"~^Still failing: 0$", "~^Removed: 0$"});
    // --group: one group a masked message, its example and its cases.
    row("groups", {"--group", failed}, 0,
        {"~^1 failed: tests/test_values.c:<num>: assertion failed: strcmp\\(v, \"<str>\"\\) == "
         "<num>\n  for example: .*\"tab\\\\there\"",
         "\n  query/test_filters/and_or_precedence\n"});

    // --record and --flaky on a store of the folder: a run is recorded
    // once; a store that cannot be opened is said.
    row("record", {"--record", "--history", "%d/h.sqlite", passed, "%d/in.xrd", passed}, 0,
        {"~^Recorded .*release-passed.xrd: 19 passed, 0 failed$", "~^Recorded .*in.xrd"}, {},
        {"h.sqlite"});
    row("record a missing run", {"--record", "--history", "%d/h.sqlite", missing, passed}, 2,
        {"Recorded"}, {"no-such-report.xrd"}, {"h.sqlite"});
    row("flaky of an empty store", {"--flaky", "--last", "3", "--history", "sqlite:%d/h.sqlite"}, 0,
        {"No flaky test in the last 3 runs."}, {}, {"h.sqlite"});
    row("store that cannot be opened", {"--flaky", "--history", "%d/file/h.sqlite"}, 2, {},
        {"Cannot open the run history at %d/file/h.sqlite"});

    // Usage errors are not test results.
    for (const char* usage :
         {"--no-such-option %p", "--summary", "--summary --tree %p", "--failed-only --summary %p",
          "--hide-type step %p", "--test-node n --tree %p", "--convert %d/out.xrd", "--compare %p",
          "--group --compare %p %p", "--flaky %p", "--flaky --last 1", "--last 3 --record %p",
          "--history x --group %p"})
        row(usage, QString(usage).split(' '), 2, {}, {"~^xrdview: "});
    for (const char* help : {"--help", "--help-all"})
        row(help, {help}, 0, {"--hide-type", "--convert", "2 a file could not be read"});
    row("version", {"--version"}, 0, {"~\\Axrdview \\d+\\.\\d+\\.\\d+\n\\z"});
    row("window without display", {passed}, 2, {}, {"--summary"}, {},
        {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});

    // A plug-in the user names is the one loaded or none: no other is tried.
    row("another library", {"--plugin", "%b/hostsdk/libhostsdk.so", "--summary", passed}, 2, {},
        {"~^xrdview: .*/hostsdk/libhostsdk\\.so is not a viewer plug-in$"}, {}, {"XRD_PLUGIN"});
    row("a folder", {"--plugin", "%b", "--tree", passed}, 2, {}, {"%b: not a file"}, {},
        {"XRD_PLUGIN"});
    row("missing plug-in in the variable", {"--summary", passed}, 2, {},
        {"~^xrdview: .*/nonexistent/nope\\.so: no such file \\(named by XRD_PLUGIN\\)$"}, {},
        {"XRD_PLUGIN=/nonexistent/nope.so"});
    row("the option comes first", {"--plugin", "/nonexistent/nope.so", "--summary", passed}, 2, {},
        {"~^xrdview: .*/nonexistent/nope\\.so: no such file$"}, {},
        {"XRD_PLUGIN=" XRD_BINARY_DIR "/plugin/libxrdreporter.so"});
}

void TestXrdview::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QFETCH(QStringList, written);
    // The folder holds a file, a report and a link to it.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("file"), QByteArray()));
    QVERIFY(QFile::copy(XRD_SOURCE_DIR "/examples/release-passed.xrd", dir.filePath("in.xrd")));
    QVERIFY(QFile::link(dir.filePath("in.xrd"), dir.filePath("link.xrd")));
    const Run run = xrdview(expanded(arguments, dir.path()), environment, dir.path());
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
    QCOMPARE(readFile(dir.filePath("in.xrd")),
             readFile(XRD_SOURCE_DIR "/examples/release-passed.xrd"));
}

QTEST_GUILESS_MAIN(TestXrdview)
#include "tst_xrdview.moc"
