#include "qastreportersession.h"

#include "qamessagebox.h"
#include "qareportercomparison.h"
#include "qareporterdata.h"
#include "qareporterflakydocument.h"
#include "qareporterhtmlexport.h"
#include "qareporternotices.h"
#include "qareporterpref.h"
#include "qareporterprefstyles.h"
#include "qareporterrunstext.h"
#include "qastudiointerface.h"

#include <QCoreApplication>

QAStReporterSession::QAStReporterSession(QAStudioInterface* studio) : m_studio(studio) {}

QAStReporterSession::~QAStReporterSession() = default;

namespace {

QList<DStyle*> viewerStyles()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->stylesPage()->styles() : QList<DStyle*>();
}

} // namespace

void QAStReporterSession::open(const QStringList& files)
{
    m_session.setFiles(files);
    QAReporterNotices::loadErrors(nullptr, m_studio,
                                  m_session.load(files, m_studio, viewerStyles()));
}

QStringList QAStReporterSession::loadedFiles() const
{
    return m_session.loadedFiles();
}

QStringList QAStReporterSession::nodeTypes() const
{
    return m_session.nodeTypes();
}

// As the window does: with no failed test the user is offered the complete
// report, which the command line takes.
void QAStReporterSession::setFailedOnly(bool on)
{
    if (on && m_session.failedTotal() == 0) {
        const QString caption =
            m_studio ? m_studio->productName()
                     : QCoreApplication::translate("QAStReporterPlugin", "Test Report",
                                                   "Test Report Window Title");
        if (QAReporterNotices::preferAllTests(nullptr, caption))
            on = false;
    }
    m_session.setFailedOnly(on);
}

void QAStReporterSession::setTypeHidden(const QString& type, bool hidden)
{
    m_session.setTypeHidden(type, hidden);
}

void QAStReporterSession::walkTree(const std::function<void(const TreeEntry&)>& visit)
{
    m_session.assemble();
    TreeEntry shown;
    m_session.walkTree([&](const QAReportSession::TreeEntry& entry) {
        shown.name = entry.name;
        shown.type = entry.type;
        shown.status = entry.status;
        shown.depth = entry.depth;
        visit(shown);
    });
}

qint64 QAStReporterSession::passedTotal() const
{
    return m_session.passedTotal();
}

qint64 QAStReporterSession::failedTotal() const
{
    return m_session.failedTotal();
}

QString QAStReporterSession::totalsText(const QString& testNode) const
{
    return m_session.totalsText(testNode);
}

bool QAStReporterSession::exportHtml(const QString& dir, QAIProgressMonitor* progress,
                                     QAILogMonitor* log)
{
    if (!progress || !log)
        return false;
    m_session.assemble();
    return QAReporterHTMLExport(m_session, progress, log).run(dir);
}

bool QAStReporterSession::writeReport(const QString& path, QString* error)
{
    QStringList warnings;
    if (!m_session.writeReport(path, error, &warnings))
        return false;
    if (!warnings.isEmpty())
        QAMessageBox::warning(nullptr, QCoreApplication::translate("QAReporter", "Test Report"),
                              warnings.join(QLatin1Char('\n')));
    return true;
}

bool QAStReporterSession::compareWith(const QString& earlierFile, QString* text, bool* newFailure)
{
    QAReportSession::LoadErrors errors;
    const auto comparison = m_session.compareWith(earlierFile, m_studio, viewerStyles(), &errors);
    if (!comparison) {
        QAReporterNotices::loadErrors(nullptr, m_studio, errors);
        return false;
    }
    *text = QAReporterRunsText::comparison(*comparison, earlierFile, m_session.loadedFiles());
    *newFailure = comparison->hasNewFailure();
    return true;
}

QString QAStReporterSession::failureGroupsText()
{
    return QAReporterRunsText::failureGroups(m_session.cases());
}

bool QAStReporterSession::openHistory(const QString& url, QString* error)
{
    auto history = std::make_unique<QAReporterHistoryStore>();
    if (!history->open(url, error))
        return false;
    m_history = std::move(history);
    return true;
}

bool QAStReporterSession::recordRuns(QString* text, QString* error)
{
    if (!m_history)
        return false;
    for (const QAReporterData* record : m_session.records()) {
        switch (m_history->record(*record, error)) {
        case QARunHistory::Recorded:
            *text += QCoreApplication::translate("Reporter", "Recorded %1: %2 passed, %3 failed\n")
                         .arg(record->fileName)
                         .arg(qMax<qint64>(record->okCount, 0))
                         .arg(qMax<qint64>(record->koCount, 0));
            break;
        case QARunHistory::AlreadyRecorded:
            *text += QCoreApplication::translate("Reporter", "Already recorded: %1\n")
                         .arg(record->fileName);
            break;
        case QARunHistory::Failed:
            return false;
        }
    }
    return true;
}

QString QAStReporterSession::flakyText(int lastRuns)
{
    return m_history ? QAReporterFlakyDocument::text(m_history->history().flaky(lastRuns), lastRuns)
                     : QString();
}
