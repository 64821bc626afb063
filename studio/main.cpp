// xrdview, command-line edition: reads report index files and prints what
// each one holds, for scripts and CI. The viewer window comes later.

#include "ddocument.h"
#include "qareporterdatatree.h"
#include "qastxmlrodreader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include <memory>

namespace {

// A usage error shares its status with an unreadable file: neither says
// anything about the tests, and a CI script must never take either for a
// result.
enum ExitCode { AllPassed = 0, TestFailed = 1, FileUnreadable = 2, UsageError = 2 };

// Nodes below the root, in one pre-order walk.
int nodeCount(QAReporterDataTree* tree)
{
    if (!tree || !tree->iterator() || !tree->iterator()->toRoot())
        return 0;
    int count = 0;
    while (tree->next(PreOrder))
        ++count;
    return count;
}

QString countText(qint64 count)
{
    return count < 0 ? QStringLiteral("-") : QString::number(count);
}

// Reads one file and prints its summary; returns its exit code.
ExitCode readReport(const QString& path, QTextStream& out, QTextStream& err)
{
    QElapsedTimer timer;
    timer.start();
    QAstXmlRodReader reader;
    if (!reader.parseFile(path, nullptr)) {
        const QString problem = reader.errorString().trimmed();
        // Messages about the file as a whole name it already.
        if (problem.contains(path))
            err << QCoreApplication::translate("xrdview", "xrdview: %1").arg(problem);
        else
            err << QCoreApplication::translate("xrdview", "xrdview: %1: %2").arg(path, problem);
        err << Qt::endl;
        return FileUnreadable;
    }
    std::unique_ptr<QAReporterDataTree> tree(reader.takeTree());
    std::unique_ptr<DDocument> document(reader.takeDocument());
    const qint64 elapsed = timer.elapsed();

    out << path << '\n'
        << "  nodes: " << nodeCount(tree.get()) << '\n'
        << "  passed: " << reader.okTotal() << ", failed: " << reader.koTotal()
        << ", inconclusive: " << countText(reader.neTotal()) << '\n'
        << "  types: " << reader.types().join(QStringLiteral(", ")) << '\n'
        << "  time: " << elapsed << " ms" << Qt::endl;
    return reader.koTotal() > 0 ? TestFailed : AllPassed;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("xrdview"), QStringLiteral("_"),
                        QStringLiteral(":/i18n")))
        app.installTranslator(&translator);
    QCoreApplication::setApplicationName(QStringLiteral("xrdview"));
    QCoreApplication::setApplicationVersion(QStringLiteral(XRD_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "xrdview", "Reads XROD test reports and prints their node counts and test totals.\n"
                   "Exit status: 0 all passed, 1 a test failed, 2 a file could not be read\n"
                   "or is not a report, or a usage error."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("xrdview", "Report files (*.xrd)."),
                                 QStringLiteral("FILE..."));
    // Usage errors first: process() would exit with 1, the status of a
    // failed test.
    if (!parser.parse(QCoreApplication::arguments())) {
        QTextStream(stderr) << QCoreApplication::translate("xrdview", "xrdview: %1\n%2")
                                   .arg(parser.errorText(), parser.helpText());
        return UsageError;
    }
    // Only --help, --help-all and --version are left for process(): it
    // prints them and exits with 0.
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        err << parser.helpText();
        return UsageError;
    }
    int result = AllPassed;
    for (const QString& file : files)
        result = qMax<int>(result, readReport(file, out, err));
    return result;
}
