#include "qareporterhtmlexport.h"

#include "ddocument.h"
#include "dexporthtml.h"
#include "qailogmonitor.h"
#include "qaiprogressmonitor.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterfilter.h"
#include "qareporterhtmlwriter.h"
#include "qareporterloader.h"
#include "qareporterpref.h"
#include "qareporterprefstyles.h"
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

QAReporterHTMLExport::QAReporterHTMLExport(QAReporter* window, QAIProgressMonitor* progress,
                                           QAILogMonitor* log)
    : m_window(window), m_progress(progress), m_log(log)
{
}

QAReporterHTMLExport::~QAReporterHTMLExport() = default;

bool QAReporterHTMLExport::run(const QString& dir)
{
    const int errorsBefore = m_log->errorCount();
    QAStudioInterface* host = studio();
    m_writer =
        std::make_unique<QAReporterHTMLWriter>(m_window->records(), m_window, m_progress, m_log);
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
        const QString firstFile = m_window->recordFilter()->filteredRecords().first()->fileName;
        exportLinkedReports(QFileInfo(firstFile).path(), linked);
    }
    if (DDocument* summary = m_window->summary())
        m_exporter->generate(summary, m_progress, m_log);
    return !m_progress->wasCanceled() && m_log->errorCount() == errorsBefore;
}

// False when cancelled: nothing more is written then.
bool QAReporterHTMLExport::exportLoadedReports(const QString& dir, QStringList& written)
{
    const QAReporterFilter* filter = m_window->recordFilter();
    if (!filter)
        return true;
    for (const QAReporterData* record : filter->filteredRecords()) {
        if (m_progress->wasCanceled())
            return false;
        if (!record->document)
            continue;
        m_exporter->generate(record->document, m_progress, m_log);
        written << dir + QDir::separator() + record->document->tag() + QStringLiteral(".html");
    }
    return true;
}

void QAReporterHTMLExport::exportLinkedReports(const QString& baseDir, const QStringList& files)
{
    // Each pass exports the names the previous one found; a loop, so that
    // a long chain of reports cannot exhaust the stack.
    QStringList pass = files;
    while (!pass.isEmpty()) {
        const QStringList before = m_writer->xrdLinkedFiles();
        for (const QString& entry : pass) {
            if (m_progress->wasCanceled())
                return;
            exportLinkedReport(QFileInfo(entry).isRelative() ? baseDir + QDir::separator() + entry
                                                             : entry);
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
    std::unique_ptr<DDocument> document(loadReportForExport(path));
    if (!document) {
        m_log->error(tr("Unable to open the report file '%1'").arg(path));
        return;
    }
    document->setTag(QFileInfo(m_writer->getHtmlFilenameForXrd(path)).baseName());
    m_exporter->generate(document.get(), m_progress, m_log);
}

DDocument* QAReporterHTMLExport::loadReportForExport(const QString& path)
{
    if (!QFileInfo::exists(path))
        return nullptr;
    QAReporterLoader loader(studio(), reportStyles());
    QList<QAReporterData*> records;
    if (!loader.load({path}, records) || records.isEmpty()) {
        qDeleteAll(records);
        return nullptr;
    }
    std::unique_ptr<QAReporterData> record(records.takeFirst());
    qDeleteAll(records);
    DDocument* document = record->document;
    record->document = nullptr;
    return document;
}
