#include "qareporterflakydocument.h"

#include "ditems.h"
#include "dupdater.h"
#include "qareporterdocumentbuilder.h"
#include "qareporterhistorystore.h"

#include <QCoreApplication>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

QString percent(double rate)
{
    return QString::number(qRound(rate * 100)) + QLatin1Char('%');
}

QString failedRuns(const QARunHistory::FlakyCase& flaky, const QString& separator)
{
    QStringList runs;
    for (const QARunHistory::RunRef& run : flaky.failedRuns)
        runs << QAReporterHistoryStore::runLabel(run);
    return runs.join(separator);
}

} // namespace

DDocument* QAReporterFlakyDocument::build(const QList<QARunHistory::FlakyCase>& flaky, int lastRuns,
                                          const QList<DStyle*>& styles)
{
    QAReporterDocumentBuilder builder(styles);
    auto* document = new DDocument(Texts::tr("Flaky tests"), QStringLiteral("flaky"));
    document->setStyle(builder.style(QStringLiteral("Normal")));
    auto* section = builder.append(document, new DSection);
    builder.title(section, 1, Texts::tr("Flaky tests of the last %1 runs").arg(lastRuns),
                  QStringLiteral("Title1"));
    if (flaky.isEmpty()) {
        builder.paragraph(section, Texts::tr("No test both passed and failed in these runs."),
                          QStringLiteral("Normal Passed"));
    } else {
        builder.paragraph(
            section,
            Texts::tr("Tests that both passed and failed, the most flaky (the most runs "
                      "of their rarer outcome) first."),
            QStringLiteral("Normal"));
        DTable* table = builder.table(section, {0.4, 0.1, 0.08, 0.08, 0.34});
        DRow* header = builder.row(table, QStringLiteral("Array"));
        for (const char* text :
             {QT_TRANSLATE_NOOP("Reporter", "Test"), QT_TRANSLATE_NOOP("Reporter", "Pass rate"),
              QT_TRANSLATE_NOOP("Reporter", "Passed"), QT_TRANSLATE_NOOP("Reporter", "Failed"),
              QT_TRANSLATE_NOOP("Reporter", "Failed in")})
            builder.textCell(header, Texts::tr(text));
        for (const QARunHistory::FlakyCase& test : flaky) {
            DRow* row = builder.row(table, QString());
            builder.textCell(row, test.path);
            builder.textCell(row, percent(test.passRate));
            builder.numberCell(row, test.passes);
            builder.numberCell(row, test.failures);
            builder.textCell(row, failedRuns(test, QStringLiteral("\n")));
        }
    }
    DUpdater updater;
    updater.doAll(document);
    return document;
}

QString QAReporterFlakyDocument::text(const QList<QARunHistory::FlakyCase>& flaky, int lastRuns)
{
    if (flaky.isEmpty())
        return Texts::tr("No flaky test in the last %1 runs.\n").arg(lastRuns);
    QString text;
    for (const QARunHistory::FlakyCase& test : flaky) {
        text += Texts::tr("%1  pass rate %2 (%3 passed, %4 failed)\n")
                    .arg(test.path, percent(test.passRate))
                    .arg(test.passes)
                    .arg(test.failures);
        text += Texts::tr("  failed in: %1\n").arg(failedRuns(test, QStringLiteral("; ")));
    }
    return text;
}
