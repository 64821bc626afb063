#ifndef QAREPORTSESSION_H
#define QAREPORTSESSION_H

#include "qareportercase.h"
#include "qareporterfiltercriteria.h"
#include "qareportertrendchart.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>

class DDocument;
class DLink;
class DStyle;
class QALinkTarget;
class QAReporterComparison;
class QAReporterData;
class QAReporterFilter;
class QAReporterLinkIndex;
class QAReporterNode;
class QAStudioInterface;

// The reports of one viewer, without any widget: the records read from its
// files, what the view keeps of them (failed tests only, hidden node types),
// the filtered records, the summary and the link index assembled from them,
// the totals and where links lead. A window shows a session; the command
// line asks one directly.
//
// Costs: load is linear in the files' size; assemble is linear in the
// records' items and nodes; walkTree is linear in the shown nodes; the
// totals are linear in the number of records; findLinkNode is constant.
class QAReportSession
{
public:
    // What a load could not read.
    struct LoadErrors
    {
        QStringList missing;     // paths, in the order given
        QStringList reasons;     // why, one per missing path
        QString outOfMemoryPath; // not empty when memory ran out reading it
    };

    // One line of the report tree as the viewer shows it: a file, then its
    // nodes in document order, each with its depth below the file.
    struct TreeEntry
    {
        QString name;
        QString type;   // empty for a file
        QString status; // "ok", "KO", "ne", or "--" without a status icon
        int depth = 0;
        const QAReporterNode* node = nullptr; // null for a file
    };

    QAReportSession();
    ~QAReportSession();
    QAReportSession(const QAReportSession&) = delete;
    QAReportSession& operator=(const QAReportSession&) = delete;

    // The files the session shows; load() reads them.
    void setFiles(const QStringList& files) { m_files = files; }
    const QStringList& files() const { return m_files; }

    // Reads the paths not loaded yet, appends their records, collects the
    // node types and gives every document a name no other one has. Every
    // type shows again afterwards. Stops at the first file that does not
    // fit in memory. progress may be null.
    LoadErrors load(const QStringList& paths, QAStudioInterface* progress,
                    const QList<DStyle*>& styles);
    // Appends a record that is still being read (see QAReportStream); the
    // session owns it. recordRead() once it is read, completely or not.
    void addRecord(QAReporterData* record);
    void recordRead(QAReporterData* record);
    // Drops the filtered records, the summary and then the records.
    void clear();

    const QList<QAReporterData*>& records() const { return m_records; }
    QStringList loadedFiles() const;
    // Node types of every record read so far, in order of first sight;
    // kept across clear().
    const QStringList& nodeTypes() const { return m_nodeTypes; }

    // What assembly keeps. Each change makes the assembly out of date.
    void setFailedOnly(bool on);
    bool isFailedOnly() const { return m_failedOnly; }
    void setTypeHidden(const QString& type, bool hidden);
    bool isTypeHidden(const QString& type) const { return m_hiddenTypes.contains(type); }
    void showAllTypes();
    QAReporterFilterCriteria criteria() const;
    // The trend of the last runs the summary shows first; none by default.
    void setTrend(const QList<QAReporterTrendPoint>& trend);
    const QList<QAReporterTrendPoint>& trend() const { return m_trend; }

    // Filters the records, indexes the links of what is kept and builds the
    // summary of every record, unless that is up to date.
    void assemble();
    bool isAssembled() const { return m_assembled; }
    // What assembly makes, built apart from the session.
    struct Assembly
    {
        Assembly();
        ~Assembly();
        std::unique_ptr<QAReporterFilter> filter;
        std::unique_ptr<QAReporterLinkIndex> linkIndex;
        std::unique_ptr<DDocument> summary;
    };
    // The work of assemble() on the records and criteria as they are now.
    // It only reads the records, so it may run on another thread while
    // nothing changes them, and adopt() its result later.
    std::function<std::unique_ptr<Assembly>()> assemblyJob() const;
    void adopt(std::unique_ptr<Assembly> assembly);
    void invalidate() { m_assembled = false; }
    // Drops what assembly made: the filtered records, links and summary.
    void clearAssembly();

    const QList<QAReporterData*>& filteredRecords() const;
    // The summary document ("index"); null before assembly.
    DDocument* summary() const { return m_summary.get(); }
    // The node that gives a link of the filtered documents its base
    // directory, or null.
    QAReporterNode* findLinkNode(const DLink* link) const;

    qint64 failedTotal() const;
    qint64 passedTotal() const;
    // The totals as a batch run prints them, each line ending in a line
    // feed: "TestNode: " and the name when one is given, then the passed
    // and the failed test cases.
    QString totalsText(const QString& testNode) const;

    // Writes every record, whatever the criteria, as one report file;
    // totals no node can carry are added to warnings.
    bool writeReport(const QString& path, QString* error, QStringList* warnings) const;

    // The test cases of every record read, in order (see QAReporterCases).
    QList<QAReporterCase> cases() const;
    // The records' run compared with the earlier run of earlierFile, read
    // for the purpose and dropped again (its cases keep no node); null,
    // with the reason in errors, when it cannot be read.
    std::unique_ptr<QAReporterComparison> compareWith(const QString& earlierFile,
                                                      QAStudioInterface* progress,
                                                      const QList<DStyle*>& styles,
                                                      LoadErrors* errors) const;
    // Visits the tree of the filtered records, as the viewer shows it.
    void walkTree(const std::function<void(const TreeEntry&)>& visit) const;

    // Where a link of the documents leads. The file of a report link made
    // absolute against the first record's folder (empty when the link only
    // moves); false when it goes nowhere. Any other link is a location for
    // the host, with its report node's base directory put before a source
    // file that is not found as it stands.
    bool reportFile(const QALinkTarget& link, QString* file) const;
    QString sourceLocation(const DLink* link, const QString& target) const;

private:
    void collectNodeTypes(const QList<QAReporterData*>& records);
    void makeDocumentNamesUnique();

    QStringList m_files;
    QList<QAReporterData*> m_records;
    QStringList m_nodeTypes;
    bool m_failedOnly = false;
    QSet<QString> m_hiddenTypes;
    QList<QAReporterTrendPoint> m_trend;
    bool m_assembled = false;
    std::unique_ptr<QAReporterFilter> m_filter;
    std::unique_ptr<QAReporterLinkIndex> m_linkIndex;
    std::unique_ptr<DDocument> m_summary;
};

#endif
