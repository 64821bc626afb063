#ifndef XRDCOMMANDLINE_H
#define XRDCOMMANDLINE_H

#include <QStringList>

class QAStViewerPlugin;
class QAStViewerWindow;
class QTextStream;
class QTreeWidget;
class XrdOptions;

// The command-line runs of xrdview: a viewer window made without display,
// whose results are printed instead of shown. Message boxes go to standard
// error and take their default button.
class XrdCommandLine
{
public:
    enum ExitCode { AllPassed = 0, TestFailed = 1, FileUnreadable = 2, UsageError = 2 };

    XrdCommandLine(QAStViewerPlugin* plugin, QTextStream& out, QTextStream& err);

    int run(const XrdOptions& options);

    // The tree as text: two spaces per depth, the status word (or "--"), a
    // space and the column-0 text, one item a line.
    static QStringList treeLines(const QTreeWidget* tree);
    static bool hasFailedItem(const QTreeWidget* tree);
    // The outcome of a loaded window: unreadable files outweigh failures.
    static ExitCode outcome(const QTreeWidget* tree, const QStringList& files);

private:
    int summary(const XrdOptions& options);
    int tree(const XrdOptions& options);
    int exportHtml(const XrdOptions& options);
    int convert(const XrdOptions& options);
    QAStViewerWindow* openWindow(const QStringList& files);
    bool hideTypes(QAStViewerWindow* window, const QStringList& types);
    static QTreeWidget* treeOf(QAStViewerWindow* window);

    QAStViewerPlugin* m_plugin;
    QTextStream& m_out;
    QTextStream& m_err;
};

#endif
