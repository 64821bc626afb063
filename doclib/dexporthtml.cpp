#include "dexporthtml.h"

#include "ddocument.h"
#include "dhtmlfilename.h"
#include "dhtmlwriter.h"
#include "dstyle.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>
#include <QStringConverter>
#include <QTextStream>

#include "qailogmonitor.h"
#include "qaiprogressmonitor.h"

#include <vector>

namespace {

void report(QAILogMonitor* log, const QString& message)
{
    if (log)
        log->error(QStringLiteral("HTML export: ") + message);
}

// The pages' encoding: the configured one when it can write every
// character, else UTF-8.
QStringConverter::Encoding encodingOf(const QString& name)
{
    const auto encoding = QStringConverter::encodingForName(name.toLatin1().constData());
    if (!encoding || *encoding == QStringConverter::Latin1 || *encoding == QStringConverter::System)
        return QStringConverter::Utf8;
    return *encoding;
}

} // namespace

DExportHtml::DExportHtml(const QString& dir, const QString& cfgPath) : m_dir(dir)
{
    if (!cfgPath.isEmpty())
        m_config.load(cfgPath);
}

DExportHtml::~DExportHtml() = default;

QString DExportHtml::pageFileName(const QString& tag, const QString& ext)
{
    return DHtmlFileName::make(tag, ext);
}

QString DExportHtml::styleSheetFileName() const
{
    return DHtmlFileName::keepingExtension(m_config.styleSheetName());
}

void DExportHtml::collectStyles(DDocument* document)
{
    // Each style once, however many items use it; no recursion.
    QSet<const DStyle*> seen;
    std::vector<const DItem*> pending{document};
    while (!pending.empty()) {
        const DItem* item = pending.back();
        pending.pop_back();
        if (item->style() && !seen.contains(item->style())) {
            seen.insert(item->style());
            m_styles.add(item->style());
        }
        if (const DItemContainer* container = item->toContainer())
            for (const DItem* child = container->first(); child; child = child->next())
                pending.push_back(child);
    }
}

void DExportHtml::writeHead(QTextStream& out, DDocument* document) const
{
    const QString title = document->title().isEmpty() ? document->tag() : document->title();
    out << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\""
        << QStringConverter::nameForEncoding(encodingOf(m_config.encoding())) << "\"/>\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
        << "<title>" << DHTMLWriter::escapeText(title) << "</title>\n"
        << "<link rel=\"stylesheet\" href=\"" << DHTMLWriter::escapeAttribute(styleSheetFileName())
        << "\"/>\n</head>\n<body>\n";
}

bool DExportHtml::writePage(DDocument* document, DHTMLWriter* writer, const QString& path,
                            QAILogMonitor* log)
{
    DHtmlFileName::dropLink(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        report(log, QStringLiteral("cannot write the page %1: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream out(&file);
    const QStringConverter::Encoding encoding = encodingOf(m_config.encoding());
    if (log && QStringConverter::encodingForName(m_config.encoding().toLatin1().constData()) !=
                   std::optional(encoding))
        log->log(QStringLiteral("HTML export: the encoding %1 cannot write every character, "
                                "%2 is written instead")
                     .arg(m_config.encoding(),
                          QString::fromLatin1(QStringConverter::nameForEncoding(encoding))));
    out.setEncoding(encoding);
    out.setGenerateByteOrderMark(encoding != QStringConverter::Utf8);
    writeHead(out, document);
    // The configured header and footer are the user's own HTML.
    if (!m_config.pageHeader().isEmpty())
        out << m_config.pageHeader() << '\n';
    writer->setStream(&out);
    writer->doAll(document);
    writer->setStream(nullptr);
    out << '\n';
    if (!m_config.pageFooter().isEmpty())
        out << m_config.pageFooter() << '\n';
    out << "</body>\n</html>\n";
    out.flush();
    if (writer->wasCanceled()) {
        file.cancelWriting();
        if (log)
            log->log(QStringLiteral("HTML export: canceled, %1 not written").arg(path));
        return false;
    }
    if (out.status() != QTextStream::Ok || !file.commit()) {
        report(log, QStringLiteral("cannot write the page %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool DExportHtml::writeStyleSheet(QAILogMonitor* log) const
{
    const QString path = QDir(m_dir).filePath(styleSheetFileName());
    DHtmlFileName::dropLink(path);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream out(&file);
        out.setEncoding(QStringConverter::Utf8);
        out << "@charset \"UTF-8\";\n";
        m_styles.write(out);
        out.flush();
        if (out.status() == QTextStream::Ok && file.commit())
            return true;
    }
    report(log, QStringLiteral("cannot write the stylesheet %1: %2").arg(path, file.errorString()));
    return false;
}

bool DExportHtml::generate(DDocument* document, QAIProgressMonitor* progress, QAILogMonitor* log)
{
    if (!document) {
        report(log, QStringLiteral("no document to write"));
        return false;
    }
    if (m_dir.isEmpty() || !QDir().mkpath(m_dir)) {
        report(log, QStringLiteral("cannot create the directory %1").arg(m_dir));
        return false;
    }
    DHTMLWriter* writer = m_writer;
    if (!writer) {
        if (!m_defaultWriter)
            m_defaultWriter = std::make_unique<DHTMLWriter>();
        writer = m_defaultWriter.get();
    }
    writer->reset();
    writer->setMode(DHTMLWriter::Files);
    writer->setConfig(&m_config);
    QStringList folders;
    if (!m_pixmapDir.isEmpty())
        folders << m_pixmapDir;
    writer->setImageFolders(folders + m_imageFolders);
    writer->setProgressMonitor(progress);

    const QString page = pageFileName(document->tag(), m_config.fileExtension());
    const bool written = writePage(document, writer, QDir(m_dir).filePath(page), log);
    writer->setProgressMonitor(nullptr);
    if (!written)
        return false;

    collectStyles(document);
    bool ok = writeStyleSheet(log);
    ok = writer->pictures().copyTo(m_dir, log) && ok;
    for (const QString& missing : writer->pictures().missing()) {
        report(log, QStringLiteral("the picture \"%1\" shown in %2 was not found")
                        .arg(DHTMLWriter::escapeText(missing).left(300), page));
        ok = false;
    }
    if (progress)
        progress->setProgress(int(qMin<qint64>(writer->itemCount(), INT_MAX)),
                              int(qMin<qint64>(writer->itemCount(), INT_MAX)));
    return ok;
}
