#include "qareporterhtmlexport.h"

#include "ddocument.h"
#include "dexporthtml.h"
#include "qailogmonitor.h"
#include "qaiprogressmonitor.h"
#include "qareporterdata.h"
#include "qareporterhtmlwriter.h"
#include "qareporterlinkindex.h"
#include "qareporterloader.h"
#include "qareporterpref.h"
#include "qareporterprefstyles.h"
#include "qareportsession.h"
#include "qastudiointerface.h"

#include <QDir>
#include <QFileInfo>

namespace {

QAStudioInterface* studio()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->studio() : nullptr;
}

QList<DStyle*> reportStyles()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->stylesPage()->styles() : QList<DStyle*>();
}

} // namespace

QAReporterHTMLExport::QAReporterHTMLExport(const QAReportSession& session,
                                           QAIProgressMonitor* progress, QAILogMonitor* log)
    : m_session(session), m_progress(progress), m_log(log)
{
}

QAReporterHTMLExport::~QAReporterHTMLExport() = default;

bool QAReporterHTMLExport::run(const QString& folder)
{
    // Source links are made relative to the folder: from a relative one
    // they would not be, and the pages would differ with the way the
    // export was started.
    const QString dir = QDir::cleanPath(QDir(folder).absolutePath());
    const int errorsBefore = m_log->errorCount();
    // Said once here rather than once for every page that cannot be written.
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        m_log->error(tr("Cannot create the folder '%1'").arg(dir));
        return false;
    }
    QAStudioInterface* host = studio();
    m_writer =
        std::make_unique<QAReporterHTMLWriter>(m_session.records(), &m_session, m_progress, m_log);
    m_writer->setMode(DHTMLWriter::Files);
    m_writer->setBaseForLink(dir);
    const QString configDir = host ? host->configDirectory() : QStringLiteral(".");
    m_exporter = std::make_unique<DExportHtml>(dir, configDir + QDir::separator() +
                                                        QStringLiteral("dhtml.cfg"));
    if (host)
        m_exporter->setPixmapDir(host->pixmapDirectory());
    m_exporter->setHTMLWriter(m_writer.get());

    QStringList written;
    if (!exportLoadedReports(dir, written))
        return false;
    if (!written.isEmpty()) {
        const QStringList linked = m_writer->xrdLinkedFiles();
        m_writer->setXrdLinkedFiles(written + linked);
        const QString firstFile = m_session.filteredRecords().first()->fileName;
        exportLinkedReports(QFileInfo(firstFile).path(), linked);
    }
    // After a cancel while links were followed the summary is still
    // written; the exporter, which stops a cancelled page, is not told.
    if (DDocument* summary = m_session.summary())
        m_exporter->generate(summary, m_progress->wasCanceled() ? nullptr : m_progress, m_log);
    return !m_progress->wasCanceled() && m_log->errorCount() == errorsBefore;
}

// False when cancelled: nothing more is written then.
bool QAReporterHTMLExport::exportLoadedReports(const QString& dir, QStringList& written)
{
    for (const QAReporterData* record : m_session.filteredRecords()) {
        if (m_progress->wasCanceled())
            return false;
        if (!record->document)
            continue;
        addImageFolderOf(record->fileName);
        m_exporter->generate(record->document.get(), m_progress, m_log);
        written << dir + QDir::separator() + record->document->tag() + QStringLiteral(".html");
    }
    return true;
}

void QAReporterHTMLExport::exportLinkedReports(const QString& baseDir, const QStringList& files)
{
    // Each pass exports the names the previous one found; a loop, so that
    // a long chain of reports cannot exhaust the stack.
    // A report named two ways (relative, absolute) is written once.
    QStringList pass = files;
    QSet<QString> exported;
    while (!pass.isEmpty()) {
        const QStringList before = m_writer->xrdLinkedFiles();
        for (const QString& entry : pass) {
            if (m_progress->wasCanceled())
                return;
            const QString path =
                QFileInfo(entry).isRelative() ? baseDir + QDir::separator() + entry : entry;
            const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
            if (!exported.contains(key)) {
                exported.insert(key);
                exportLinkedReport(path);
            }
        }
        pass.clear();
        for (const QString& file : m_writer->xrdLinkedFiles()) {
            if (!before.contains(file))
                pass << file;
        }
    }
}

void QAReporterHTMLExport::exportLinkedReport(const QString& path)
{
    const std::unique_ptr<QAReporterData> record = loadRecordForExport(path);
    if (!record || !record->document) {
        m_log->error(tr("Unable to open the report file '%1'").arg(path));
        return;
    }
    record->document->setTag(QFileInfo(m_writer->getHtmlFilenameForXrd(path)).baseName());
    addImageFolderOf(path);
    // The report's own nodes give its source links their base directory,
    // as they would in a window that showed it.
    QAReporterLinkIndex links;
    links.build({record.get()});
    m_writer->setLinkIndex(&links);
    m_exporter->generate(record->document.get(), m_progress, m_log);
    m_writer->setLinkIndex(nullptr);
}

// Pictures are found beside the report that shows them, as in the viewer.
void QAReporterHTMLExport::addImageFolderOf(const QString& reportPath)
{
    const QString folder = QFileInfo(reportPath).absolutePath();
    if (!m_imageFolders.contains(folder)) {
        m_imageFolders.insert(folder);
        m_exporter->addImageFolder(folder);
    }
}

std::shared_ptr<DDocument> QAReporterHTMLExport::loadReportForExport(const QString& path)
{
    const std::unique_ptr<QAReporterData> record = loadRecordForExport(path);
    return record ? record->document : nullptr;
}

std::unique_ptr<QAReporterData> QAReporterHTMLExport::loadRecordForExport(const QString& path)
{
    if (!QFileInfo::exists(path))
        return nullptr;
    QAReporterLoader loader(studio(), reportStyles());
    QList<QAReporterData*> records;
    const bool loaded = loader.load({path}, records);
    std::unique_ptr<QAReporterData> record(records.isEmpty() ? nullptr : records.takeFirst());
    qDeleteAll(records);
    return loaded ? std::move(record) : nullptr;
}
