#include "qareportertrendchart.h"

#include "ditems.h"
#include "qareporterdocumentbuilder.h"

#include <QColor>
#include <QCoreApplication>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

void appendCurve(QAReporterDocumentBuilder& builder, DGraphic* chart, const QString& label,
                 const char* color, const QList<QAReporterTrendPoint>& runs,
                 qint64 QAReporterTrendPoint::*count)
{
    auto* curve = builder.append(chart, new DCurve(label, QColor(QLatin1String(color))));
    for (int run = 0; run < runs.size(); ++run)
        builder.append(curve, new DPoint(run + 1, double(runs.at(run).*count)));
}

} // namespace

void QAReporterTrendChart::append(QAReporterDocumentBuilder& builder, DItemContainer* parent,
                                  const QList<QAReporterTrendPoint>& runs)
{
    if (runs.size() < 2)
        return;
    auto* section = builder.append(parent, new DSection);
    section->setName(QStringLiteral("trend"));
    builder.title(section, 2, Texts::tr("Trend of the last %1 runs").arg(runs.size()),
                  QStringLiteral("Title2"));
    qint64 highest = 1;
    for (const QAReporterTrendPoint& run : runs)
        highest = qMax(highest, qMax(run.passed, qMax(run.failed, run.inconclusive)));
    auto* chart = builder.append(section, new DGraphic(Texts::tr("Test cases per run"), 560, 260));
    builder.append(chart, new DAxis(Qt::Horizontal, Texts::tr("run"), 1, double(runs.size())));
    builder.append(chart, new DAxis(Qt::Vertical, Texts::tr("cases"), 0, double(highest)));
    appendCurve(builder, chart, Texts::tr("passed"), "#1b7f3b", runs,
                &QAReporterTrendPoint::passed);
    appendCurve(builder, chart, Texts::tr("failed"), "#b00020", runs,
                &QAReporterTrendPoint::failed);
    appendCurve(builder, chart, Texts::tr("inconclusive"), "#8a6d00", runs,
                &QAReporterTrendPoint::inconclusive);
    DTable* table = builder.table(section, {0.1, 0.5, 0.13, 0.13, 0.14});
    DRow* header = builder.row(table, QStringLiteral("Array"));
    for (const char* text :
         {"", QT_TRANSLATE_NOOP("Reporter", "Run"), QT_TRANSLATE_NOOP("Reporter", "Passed"),
          QT_TRANSLATE_NOOP("Reporter", "Failed"), QT_TRANSLATE_NOOP("Reporter", "Inconclusive")})
        builder.textCell(header, Texts::tr(text));
    for (int run = 0; run < runs.size(); ++run) {
        const QAReporterTrendPoint& point = runs.at(run);
        DRow* row = builder.row(table, point.failed ? QStringLiteral("Array Failed") : QString());
        builder.numberCell(row, run + 1);
        builder.textCell(row, point.label);
        builder.numberCell(row, point.passed);
        builder.numberCell(row, point.failed);
        builder.numberCell(row, point.inconclusive);
    }
}
