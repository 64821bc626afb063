#ifndef QASOURCELOCATION_H
#define QASOURCELOCATION_H

#include <QString>

struct QAResultCase;

// A place in a source file that a failure names, found in the text of the
// failure: a stack frame ("at run (src/a.js:12:5)", "at a.B.c(B.java:40)"),
// a traceback line ("File \"x.py\", line 3") or a compiler-style prefix
// ("x_test.go:42:", "a.cc:7: Failure", "C:\\a\\b.cs:line 9", "File.cs(42,7)",
// "at t/x.t line 42"). Frames of
// libraries and runtimes are passed over: the first frame of the project's
// own code is where a reader wants to look.
class QASourceLocation
{
public:
    QString file;
    int line = 0;

    bool isValid() const { return !file.isEmpty() && line > 0; }
    // The link target the viewer opens at the line: "<file> line <N>".
    QString target() const;

    // The first location of project code in text; invalid when none.
    static QASourceLocation find(QStringView text);
    // Sets the case's source from text unless the case already has one.
    static void fill(QAResultCase& testCase, QStringView text);

private:
    static QASourceLocation inLine(QStringView line);
    static bool isLibraryLine(QStringView line);
};

#endif
