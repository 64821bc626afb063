#ifndef QASOURCELOCATION_H
#define QASOURCELOCATION_H

#include <QString>

struct QAResultCase;

// Finds the first source file and line a stack trace or diagnostic names,
// in the forms test tools write: "at X in /path/File.cs:line 42",
// "File.cs(42)" or "File.cs(42,7)", "/path/file.js:42:7" and
// "at t/file.t line 42". Only the first lines of a long text are looked at,
// each up to a bounded length, so the cost does not grow with the text.
class QASourceLocation
{
public:
    static bool find(const QString& text, QString* file, int* line);
    // Sets the case's source from text unless the case already has one.
    static void fill(QAResultCase& testCase, const QString& text);
};

#endif
