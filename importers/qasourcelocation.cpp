#include "qasourcelocation.h"

#include "qaresultsink.h"

#include <QRegularExpression>

namespace {

const int MaxLines = 400;
const int MaxLineLength = 2000;

// Most specific forms first: a .NET frame, a Perl-style "line N", a
// compiler-style "(N)", then the "file:line[:column]" of script engines.
const QRegularExpression& pattern(int index)
{
    static const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral(R"(\bin (\S.*?):line (\d+))")),
        QRegularExpression(QStringLiteral(R"(\bat (\S+) line (\d+))")),
        QRegularExpression(QStringLiteral(R"(([^\s()\[\]'"]+\.\w+)\((\d+)(?:,\d+)?\))")),
        QRegularExpression(
            QStringLiteral(R"((?:file://)?((?:\b[A-Za-z]:)?[^\s():'"]+\.\w+):(\d+)(?::\d+)?)")),
    };
    return patterns[index];
}

bool findInLine(QStringView line, QString* file, int* number)
{
    for (int index = 0; index < 4; ++index) {
        const QRegularExpressionMatch match = pattern(index).match(line);
        if (!match.hasMatch())
            continue;
        bool ok = false;
        const int value = match.captured(2).toInt(&ok);
        if (!ok || value <= 0)
            continue;
        *file = match.captured(1);
        *number = value;
        return true;
    }
    return false;
}

} // namespace

bool QASourceLocation::find(const QString& text, QString* file, int* line)
{
    qsizetype start = 0;
    for (int count = 0; count < MaxLines && start < text.size(); ++count) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QStringView whole = QStringView(text).mid(start, end - start);
        if (findInLine(whole.left(MaxLineLength), file, line))
            return true;
        start = end + 1;
    }
    return false;
}

void QASourceLocation::fill(QAResultCase& testCase, const QString& text)
{
    if (!testCase.sourceFile.isEmpty() || text.isEmpty())
        return;
    QString file;
    int line = 0;
    if (find(text, &file, &line)) {
        testCase.sourceFile = file;
        testCase.sourceLine = line;
    }
}
