#ifndef QAREPORTERHTMLEXPORT_H
#define QAREPORTERHTMLEXPORT_H

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class DDocument;
class DExportHtml;
class QAILogMonitor;
class QAIProgressMonitor;
class QAReporterData;
class QAReporterHTMLWriter;
class QAReportSession;

// Writes what a report session shows as a directory of HTML pages: its
// reports as they are assembled (filtered when the failed-only view is on),
// then the reports their "xrdlink://" links name, pass after pass until a
// pass finds no new name, whole, and the summary page last, also when the
// user cancels while links are followed.
class QAReporterHTMLExport
{
    Q_DECLARE_TR_FUNCTIONS(QAReporter)

public:
    QAReporterHTMLExport(const QAReportSession& session, QAIProgressMonitor* progress,
                         QAILogMonitor* log);
    ~QAReporterHTMLExport();

    // Exports into dir; false when cancelled or when an error was logged.
    bool run(const QString& dir);

    // Reads a report file into a document the caller owns; null when the
    // file is missing or cannot be read.
    static std::shared_ptr<DDocument> loadReportForExport(const QString& path);

private:
    // The report file read into a record (tree and document); null when
    // the file is missing or cannot be read.
    static std::unique_ptr<QAReporterData> loadRecordForExport(const QString& path);

    bool exportLoadedReports(const QString& dir, QStringList& written);
    void exportLinkedReports(const QString& baseDir, const QStringList& files);
    void exportLinkedReport(const QString& path);
    void addImageFolderOf(const QString& reportPath);

    const QAReportSession& m_session;
    QAIProgressMonitor* m_progress;
    QAILogMonitor* m_log;
    std::unique_ptr<QAReporterHTMLWriter> m_writer;
    std::unique_ptr<DExportHtml> m_exporter;
    QSet<QString> m_imageFolders;
};

#endif
