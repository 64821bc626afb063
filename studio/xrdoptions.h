#ifndef XRDOPTIONS_H
#define XRDOPTIONS_H

#include <QString>
#include <QStringList>

// What the command line asks for, read without an application object so
// that the program can pick its window system before it starts Qt's.
class XrdOptions
{
public:
    enum Mode { Gui, Summary, Tree, ExportHtml, Convert, Compare, Group, Record, Flaky };

    // arguments includes the program name first, as argv does.
    static XrdOptions parse(const QStringList& arguments);
    static QString helpText();

    // True when the run needs a window system: the GUI with no error,
    // help or version request.
    bool needsDisplay() const;

    Mode mode = Gui;
    QStringList files;
    QString testNode;
    QString exportDir;
    QString convertOutput; // the file --convert writes
    QString earlierRun;    // the file --compare compares the files with
    QString historyUrl;    // --history: the run history's store; empty: the user's
    int lastRuns = 10;     // --last: the runs --flaky looks back on
    QString pluginPath;
    QStringList hiddenTypes;
    bool failedOnly = false;
    bool help = false;
    bool version = false;
    QString error; // a usage error; empty when the line is valid
};

#endif
