#ifndef QAREPORTERFAILUREMASK_H
#define QAREPORTERFAILUREMASK_H

#include <QString>
#include <QStringView>

// A failure message with its variable parts masked, so that failures of one
// cause read alike: quoted strings become "<str>", temporary paths <tmp>,
// time stamps (dates, times of day, both) <time>, hexadecimal addresses and
// long hexadecimal runs <hex>, and other numbers <num>. White space runs
// become one space.
//
// Cost: one pass over the message; nothing is looked at twice except a
// quote that is never closed, whose line is scanned once more.
class QAReporterFailureMask
{
public:
    static QString mask(QStringView message);
};

#endif
