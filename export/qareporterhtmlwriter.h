#ifndef QAREPORTERHTMLWRITER_H
#define QAREPORTERHTMLWRITER_H

#include "dhtmlwriter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

class QAILogMonitor;
class QALinkTarget;
class QAIProgressMonitor;
class QAReporterData;
class QAReporterLinkIndex;
class QAReporterNode;
class QAReportSession;

// Writes the links of a report session's reports so that they still lead
// somewhere once the reports are HTML pages: a source reference ("path
// line N") to the source file, relative to the export directory where it
// can be; an "xrdlink://file#anchor" to the page the export writes for that
// report, which it records for the export to follow, and "xrdlink://#anchor"
// to the anchor of the page; any other link to the page of the loaded report
// whose document it names, or to the item of the page it names. A link to
// an item the page does not hold leads to the page of the whole report when
// the filter dropped it there, and is plain text when it leads nowhere.
class QAReporterHTMLWriter : public QObject, public DHTMLWriter
{
    Q_OBJECT

public:
    QAReporterHTMLWriter(const QList<QAReporterData*>& reports, const QAReportSession* session,
                         QAIProgressMonitor* progressMonitor, QAILogMonitor* logMonitor);
    ~QAReporterHTMLWriter() override;

    // The export directory, cleaned, with native separators.
    void setBaseForLink(const QString& dir);
    const QString& baseForLink() const { return m_baseForLink; }

    void setXrdLinkedFiles(const QStringList& files) { m_xrdLinkedFiles = files; }
    QStringList xrdLinkedFiles() const { return m_xrdLinkedFiles; }

    // Where links that the session does not know, those of a report read
    // for the export, find their report node; may be null. Not owned.
    void setLinkIndex(const QAReporterLinkIndex* index) { m_linkIndex = index; }

    // The file name of the page written for a report file: its base name
    // (cut at the first '.') and the configured extension.
    QString getHtmlFilenameForXrd(const QString& path) const;

    // Looks at the first three characters only: "/a", "\a" and "C:\a" are
    // absolute; "a", "", "C:a" and "C:/a" are relative.
    static bool isRelativePath(const QString& path);

    using DHTMLWriter::doLink;

protected:
    void doLink(DItem* item) override;

    // A loaded report's document: its page.
    QString hrefForDocument(const QString& tag) override;
    // An item the failed-only filter dropped from this page: its place on
    // the page of the whole report, which is then exported too.
    QString hrefForAbsentItem(const QString& name) override;

private:
    void writeSourceLink(DLink* link, const QString& file);
    void writeReportLink(DLink* link, const QALinkTarget& target);
    void writeDocumentLink(DLink* link);
    QString itemReference(const QString& name);
    const QAReporterData* recordOfPage() const;
    const QSet<QString>& namesOf(const QAReporterData* record);
    void recordLinkedFile(const QString& file);
    const QAReporterNode* nodeOf(const DLink* link) const;
    // Writes nothing for an empty reference: the link becomes plain text.
    void writeOpening(const QString& reference);
    void writeChildrenAndClose(DLink* link);
    QString extension() const;

    QString m_baseForLink;
    QList<QAReporterData*> m_reports;
    QStringList m_xrdLinkedFiles;
    QAIProgressMonitor* m_progressMonitor;
    QAILogMonitor* m_logMonitor;
    const QAReportSession* m_session;
    const QAReporterLinkIndex* m_linkIndex = nullptr;
    // The item names of each whole report, collected when first asked.
    QHash<const QAReporterData*, QSet<QString>> m_recordNames;
    bool m_opened = false;
};

#endif
