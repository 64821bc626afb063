#include "qareporterrunstext.h"

#include "qareportercomparison.h"
#include "qareporterfailuregroups.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Reporter", text);
}

} // namespace

QString QAReporterRunsText::comparison(const QAReporterComparison& comparison,
                                       const QString& earlierFile, const QStringList& currentFiles)
{
    QString text = tr("Earlier: %1\n").arg(earlierFile) +
                   tr("Current: %1\n").arg(currentFiles.join(QStringLiteral(", ")));
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
                text += tr(" (message changed)");
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
        text += tr("%1 failed: %2\n")
                    .arg(group.cases.size())
                    .arg(group.key.isEmpty() ? tr("(no message)") : group.key);
        if (!group.example.isEmpty())
            text += tr("  for example: %1\n").arg(group.example);
        for (int index : group.cases)
            text += QStringLiteral("  ") + cases.at(index).path + QLatin1Char('\n');
    }
    return text;
}
