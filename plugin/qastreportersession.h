#ifndef QASTREPORTERSESSION_H
#define QASTREPORTERSESSION_H

#include "qareporterhistorystore.h"
#include "qareportsession.h"
#include "qastreportsession.h"

class QAStudioInterface;

// The viewer's report session offered to a host's command line: reads,
// filters and writes as a viewer window does, with the same messages, but
// makes no widget.
class QAStReporterSession : public QAStReportSession
{
public:
    explicit QAStReporterSession(QAStudioInterface* studio);
    ~QAStReporterSession() override;

    void open(const QStringList& files) override;
    QStringList loadedFiles() const override;
    QStringList nodeTypes() const override;
    void setFailedOnly(bool on) override;
    void setTypeHidden(const QString& type, bool hidden) override;
    void walkTree(const std::function<void(const TreeEntry&)>& visit) override;
    qint64 passedTotal() const override;
    qint64 failedTotal() const override;
    QString totalsText(const QString& testNode) const override;
    bool exportHtml(const QString& dir, QAIProgressMonitor* progress, QAILogMonitor* log) override;
    bool writeReport(const QString& path, QString* error) override;
    bool compareWith(const QString& earlierFile, QString* text, bool* newFailure) override;
    QString failureGroupsText() override;
    bool openHistory(const QString& url, QString* error) override;
    bool recordRuns(QString* text, QString* error) override;
    QString flakyText(int lastRuns) override;

private:
    QAStudioInterface* m_studio;
    QAReportSession m_session;
    std::unique_ptr<QAReporterHistoryStore> m_history;
};

#endif
