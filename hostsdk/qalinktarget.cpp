#include "qalinktarget.h"

#include <QRegularExpression>

namespace {

const QLatin1String reportScheme("xrdlink://");

} // namespace

QALinkTarget QALinkTarget::parse(const QString& target)
{
    QALinkTarget link;
    if (target.startsWith(reportScheme)) {
        const QString rest = target.mid(reportScheme.size());
        const qsizetype hash = rest.indexOf(QLatin1Char('#'));
        link.m_kind = Report;
        link.m_file = hash < 0 ? rest : rest.left(hash);
        link.m_anchor = hash < 0 ? QString() : rest.mid(hash + 1);
        return link;
    }
    static const QRegularExpression source(QStringLiteral("(.*)line (\\d+)"));
    const QRegularExpressionMatch match = source.match(
        target, 0, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (match.hasMatch()) {
        link.m_kind = Source;
        link.m_file = match.captured(1).trimmed();
        link.m_line = match.captured(2);
    }
    return link;
}

QString QALinkTarget::reportLink(const QString& file, const QString& anchor)
{
    QString link = reportScheme + file;
    if (!anchor.isEmpty())
        link += QLatin1Char('#') + anchor;
    return link;
}

QString QALinkTarget::sourceReference(const QString& file, qint64 line)
{
    return sourceReference(file, QString::number(line));
}

QString QALinkTarget::sourceReference(const QString& file, const QString& line)
{
    return file + QStringLiteral(" line ") + line;
}

int QALinkTarget::lineNumber() const
{
    bool ok = false;
    const int number = m_line.toInt(&ok);
    return ok ? number : 0;
}
