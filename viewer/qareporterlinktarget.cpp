#include "qareporterlinktarget.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString reportScheme = QStringLiteral("xrdlink://");
}

bool QAReporterLinkTarget::isReportLink(const QString& target)
{
    return target.startsWith(reportScheme);
}

bool QAReporterLinkTarget::reportLink(const QString& target, const QString& currentReport,
                                      ReportLink* link)
{
    const QString rest = target.mid(reportScheme.size());
    const qsizetype hash = rest.indexOf(QLatin1Char('#'));
    link->file = hash < 0 ? rest : rest.left(hash);
    link->anchor = hash < 0 ? QString() : rest.mid(hash + 1);
    if (link->file.isEmpty() || !QFileInfo(link->file).isRelative())
        return true;
    if (currentReport.isEmpty())
        return false;
    link->file = QFileInfo(currentReport).path() + QDir::separator() + link->file;
    return true;
}

QAReporterLinkTarget::SourceLink QAReporterLinkTarget::sourceLink(const QString& target)
{
    static const QRegularExpression location(QStringLiteral("(.*)line (\\d+)"));
    const QRegularExpressionMatch match = location.match(
        target, 0, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    SourceLink link;
    if (!match.hasMatch())
        return link;
    link.matched = true;
    link.file = match.captured(1).trimmed();
    link.line = match.captured(2);
    return link;
}

bool QAReporterLinkTarget::needsBase(const SourceLink& link)
{
    if (link.file.isEmpty())
        return true;
    const QFileInfo file(link.file);
    return file.isRelative() && !file.exists();
}

QString QAReporterLinkTarget::withBase(const QString& base, const SourceLink& link)
{
    return base + link.file + QStringLiteral(" line ") + link.line;
}
