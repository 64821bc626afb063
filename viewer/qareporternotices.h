#ifndef QAREPORTERNOTICES_H
#define QAREPORTERNOTICES_H

#include "qareportsession.h"

#include <QCoreApplication>

class QAStudioInterface;
class QWidget;

// What the viewer tells the user about a session's reports, the same for a
// window and for the command line: message boxes (standard error in
// command-line mode) and the host's output pane.
class QAReporterNotices
{
    Q_DECLARE_TR_FUNCTIONS(QAReporter)

public:
    // Tells which files could not be read, and why, or that memory ran
    // out; false in that last case. parent and studio may be null.
    static bool loadErrors(QWidget* parent, QAStudioInterface* studio,
                           const QAReportSession::LoadErrors& errors);
    // Tells in the output pane that a report was read only in part, and
    // why (the window marks it incomplete).
    static void readingStopped(QAStudioInterface* studio, const QString& path,
                               const QString& reason);
    // Asks whether to show all tests instead of an empty failed-tests
    // report; true for all tests.
    static bool preferAllTests(QWidget* parent, const QString& caption);
};

#endif
