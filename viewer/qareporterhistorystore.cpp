#include "qareporterhistorystore.h"

#include "ditems.h"
#include "qareportercases.h"
#include "qareporterdata.h"
#include "qareporterdocumentbuilder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

QString historyLine(const QARunHistory::CaseHistory& history)
{
    QString line = Texts::tr("Recent runs: %1").arg(QAReporterHistoryStore::marks(history.states));
    if (history.lastPassed.file.isEmpty())
        return line + QStringLiteral(" \u00b7 ") + Texts::tr("never passed in the history");
    return line + QStringLiteral(" \u00b7 ") +
           Texts::tr("last passed in %1").arg(QAReporterHistoryStore::runLabel(history.lastPassed));
}

} // namespace

bool QAReporterHistoryStore::open(const QString& url, QString* error)
{
    return m_history.open(url, error);
}

QARunHistory::RecordResult QAReporterHistoryStore::record(const QAReporterData& record,
                                                          QString* error)
{
    return this->record(record, QAReporterCases::collect(record), error);
}

QARunHistory::RecordResult QAReporterHistoryStore::record(const QAReporterData& record,
                                                          const QList<QAReporterCase>& cases,
                                                          QString* error)
{
    QARunHistory::RunInfo run;
    run.file = record.fileName;
    run.time = QFileInfo(record.fileName).lastModified();
    for (const QAReporterCase& testCase : cases) {
        qint64& count = testCase.state == QAReporterCase::Passed   ? run.passed
                        : testCase.state == QAReporterCase::Failed ? run.failed
                                                                   : run.inconclusive;
        ++count;
    }
    return m_history.record(run, cases, error);
}

QList<QAReporterTrendPoint> QAReporterHistoryStore::trend(int lastRuns) const
{
    QList<QAReporterTrendPoint> points;
    for (const QARunHistory::TrendPoint& run : m_history.trend(lastRuns))
        points.append({runLabel(run.run), run.passed, run.failed, run.inconclusive});
    return points;
}

void QAReporterHistoryStore::markFailedCases(QList<QAReporterCase> failed, int lastRuns,
                                             const QList<DStyle*>& styles) const
{
    failed.removeIf([](const QAReporterCase& testCase) {
        return testCase.state != QAReporterCase::Failed || !testCase.node ||
               !testCase.node->startItem || !testCase.node->startItem->parent();
    });
    if (failed.isEmpty())
        return;
    QStringList paths;
    paths.reserve(failed.size());
    for (const QAReporterCase& testCase : failed)
        paths << testCase.path;
    const QHash<QString, QARunHistory::CaseHistory> histories =
        m_history.caseHistory(paths, lastRuns);
    DStyle* style = QAReporterDocumentBuilder(styles).style(QStringLiteral("Normal"));
    for (const QAReporterCase& testCase : failed) {
        const auto found = histories.constFind(testCase.path);
        if (found == histories.constEnd() || found->states.isEmpty())
            continue;
        DItem* title = testCase.node->startItem;
        auto* line = new DParagraph;
        line->setStyle(style);
        line->setName(QStringLiteral("history-") + testCase.anchor);
        auto* text = new DText(historyLine(*found));
        line->insertAfter(nullptr, text);
        title->parent()->insertAfter(title, line);
    }
}

QString QAReporterHistoryStore::runLabel(const QARunHistory::RunRef& run)
{
    return QStringLiteral("%1, %2").arg(QFileInfo(run.file).fileName(),
                                        run.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

QString QAReporterHistoryStore::marks(const QList<QAReporterCase::State>& states)
{
    QString text;
    for (QAReporterCase::State state : states)
        text += state == QAReporterCase::Passed   ? QChar(0x2714)
                : state == QAReporterCase::Failed ? QChar(0x2718)
                                                  : QChar(0x2013);
    return text;
}
