// Command line of the synthetic report generator:
//   xrdgen [--cases N] [--fail-share F] [--seed S] OUT.xrd
#include "reportgenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("xrdgen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a synthetic XROD report of suites, tests and test cases."));
    parser.addHelpOption();
    const QCommandLineOption cases(QStringLiteral("cases"),
                                   QStringLiteral("Number of test cases (default 10000)."),
                                   QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption failShare(QStringLiteral("fail-share"),
                                       QStringLiteral("Share of failed cases (default 0.1)."),
                                       QStringLiteral("F"), QStringLiteral("0.1"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the generator (default 1)."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({cases, failShare, seed});
    parser.addPositionalArgument(QStringLiteral("OUT.xrd"), QStringLiteral("File to write."));
    parser.process(app);

    const QStringList files = parser.positionalArguments();
    bool casesOk = false;
    bool shareOk = false;
    bool seedOk = false;
    const int caseCount = parser.value(cases).toInt(&casesOk);
    const double share = parser.value(failShare).toDouble(&shareOk);
    const quint64 seedValue = parser.value(seed).toULongLong(&seedOk);
    if (files.size() != 1 || !casesOk || caseCount < 1 || !shareOk || share < 0.0 || share > 1.0 ||
        !seedOk) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }

    ReportGenerator generator;
    generator.setCaseCount(caseCount);
    generator.setFailShare(share);
    generator.setSeed(seedValue);
    if (!generator.writeFile(files.first())) {
        std::fprintf(stderr, "xrdgen: cannot write %s: %s\n", qPrintable(files.first()),
                     qPrintable(generator.errorString()));
        return 1;
    }
    std::printf("%s: %d cases (%d suites, %d tests), %lld bytes\n", qPrintable(files.first()),
                caseCount, generator.suiteCount(), generator.testCount(),
                QFileInfo(files.first()).size());
    return 0;
}
