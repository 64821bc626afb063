#ifndef QATAPLINE_H
#define QATAPLINE_H

#include <QString>

// What one line of a TAP stream says on its own, before the parser puts it
// in context: its indentation (subtests are indented by 4 spaces a level)
// and what kind of line it is, with the parts of a plan or test point.
class QATapLine
{
public:
    enum Kind { Version, Plan, TestPoint, BailOut, Subtest, YamlStart, YamlEnd, Other };
    enum Directive { NoDirective, Skip, Todo };

    // line: without its line break.
    static QATapLine parse(const QString& line);

    Kind kind = Other;
    int indent = 0; // leading spaces
    int level() const { return indent / 4; }

    // Version: the number. Plan: the planned count. TestPoint: the number,
    // -1 when the line has none.
    qint64 number = -1;
    bool ok = false;
    // TestPoint: the description with "\#" and "\\" unescaped; Subtest: the
    // name; BailOut and a plan's directive: the reason.
    QString text;
    Directive directive = NoDirective;
    QString reason; // what follows the directive

private:
    void parseTestPoint(QStringView rest);
    void parseDirective(QStringView comment);
    bool parsePlan(QStringView rest);
};

#endif
