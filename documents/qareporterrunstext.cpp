#include "qareporterrunstext.h"

#include "qareportercomparison.h"
#include "qareporterfailuregroups.h"

#include <QCoreApplication>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

} // namespace

QString QAReporterRunsText::comparison(const QAReporterComparison& comparison,
                                       const QString& earlierFile, const QStringList& currentFiles)
{
    QString text = Texts::tr("Earlier: %1\n").arg(earlierFile) +
                   Texts::tr("Current: %1\n").arg(currentFiles.join(QStringLiteral(", ")));
    for (int index = 0; index < QAReporterComparison::CategoryCount; ++index) {
        const auto category = QAReporterComparison::Category(index);
        text += QStringLiteral("%1: %2\n")
                    .arg(QAReporterComparison::title(category))
                    .arg(comparison.entries(category).size());
    }
    for (int index = 0; index < QAReporterComparison::CategoryCount; ++index) {
        const auto category = QAReporterComparison::Category(index);
        const auto& entries = comparison.entries(category);
        if (entries.isEmpty())
            continue;
        text += QLatin1Char('\n') + QAReporterComparison::title(category) + QStringLiteral(":\n");
        for (const QAReporterComparison::Entry& entry : entries) {
            text += QStringLiteral("  ") + comparison.caseOf(entry).path;
            if (entry.messageChanged)
                text += Texts::tr(" (message changed)");
            text += QLatin1Char('\n');
        }
    }
    return text;
}

QString QAReporterRunsText::failureGroups(const QList<QAReporterCase>& cases)
{
    const QList<QAReporterFailureGroups::Group> groups = QAReporterFailureGroups::group(cases);
    QString text;
    for (const QAReporterFailureGroups::Group& group : groups) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += Texts::tr("%1 failed: %2\n")
                    .arg(group.cases.size())
                    .arg(group.key.isEmpty() ? Texts::tr("(no message)") : group.key);
        if (!group.example.isEmpty())
            text += Texts::tr("  for example: %1\n").arg(group.example);
        for (int index : group.cases)
            text += QStringLiteral("  ") + cases.at(index).path + QLatin1Char('\n');
    }
    return text;
}
