#include "qareportercomparisondocument.h"

#include "ditems.h"
#include "dupdater.h"
#include "qalinktarget.h"
#include "qareportercomparison.h"
#include "qareporterdocumentbuilder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

using Builder = QAReporterDocumentBuilder;
using Category = QAReporterComparison::Category;

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

QString fileNames(const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return names.join(QStringLiteral(", "));
}

QString caseLink(const QAReporterCase& testCase)
{
    return QALinkTarget::reportLink(QFileInfo(testCase.file).absoluteFilePath(), testCase.anchor);
}

QString stateWord(const QAReporterCase& testCase)
{
    static const char* const words[] = {QT_TRANSLATE_NOOP("Reporter", "passed"),
                                        QT_TRANSLATE_NOOP("Reporter", "failed"),
                                        QT_TRANSLATE_NOOP("Reporter", "inconclusive")};
    return Texts::tr(words[testCase.state]);
}

// Passed, failed and inconclusive cases.
std::array<qint64, 3> countStates(const QList<QAReporterCase>& cases)
{
    std::array<qint64, 3> counts{};
    for (const QAReporterCase& testCase : cases)
        ++counts[testCase.state];
    return counts;
}

void appendCounts(Builder& builder, DItemContainer* parent, const QAReporterComparison& comparison)
{
    DTable* runs = builder.table(parent, {0.4, 0.3, 0.3});
    DRow* header = builder.row(runs, QStringLiteral("Array"));
    for (const char* text :
         {"", QT_TRANSLATE_NOOP("Reporter", "Earlier"), QT_TRANSLATE_NOOP("Reporter", "Current")})
        builder.textCell(header, Texts::tr(text));
    const auto before = countStates(comparison.earlier());
    const auto now = countStates(comparison.current());
    static const char* const states[] = {QT_TRANSLATE_NOOP("Reporter", "Passed"),
                                         QT_TRANSLATE_NOOP("Reporter", "Failed"),
                                         QT_TRANSLATE_NOOP("Reporter", "Inconclusive")};
    for (int state = 0; state < 3; ++state) {
        DRow* row = builder.row(runs, QString());
        builder.textCell(row, Texts::tr(states[state]));
        builder.numberCell(row, before[size_t(state)]);
        builder.numberCell(row, now[size_t(state)]);
    }
    DTable* categories = builder.table(parent, {0.4, 0.3});
    for (int category = 0; category < QAReporterComparison::CategoryCount; ++category) {
        const qint64 count = comparison.entries(Category(category)).size();
        DRow* row = builder.row(categories, category == QAReporterComparison::NewFailures && count
                                                ? QStringLiteral("Array Failed")
                                                : QString());
        builder.textCell(row, QAReporterComparison::title(Category(category)));
        builder.numberCell(row, count);
    }
}

void appendEntry(Builder& builder, DTable* table, const QAReporterComparison& comparison,
                 const QAReporterComparison::Entry& entry)
{
    const QAReporterCase& testCase = comparison.caseOf(entry);
    const QAReporterCase* before =
        entry.earlier >= 0 ? &comparison.earlier().at(entry.earlier) : nullptr;
    DRow* row = builder.row(table, QString());
    builder.linkCell(row, testCase.path, caseLink(testCase));
    if (before && entry.current >= 0)
        builder.linkCell(row, stateWord(*before), caseLink(*before));
    else
        builder.textCell(row, before ? stateWord(*before) : Texts::tr("absent"));
    QString message = testCase.message;
    if (entry.messageChanged)
        message = Texts::tr("Message changed, was: %1\nNow: %2").arg(before->message, message);
    builder.textCell(row, message);
}

void appendCategory(Builder& builder, DItemContainer* parent,
                    const QAReporterComparison& comparison, Category category)
{
    const QList<QAReporterComparison::Entry>& entries = comparison.entries(category);
    if (entries.isEmpty())
        return;
    auto* section = builder.append(parent, new DSection);
    const bool failing = category == QAReporterComparison::NewFailures ||
                         category == QAReporterComparison::StillFailing;
    const QString title =
        QStringLiteral("%1 (%2)").arg(QAReporterComparison::title(category)).arg(entries.size());
    builder.title(section, 2, title,
                  failing
                      ? QStringLiteral("Title2 Failed")
                      : (category == QAReporterComparison::Fixed ? QStringLiteral("Title2 Passed")
                                                                 : QStringLiteral("Title2")));
    DTable* table = builder.table(section, {0.45, 0.15, 0.4});
    DRow* header = builder.row(table, QStringLiteral("Array"));
    for (const char* text :
         {QT_TRANSLATE_NOOP("Reporter", "Test"), QT_TRANSLATE_NOOP("Reporter", "Earlier"),
          QT_TRANSLATE_NOOP("Reporter", "Message")})
        builder.textCell(header, Texts::tr(text));
    for (const QAReporterComparison::Entry& entry : entries)
        appendEntry(builder, table, comparison, entry);
}

} // namespace

DDocument* QAReporterComparisonDocument::build(const QAReporterComparison& comparison,
                                               const QString& earlierFile,
                                               const QStringList& currentFiles,
                                               const QList<DStyle*>& styles)
{
    Builder builder(styles);
    auto* document = new DDocument(Texts::tr("Comparison"), QStringLiteral("comparison"));
    document->setStyle(builder.style(QStringLiteral("Normal")));
    auto* section = builder.append(document, new DSection);
    builder.title(section, 1, Texts::tr("Comparison of two runs"), QStringLiteral("Title1"));
    builder.paragraph(section, Texts::tr("Earlier run: %1").arg(QFileInfo(earlierFile).fileName()),
                      QStringLiteral("Normal"));
    builder.paragraph(section, Texts::tr("Current run: %1").arg(fileNames(currentFiles)),
                      QStringLiteral("Normal"));
    appendCounts(builder, section, comparison);
    for (int category = 0; category < QAReporterComparison::CategoryCount; ++category)
        appendCategory(builder, document, comparison, Category(category));
    DUpdater updater;
    updater.doAll(document);
    return document;
}
