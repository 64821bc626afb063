#ifndef XRDCOMMANDLINE_H
#define XRDCOMMANDLINE_H

#include <QStringList>

#include <memory>

class QAStReportSession;
class QAStViewerPlugin;
class QTextStream;
class XrdOptions;

// The command-line runs of xrdview: the plug-in's report session, without
// any widget, whose results are printed. Message boxes go to standard error
// and take their default button.
class XrdCommandLine
{
public:
    enum ExitCode { AllPassed = 0, TestFailed = 1, FileUnreadable = 2, UsageError = 2 };

    XrdCommandLine(QAStViewerPlugin* plugin, QTextStream& out, QTextStream& err);

    int run(const XrdOptions& options);

    // The tree as text: two spaces per depth, the status word, a space and
    // the name, one item a line.
    static QStringList treeLines(QAStReportSession& session);
    // The outcome of the files read: unreadable files outweigh failures.
    static ExitCode outcome(QAStReportSession& session, const QStringList& files);

private:
    int summary(const XrdOptions& options);
    int tree(const XrdOptions& options);
    int exportHtml(const XrdOptions& options);
    int convert(const XrdOptions& options);
    int compare(const XrdOptions& options);
    int group(const XrdOptions& options);
    int record(const XrdOptions& options);
    int flaky(const XrdOptions& options);
    // A session with the files read, or null (said on standard error).
    std::unique_ptr<QAStReportSession> openSession(const QStringList& files);
    bool hideTypes(QAStReportSession& session, const QStringList& types);

    QAStViewerPlugin* m_plugin;
    QTextStream& m_out;
    QTextStream& m_err;
};

#endif
