#include "qareportersummary.h"
#include "qareportercases.h"
#include "qareporterdocumentbuilder.h"
#include "qareporterfailuregroupsection.h"

#include "qareporterpref.h"
#include "qareporterprefstyles.h"

#include "ditems.h"
#include "dstyle.h"
#include "dupdater.h"
#include "qareporterdata.h"
#include "qatestcount.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

namespace {

using Builder = QAReporterDocumentBuilder;

bool hasInconclusive(const QList<QAReporterData*>& records)
{
    for (const QAReporterData* record : records) {
        if (record && record->neCount >= 0)
            return true;
    }
    return false;
}

void appendHeaderRow(Builder& builder, DTable* table, bool inconclusive)
{
    DRow* row = builder.row(table, QStringLiteral("Array"));
    builder.textCell(row, QCoreApplication::translate("Reporter", "Name"));
    builder.textCell(row, QCoreApplication::translate("Reporter", "Status"));
    builder.textCell(row, QCoreApplication::translate("Reporter", "Failed"));
    builder.textCell(row, QCoreApplication::translate("Reporter", "Passed"));
    if (inconclusive)
        builder.textCell(row, QCoreApplication::translate("Reporter", "Inconclusive"));
    builder.textCell(row, QCoreApplication::translate("Reporter", "Total"));
}

void appendRecordRow(Builder& builder, DTable* table, const QAReporterData& record,
                     bool inconclusive)
{
    const bool failed = record.koCount > 0;
    DRow* row = builder.row(table, failed ? QStringLiteral("Array Failed")
                                          : QStringLiteral("Array Passed"));
    auto* nameCell = builder.append(row, new DCell(0, 0));
    const QString documentName = record.document ? record.document->name() : QString();
    auto* link = builder.append(nameCell, new DLink(QStringLiteral("::") + documentName));
    builder.append(link, new DText(QFileInfo(record.fileName).fileName()));
    builder.textCell(row, failed ? QCoreApplication::translate("Reporter", "Failed")
                                 : QCoreApplication::translate("Reporter", "Passed"));
    builder.numberCell(row, record.koCount);
    builder.numberCell(row, record.okCount);
    if (inconclusive)
        builder.numberCell(row, record.neCount < 1 ? 0 : record.neCount);
    const bool countsInconclusive = inconclusive && record.neCount > 0;
    const qint64 executed = QATestCount::add(record.okCount, record.koCount);
    builder.numberCell(row, QATestCount::add(executed, countsInconclusive ? record.neCount : 0));
}

} // namespace

DDocument* QAReporterSummary::buildSummary(const QList<QAReporterData*>& records,
                                           const QList<DStyle*>& styles,
                                           const QList<QAReporterTrendPoint>& trend)
{
    Builder builder(styles);
    const bool inconclusive = hasInconclusive(records);

    auto* document = new DDocument(QCoreApplication::translate("Reporter", "Results files"),
                                   QStringLiteral("tagheaderdoc0"));
    document->setStyle(builder.style(QStringLiteral("Array")));
    QAReporterTrendChart::append(builder, document, trend);
    auto* section = builder.append(document, new DSection);
    section->setName(QStringLiteral("tagheaderdoc1"));
    auto* table = builder.append(section, new DTable(2));
    table->setStyle(builder.style(QStringLiteral("Array")));
    table->setWidths(inconclusive ? QList<double>{0.5, 0.1, 0.1, 0.1, 0.1, 0.1}
                                  : QList<double>{0.6, 0.1, 0.1, 0.1, 0.1});

    appendHeaderRow(builder, table, inconclusive);
    qint64 failed = 0;
    qint64 passed = 0;
    qint64 notExecuted = 0;
    for (const QAReporterData* record : records) {
        if (!record)
            continue;
        appendRecordRow(builder, table, *record, inconclusive);
        failed = QATestCount::add(failed, qMax<qint64>(record->koCount, 0));
        passed = QATestCount::add(passed, qMax<qint64>(record->okCount, 0));
        if (record->neCount > 0)
            notExecuted = QATestCount::add(notExecuted, record->neCount);
    }

    DRow* totals = builder.row(table, QString());
    builder.textCell(totals, QCoreApplication::translate("Reporter", "Total"), 1);
    builder.numberCell(totals, failed);
    builder.numberCell(totals, passed);
    if (inconclusive)
        builder.numberCell(totals, notExecuted);
    builder.numberCell(
        totals, QATestCount::add(QATestCount::add(failed, passed), inconclusive ? notExecuted : 0));

    QAReporterFailureGroupSection::append(builder, document,
                                          QAReporterCases::collectFailed(records));
    DUpdater updater;
    updater.doAll(document);
    return document;
}

DDocument* QAReporterSummary::buildSummary(const QList<QAReporterData*>& records,
                                           const QList<QAReporterTrendPoint>& trend)
{
    const QAReporterPref* preferences = reporterPreferences();
    return buildSummary(
        records, preferences ? preferences->stylesPage()->styles() : QList<DStyle*>(), trend);
}
