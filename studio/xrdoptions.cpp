#include "xrdoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(xrdview)
};

struct Parser
{
    Parser()
    {
        parser.setApplicationDescription(
            Texts::tr("Shows XROD test reports in a window, or prints them for scripts and CI.\n"
                      "With files and no option, opens them in one viewer window.\n"
                      "Exit status of --summary and --tree: 0 all passed, 1 a test failed,\n"
                      "2 a file could not be read, or a usage error.\n"
                      "Exit status of --convert: 0 written, 2 a file could not be read or\n"
                      "the output could not be written, or a usage error.\n"
                      "Exit status of --compare: 0 no new failure, 1 a test fails that did\n"
                      "not fail in EARLIER, 2 a file could not be read, or a usage error."));
        parser.addOptions({
            {"summary", Texts::tr("Print the passed and failed totals of the files.")},
            {"test-node", Texts::tr("Name of the test node printed by --summary."), "NAME"},
            {"tree", Texts::tr("Print the report tree, one item a line.")},
            {"export-html", Texts::tr("Write the reports as HTML into DIR."), "DIR"},
            {"convert", Texts::tr("Write the files as one XROD report OUT."), "OUT"},
            {"compare",
             Texts::tr(
                 "Compare the run of the files with the earlier run EARLIER: new failures, fixed, "
                 "still failing, newly inconclusive, added and removed tests."),
             "EARLIER"},
            {"group", Texts::tr("Print the failed tests of the files grouped by cause.")},
            {"record", Texts::tr("Record the runs of the files in the run history.")},
            {"flaky",
             Texts::tr("Print the tests that both passed and failed in the last runs of the "
                       "run history.")},
            {"last", Texts::tr("With --flaky: the number of runs to look back on (default 10)."),
             "N"},
            {"history",
             Texts::tr(
                 "With --record or --flaky: the run history's store, an SQLite file or "
                 "postgresql://USER@HOST:PORT/DATABASE (default: an SQLite file in the user's "
                 "data folder)."),
             "URL"},
            {"failed-only", Texts::tr("With --tree or --export-html: failed tests only.")},
            {"hide-type", Texts::tr("With --tree: hide the nodes of TYPE (repeatable)."), "TYPE"},
            {"plugin",
             Texts::tr(
                 "Load the viewer plug-in from PATH and no other (default: $XRD_PLUGIN, else the "
                 "built or installed one)."),
             "PATH"},
        });
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addPositionalArgument(QStringLiteral("files"), Texts::tr("Report files (*.xrd)."),
                                     QStringLiteral("FILE..."));
    }

    QCommandLineParser parser;
};

bool samePath(const QString& first, const QString& second)
{
    const QFileInfo a(first);
    const QFileInfo b(second);
    if (QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath()))
        return true;
    // Through links: only files that exist have a canonical path.
    const QString canonical = a.canonicalFilePath();
    return !canonical.isEmpty() && canonical == b.canonicalFilePath();
}

// An output that is one of the inputs is most likely a slip (OUT left out,
// so that an input took its place): refused rather than replacing a report.
QString checkConvertOutput(const XrdOptions& options)
{
    if (options.convertOutput.isEmpty())
        return Texts::tr("--convert needs an output file name");
    for (const QString& file : options.files) {
        if (samePath(options.convertOutput, file))
            return Texts::tr("--convert would write over its input %1").arg(file);
    }
    return QString();
}

QString checkCombination(const XrdOptions& options, const QCommandLineParser& parser)
{
    int modes = 0;
    for (const char* mode :
         {"summary", "tree", "export-html", "convert", "compare", "group", "record", "flaky"})
        modes += int(parser.isSet(QLatin1String(mode)));
    if (modes > 1)
        return Texts::tr(
            "--summary, --tree, --export-html, --convert, --compare, --group, --record and "
            "--flaky exclude each other");
    if (parser.isSet("last") && options.mode != XrdOptions::Flaky)
        return Texts::tr("--last needs --flaky");
    if (parser.isSet("history") && options.mode != XrdOptions::Record &&
        options.mode != XrdOptions::Flaky)
        return Texts::tr("--history needs --record or --flaky");
    if (options.failedOnly && options.mode != XrdOptions::Tree &&
        options.mode != XrdOptions::ExportHtml)
        return Texts::tr("--failed-only needs --tree or --export-html");
    if (!options.hiddenTypes.isEmpty() && options.mode != XrdOptions::Tree)
        return Texts::tr("--hide-type needs --tree");
    if (!options.testNode.isEmpty() && options.mode != XrdOptions::Summary)
        return Texts::tr("--test-node needs --summary");
    if (options.mode == XrdOptions::Flaky) {
        if (options.lastRuns < 2)
            return Texts::tr("--last needs a number of runs of 2 or more");
        return options.files.isEmpty() ? QString() : Texts::tr("--flaky reads no report file");
    }
    if (options.mode != XrdOptions::Gui && options.files.isEmpty())
        return Texts::tr("no report file given");
    if (options.mode == XrdOptions::Convert)
        return checkConvertOutput(options);
    return QString();
}

} // namespace

XrdOptions XrdOptions::parse(const QStringList& arguments)
{
    Parser p;
    XrdOptions options;
    if (!p.parser.parse(arguments)) {
        options.error = p.parser.errorText();
        return options;
    }
    options.help =
        p.parser.isSet(QStringLiteral("help")) || p.parser.isSet(QStringLiteral("help-all"));
    options.version = p.parser.isSet(QStringLiteral("version"));
    if (p.parser.isSet("summary"))
        options.mode = Summary;
    else if (p.parser.isSet("tree"))
        options.mode = Tree;
    else if (p.parser.isSet("export-html"))
        options.mode = ExportHtml;
    else if (p.parser.isSet("convert"))
        options.mode = Convert;
    else if (p.parser.isSet("compare"))
        options.mode = Compare;
    else if (p.parser.isSet("group"))
        options.mode = Group;
    else if (p.parser.isSet("record"))
        options.mode = Record;
    else if (p.parser.isSet("flaky"))
        options.mode = Flaky;
    options.files = p.parser.positionalArguments();
    options.testNode = p.parser.value("test-node");
    options.exportDir = p.parser.value("export-html");
    options.convertOutput = p.parser.value("convert");
    options.earlierRun = p.parser.value("compare");
    options.historyUrl = p.parser.value("history");
    if (p.parser.isSet("last")) {
        bool number = false;
        options.lastRuns = p.parser.value("last").toInt(&number);
        if (!number)
            options.lastRuns = 0;
    }
    options.pluginPath = p.parser.value("plugin");
    options.hiddenTypes = p.parser.values("hide-type");
    options.failedOnly = p.parser.isSet("failed-only");
    if (!options.help && !options.version)
        options.error = checkCombination(options, p.parser);
    return options;
}

QString XrdOptions::helpText()
{
    return Parser().parser.helpText();
}

bool XrdOptions::needsDisplay() const
{
    return mode == Gui && error.isEmpty() && !help && !version;
}
