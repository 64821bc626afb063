#include "qasourcelocation.h"

#include <QRegularExpression>

namespace {

// Lines are looked at up to this length: a location sits near a line's
// start, and a regular expression over a megabyte-long line would cost
// more than the whole rest of the import.
const qsizetype MaxLineLength = 2048;
// A stack trace names its location in its first frames; past these many
// lines the search stops, so a huge output is never scanned whole.
const int MaxLines = 200;

int lineNumber(const QString& digits)
{
    bool ok = false;
    const int line = digits.toInt(&ok);
    return ok && line > 0 ? line : 0;
}

const QRegularExpression& pythonFrame()
{
    static const QRegularExpression pattern(QStringLiteral("File \"([^\"]+)\", line (\\d+)"));
    return pattern;
}

const QRegularExpression& dotnetFrame()
{
    static const QRegularExpression pattern(QStringLiteral(" in (.+):line (\\d+)"));
    return pattern;
}

// file.ext:line, the file without spaces or brackets; a drive letter
// ("C:\...") is part of the file.
const QRegularExpression& fileColonLine()
{
    static const QRegularExpression pattern(QStringLiteral(
        "((?:[A-Za-z]:[\\\\/])?[^\\s()\\[\\]<>\"':]*[^\\s()\\[\\]<>\"':.]\\.[A-Za-z0-9]+)"
        ":(\\d+)"));
    return pattern;
}

// Whether a line can hold a location at all: a colon followed by a digit
// ("a.go:12", "a.cs:line 3" has "line ") or a traceback's ", line ". Most
// lines of a trace or an output have neither, and this check costs far
// less than the patterns.
bool mayHoldLocation(QStringView line)
{
    for (qsizetype i = line.indexOf(u':'); i >= 0 && i + 1 < line.size();
         i = line.indexOf(u':', i + 1)) {
        const QChar next = line.at(i + 1);
        if (next.isDigit() || line.mid(i + 1).startsWith(u"line "))
            return true;
    }
    return line.contains(u", line ");
}

} // namespace

QString QASourceLocation::target() const
{
    return file + QStringLiteral(" line ") + QString::number(line);
}

QASourceLocation QASourceLocation::find(QStringView text)
{
    int lines = 0;
    for (QStringView line : text.tokenize(u'\n')) {
        if (++lines > MaxLines)
            break;
        if (line.size() > MaxLineLength)
            line = line.left(MaxLineLength);
        if (!mayHoldLocation(line) || isLibraryLine(line))
            continue;
        const QASourceLocation location = inLine(line);
        if (location.isValid())
            return location;
    }
    return {};
}

QASourceLocation QASourceLocation::inLine(QStringView line)
{
    QASourceLocation location;
    for (const QRegularExpression* pattern : {&pythonFrame(), &dotnetFrame(), &fileColonLine()}) {
        const QRegularExpressionMatch match = pattern->match(line);
        if (!match.hasMatch())
            continue;
        location.file = match.captured(1).trimmed();
        location.line = lineNumber(match.captured(2));
        if (location.isValid())
            return location;
    }
    return {};
}

bool QASourceLocation::isLibraryLine(QStringView line)
{
    static const char* const markers[] = {"node_modules",
                                          "node:internal",
                                          "site-packages",
                                          "dist-packages",
                                          "/usr/lib/",
                                          "at java.",
                                          "at javax.",
                                          "at jdk.",
                                          "at sun.",
                                          "at org.junit.",
                                          "at junit.",
                                          "at org.testng.",
                                          "at org.opentest4j.",
                                          "at kotlin.",
                                          "at org.apache.maven.",
                                          "/usr/local/go/",
                                          "testing/testing.go",
                                          "/_pytest/"};
    for (const char* marker : markers) {
        if (line.contains(QLatin1String(marker)))
            return true;
    }
    return false;
}
