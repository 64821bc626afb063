#include "qareporterhtmlwriter.h"

#include "ddocument.h"
#include "dexporthtml.h"
#include "dhtmlres.h"
#include "dlink.h"
#include "qafileutil.h"
#include "qareporterdata.h"
#include "qareporterlinkindex.h"
#include "qareporternode.h"
#include "qareportsession.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <QUrl>

namespace {

const QLatin1String xrdLinkPrefix("xrdlink://");

// A reference as a URL path: what a file name may hold that a URL may not
// ("#", "%", spaces, non-ASCII) is percent-encoded, separators are kept.
QString urlPath(const QString& path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(path, "/:~!$&'()*+,;=@"));
}

// A page of this export: the file name DExportHtml gives the base name. An
// empty name, which no page has, stays the bare extension.
QString pageReference(const QString& baseName, const QString& extension)
{
    if (baseName.isEmpty())
        return urlPath(extension);
    return urlPath(DExportHtml::pageFileName(baseName, extension));
}

} // namespace

QAReporterHTMLWriter::QAReporterHTMLWriter(const QList<QAReporterData*>& reports,
                                           const QAReportSession* session,
                                           QAIProgressMonitor* progressMonitor,
                                           QAILogMonitor* logMonitor)
    : m_reports(reports), m_progressMonitor(progressMonitor), m_logMonitor(logMonitor),
      m_session(session)
{
}

QAReporterHTMLWriter::~QAReporterHTMLWriter() = default;

void QAReporterHTMLWriter::setBaseForLink(const QString& dir)
{
    m_baseForLink = QDir::toNativeSeparators(QDir::cleanPath(dir));
}

QString QAReporterHTMLWriter::getHtmlFilenameForXrd(const QString& path) const
{
    return QFileInfo(path).baseName() + extension();
}

bool QAReporterHTMLWriter::isRelativePath(const QString& path)
{
    if (path.isEmpty())
        return true;
    const QChar first = path.at(0);
    if (first == QLatin1Char('/') || first == QLatin1Char('\\'))
        return false;
    if (path.size() < 2 || path.at(1) != QLatin1Char(':'))
        return true;
    return path.size() < 3 || path.at(2) != QLatin1Char('\\');
}

void QAReporterHTMLWriter::doLink(DItem* item)
{
    DLink* link = item ? item->toLink() : nullptr;
    if (!link)
        return;
    const QString& target = link->target();
    // A source reference wins, even over a target that starts like a link
    // to another report.
    static const QRegularExpression sourceReference(QStringLiteral("(.*)line (\\d+)"));
    const QRegularExpressionMatch match = sourceReference.match(target);
    if (match.hasMatch())
        writeSourceLink(link, match.captured(1));
    else if (target.startsWith(xrdLinkPrefix))
        writeReportLink(link, target.mid(xrdLinkPrefix.size()));
    else
        writeDocumentLink(link);
}

void QAReporterHTMLWriter::writeSourceLink(DLink* link, const QString& capturedPath)
{
    QString path = QDir::toNativeSeparators(QDir::cleanPath(capturedPath.trimmed()));
    if (path.isEmpty() || isRelativePath(path)) {
        if (const QAReporterNode* node = nodeOf(link))
            path = node->base + path;
    }
    if (!m_baseForLink.isEmpty())
        path = QAFileUtil::absPathToRelative(m_baseForLink, path);
    const bool relative = isRelativePath(path);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    writeOpening(relative ? urlPath(path) : QStringLiteral("file:///") + urlPath(path));
    writeChildrenAndClose(link);
}

void QAReporterHTMLWriter::writeReportLink(DLink* link, const QString& rest)
{
    const int hash = rest.indexOf(QLatin1Char('#'));
    const QString file = hash < 0 ? rest : rest.left(hash);
    const QString anchor = hash < 0 ? QString() : rest.mid(hash + 1);
    if (file.isEmpty()) {
        // "xrdlink://#anchor" stays in the report that holds it, as in the
        // viewer; there is no other report to export.
        writeOpening(QLatin1Char('#') + urlPath(anchor));
        writeChildrenAndClose(link);
        return;
    }
    QString reference =
        pageReference(QFileInfo(getHtmlFilenameForXrd(file)).baseName(), extension());
    if (!anchor.isEmpty())
        reference += QLatin1Char('#') + urlPath(anchor);
    writeOpening(reference);
    writeChildrenAndClose(link);
    if (!m_xrdLinkedFiles.contains(file))
        m_xrdLinkedFiles.append(file);
}

void QAReporterHTMLWriter::writeDocumentLink(DLink* link)
{
    QString file;
    QString kind;
    QString tag;
    link->split(file, kind, tag);
    QString name;
    for (const QAReporterData* record : m_reports) {
        if (record->document && record->document->tag() == tag) {
            name = record->document->tag();
            break;
        }
    }
    if (name.isEmpty() && isOnPage(tag)) {
        // Not a document but an item of this page: the viewer moves to it,
        // the page's anchor of that name does the same.
        writeOpening(QLatin1Char('#') + urlPath(tag));
        writeChildrenAndClose(link);
        return;
    }
    writeOpening(pageReference(QFileInfo(name).baseName(), QStringLiteral(".html")));
    writeChildrenAndClose(link);
}

const QAReporterNode* QAReporterHTMLWriter::nodeOf(const DLink* link) const
{
    const QAReporterNode* node = m_session ? m_session->findLinkNode(link) : nullptr;
    if (!node && m_linkIndex)
        node = m_linkIndex->nodeOf(link);
    return node;
}

void QAReporterHTMLWriter::writeOpening(const QString& reference)
{
    if (QTextStream* output = stream())
        *output << "<a href=\"" << escapeAttribute(reference) << "\">";
}

void QAReporterHTMLWriter::writeChildrenAndClose(DLink* link)
{
    doItemChildren(link);
    closeChildrenWith(QStringLiteral("</a>"));
}

QString QAReporterHTMLWriter::extension() const
{
    return config() ? config()->fileExtension() : QStringLiteral(".html");
}
