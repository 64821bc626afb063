#include "qareporterfailuregroups.h"

#include "qareporterfailuremask.h"

#include <QHash>

#include <algorithm>

QList<QAReporterFailureGroups::Group>
QAReporterFailureGroups::group(const QList<QAReporterCase>& cases)
{
    QList<Group> groups;
    QHash<QString, int> byKey;
    for (int index = 0; index < cases.size(); ++index) {
        const QAReporterCase& testCase = cases.at(index);
        if (testCase.state != QAReporterCase::Failed)
            continue;
        const QString key = QAReporterFailureMask::mask(testCase.message);
        auto found = byKey.constFind(key);
        if (found == byKey.constEnd()) {
            found = byKey.insert(key, int(groups.size()));
            groups.append(Group{key, testCase.message, {}});
        }
        groups[found.value()].cases.append(index);
    }
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.cases.size() > b.cases.size();
    });
    return groups;
}
