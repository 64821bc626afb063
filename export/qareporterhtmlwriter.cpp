#include "qareporterhtmlwriter.h"

#include "ddocument.h"
#include "dexporthtml.h"
#include "dhtmlres.h"
#include "ditemwalk.h"
#include "dlink.h"
#include "qafileutil.h"
#include "qalinktarget.h"
#include "qareporterdata.h"
#include "qareporterlinkindex.h"
#include "qareporternode.h"
#include "qareportsession.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

namespace {

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

// A local absolute file: "file:///C:/a.c", "file:///srv/a.c".
QString fileUrl(const QString& path)
{
    return (path.startsWith(QLatin1Char('/')) ? QStringLiteral("file://")
                                              : QStringLiteral("file:///")) +
           urlPath(path);
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
    const QALinkTarget target = QALinkTarget::parse(link->target());
    if (target.isReport())
        writeReportLink(link, target);
    else if (target.isSource())
        writeSourceLink(link, target.file());
    else
        writeDocumentLink(link);
}

void QAReporterHTMLWriter::writeSourceLink(DLink* link, const QString& file)
{
    QString path = QDir::toNativeSeparators(QDir::cleanPath(file));
    if (path.isEmpty() || isRelativePath(path)) {
        if (const QAReporterNode* node = nodeOf(link))
            path = node->base() + path;
    }
    if (!m_baseForLink.isEmpty())
        path = QAFileUtil::absPathToRelative(m_baseForLink, path);
    const bool relative = isRelativePath(path);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    writeOpening(relative ? urlPath(path) : fileUrl(path));
    writeChildrenAndClose(link);
}

void QAReporterHTMLWriter::writeReportLink(DLink* link, const QALinkTarget& target)
{
    if (target.isLocal()) {
        // "xrdlink://#anchor" stays in the report that holds it, as in the
        // viewer: an anchor of this page, there is no other report to export.
        writeOpening(itemReference(target.anchor()));
        writeChildrenAndClose(link);
        return;
    }
    QString reference =
        pageReference(QFileInfo(getHtmlFilenameForXrd(target.file())).baseName(), extension());
    if (!target.anchor().isEmpty())
        reference += QLatin1Char('#') + urlPath(target.anchor());
    writeOpening(reference);
    writeChildrenAndClose(link);
    recordLinkedFile(target.file());
}

void QAReporterHTMLWriter::writeDocumentLink(DLink* link)
{
    QString file;
    QString kind;
    QString tag;
    link->split(file, kind, tag);
    // A loaded report's document, else an item of this page, which the
    // viewer moves to, as the page's anchor of that name does.
    QString href = hrefForDocument(tag);
    if (href.isEmpty())
        href = itemReference(tag);
    writeOpening(href);
    writeChildrenAndClose(link);
}

QString QAReporterHTMLWriter::hrefForDocument(const QString& tag)
{
    for (const QAReporterData* record : std::as_const(m_reports)) {
        if (!tag.isEmpty() && record->document && record->document->tag() == tag)
            return pageReference(QFileInfo(tag).baseName(), QStringLiteral(".html"));
    }
    return QString();
}

QString QAReporterHTMLWriter::hrefForAbsentItem(const QString& name)
{
    // The page shows a report of the window filtered: the item the filter
    // dropped is on the page of the whole report, exported for it, unless
    // that page would take this one's name.
    const QAReporterData* record = recordOfPage();
    if (!record || !namesOf(record).contains(name))
        return QString();
    const QString page = getHtmlFilenameForXrd(record->fileName);
    if (QFileInfo(page).baseName() == pageTag())
        return QString();
    recordLinkedFile(QFileInfo(record->fileName).absoluteFilePath());
    return pageReference(QFileInfo(page).baseName(), extension()) + QLatin1Char('#') +
           urlPath(name);
}

QString QAReporterHTMLWriter::itemReference(const QString& name)
{
    if (name.isEmpty())
        return QString();
    return isOnPage(name) ? QLatin1Char('#') + urlPath(name) : hrefForAbsentItem(name);
}

const QAReporterData* QAReporterHTMLWriter::recordOfPage() const
{
    for (const QAReporterData* record : m_reports) {
        if (record->document && record->document->tag() == pageTag())
            return record;
    }
    return nullptr;
}

const QSet<QString>& QAReporterHTMLWriter::namesOf(const QAReporterData* record)
{
    auto found = m_recordNames.find(record);
    if (found != m_recordNames.end())
        return *found;
    QSet<QString> names;
    DItemWalk::walk(static_cast<const DItem*>(record->document.get()), [&names](const DItem* item) {
        if (!item->name().isEmpty())
            names.insert(item->name());
    });
    return *m_recordNames.insert(record, names);
}

void QAReporterHTMLWriter::recordLinkedFile(const QString& file)
{
    if (!m_xrdLinkedFiles.contains(file))
        m_xrdLinkedFiles.append(file);
}

const QAReporterNode* QAReporterHTMLWriter::nodeOf(const DLink* link) const
{
    const QAReporterNode* node = m_session ? m_session->findLinkNode(link) : nullptr;
    if (!node && m_linkIndex)
        node = m_linkIndex->nodeOf(link);
    return node;
}

// A link that leads nowhere is written as its text alone.
void QAReporterHTMLWriter::writeOpening(const QString& reference)
{
    m_opened = !reference.isEmpty();
    if (QTextStream* output = stream(); output && m_opened)
        *output << "<a href=\"" << escapeAttribute(reference) << "\">";
}

void QAReporterHTMLWriter::writeChildrenAndClose(DLink* link)
{
    doItemChildren(link);
    closeChildrenWith(m_opened ? QStringLiteral("</a>") : QString());
}

QString QAReporterHTMLWriter::extension() const
{
    return config() ? config()->fileExtension() : QStringLiteral(".html");
}
