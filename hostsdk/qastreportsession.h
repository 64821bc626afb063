#ifndef QASTREPORTSESSION_H
#define QASTREPORTSESSION_H

#include <QString>
#include <QStringList>

#include <functional>

class QAILogMonitor;
class QAIProgressMonitor;

// A viewer plug-in's reports as a host's command line uses them, without
// any widget: files read into reports, which tests show (failed ones only,
// node types hidden), the report tree as the viewer would show it, the
// totals, and the commands that write the reports out. What goes wrong is
// told through the host SDK's message boxes, which a command-line host
// sends to standard error.
class QAStReportSession
{
public:
    // One line of the report tree: a file, then its nodes in order, each
    // with its depth below the file.
    struct TreeEntry
    {
        QString name;
        QString type;   // empty for a file
        QString status; // "ok", "KO", "ne", or "--" where the tree shows no status
        int depth = 0;
    };

    virtual ~QAStReportSession();

    // Reads the files, in order; those already read are skipped.
    virtual void open(const QStringList& files) = 0;
    // The files that were read.
    virtual QStringList loadedFiles() const = 0;
    // The node types of the reports, in order of first sight.
    virtual QStringList nodeTypes() const = 0;

    // Failed tests only; when none failed the viewer may offer (and, on the
    // command line, take) the complete report instead.
    virtual void setFailedOnly(bool on) = 0;
    virtual void setTypeHidden(const QString& type, bool hidden) = 0;

    // Visits the report tree as the viewer shows it now.
    virtual void walkTree(const std::function<void(const TreeEntry&)>& visit) = 0;
    virtual qint64 passedTotal() const = 0;
    virtual qint64 failedTotal() const = 0;
    // The totals as the viewer prints them for a batch run: the test node's
    // name when given, then the passed and the failed test cases.
    virtual QString totalsText(const QString& testNode) const = 0;

    // Writes the reports as shown as HTML pages into dir; true when every
    // page was written. Progress and errors go to the monitors.
    virtual bool exportHtml(const QString& dir, QAIProgressMonitor* progress,
                            QAILogMonitor* log) = 0;
    // Writes every report read, whatever is shown, as one report file.
    virtual bool writeReport(const QString& path, QString* error) = 0;

    // Compares the reports read, the current run, with the earlier run of
    // earlierFile: text gets the categories and their tests, newFailure
    // whether a test fails now that did not before. False when the earlier
    // file cannot be read (told through a message box).
    virtual bool compareWith(const QString& earlierFile, QString* text, bool* newFailure) = 0;
    // The failed tests grouped by the cause their messages give, largest
    // group first.
    virtual QString failureGroupsText() = 0;

    // Opens the run history at url (empty: the user's own store); false,
    // with the reason in error, when it cannot be opened.
    virtual bool openHistory(const QString& url, QString* error) = 0;
    // Records the run of each file read in the history opened, a line of
    // text a file; false, with the reason in error, when one could not be.
    virtual bool recordRuns(QString* text, QString* error) = 0;
    // The tests that both passed and failed in the last runs of the
    // history opened, most flaky first.
    virtual QString flakyText(int lastRuns) = 0;
};

#endif
