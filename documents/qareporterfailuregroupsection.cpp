#include "qareporterfailuregroupsection.h"

#include "ditems.h"
#include "qalinktarget.h"
#include "qareporterdocumentbuilder.h"
#include "qareporterfailuregroups.h"

#include <QCoreApplication>

namespace {

// Links of a group go into paragraphs of this many, so that no block of
// the view grows with the size of a group.
constexpr int LinksPerParagraph = 40;

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Reporter)
};

void appendLinks(QAReporterDocumentBuilder& builder, DItemContainer* parent,
                 const QList<QAReporterCase>& cases, const QList<int>& indexes)
{
    DParagraph* paragraph = nullptr;
    for (int i = 0; i < indexes.size(); ++i) {
        if (i % LinksPerParagraph == 0) {
            paragraph = builder.append(parent, new DParagraph);
            paragraph->setStyle(builder.style(QStringLiteral("Normal")));
        } else {
            builder.append(paragraph, new DText(QStringLiteral(", ")));
        }
        const QAReporterCase& testCase = cases.at(indexes.at(i));
        builder.link(paragraph, testCase.path, QALinkTarget::localLink(testCase.anchor));
    }
}

} // namespace

void QAReporterFailureGroupSection::append(QAReporterDocumentBuilder& builder,
                                           DItemContainer* parent,
                                           const QList<QAReporterCase>& cases)
{
    const QList<QAReporterFailureGroups::Group> groups = QAReporterFailureGroups::group(cases);
    if (groups.isEmpty())
        return;
    auto* section = builder.append(parent, new DSection);
    section->setName(QStringLiteral("failuregroups"));
    builder.title(section, 2, Texts::tr("Failures by cause"), QStringLiteral("Title2"));
    for (const QAReporterFailureGroups::Group& group : groups) {
        const QString heading =
            Texts::tr("%1 failed: %2")
                .arg(group.cases.size())
                .arg(group.key.isEmpty() ? Texts::tr("(no message)") : group.key);
        builder.title(section, 3, heading, QStringLiteral("Title3 Failed"));
        if (!group.example.isEmpty())
            builder.paragraph(section, Texts::tr("For example: %1").arg(group.example),
                              QStringLiteral("Normal Failed"));
        appendLinks(builder, section, cases, group.cases);
    }
}
