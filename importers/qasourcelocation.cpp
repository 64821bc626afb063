#include "qasourcelocation.h"

#include "qalinktarget.h"
#include "qaresultsink.h"

#include <QRegularExpression>

#include <climits>
#include <utility>

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

// Perl's "at t/x.t line 42".
const QRegularExpression& perlFrame()
{
    static const QRegularExpression pattern(QStringLiteral("\\bat (\\S+) line (\\d+)"));
    return pattern;
}

// A compiler's or MSBuild's "File.cs(42)" or "File.cs(42,7)".
const QRegularExpression& parenthesisedLine()
{
    static const QRegularExpression pattern(
        QStringLiteral("([^\\s()\\[\\]'\"]+\\.\\w+)\\((\\d+)(?:,\\d+)?\\)"));
    return pattern;
}

// A character a file name in a location can hold: no white space, no
// brackets or quotes (they surround locations), no colon.
bool isFileChar(QChar c)
{
    switch (c.unicode()) {
    case '(':
    case ')':
    case '[':
    case ']':
    case '<':
    case '>':
    case '"':
    case '\'':
    case ':':
        return false;
    default:
        return !c.isSpace();
    }
}

// Whether file ends in ".ext", the extension letters and digits only and
// the dot not the file's first character nor after another dot.
bool hasExtension(QStringView file)
{
    const qsizetype dot = file.lastIndexOf(u'.');
    if (dot <= 0 || dot + 1 >= file.size() || file.at(dot - 1) == u'.')
        return false;
    for (QChar c : file.mid(dot + 1)) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128))
            return false;
    }
    return true;
}

// "file.ext:line" anywhere in the line, scanned by hand: this runs on
// every line of every stack trace. A drive letter ("C:\\a.cs:3") belongs
// to the file.
bool fileColonLine(QStringView line, QString* file, int* number)
{
    for (qsizetype colon = line.indexOf(u':'); colon >= 0; colon = line.indexOf(u':', colon + 1)) {
        qsizetype end = colon + 1;
        qint64 value = 0;
        while (end < line.size() && line.at(end).isDigit() && line.at(end).unicode() < 128 &&
               value <= INT_MAX)
            value = value * 10 + (line.at(end++).unicode() - u'0');
        if (end == colon + 1 || value <= 0 || value > INT_MAX)
            continue;
        qsizetype start = colon;
        while (start > 0 && isFileChar(line.at(start - 1)))
            --start;
        if (start >= 2 && line.at(start - 1) == u':' && line.at(start - 2).isLetter() &&
            (line.at(start) == u'\\' || line.at(start) == u'/') &&
            (start == 2 || !isFileChar(line.at(start - 3))))
            start -= 2;
        QStringView name = line.mid(start, colon - start);
        // "file:///src/a.mjs:3" names /src/a.mjs.
        if (name.startsWith(u"//") && start >= 5 && line.mid(start - 5, 5) == u"file:")
            name = name.mid(2);
        if (!hasExtension(name))
            continue;
        *file = name.toString();
        *number = int(value);
        return true;
    }
    return false;
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
    for (qsizetype i = line.indexOf(u'('); i >= 0 && i + 1 < line.size();
         i = line.indexOf(u'(', i + 1)) {
        if (line.at(i + 1).isDigit())
            return true;
    }
    return line.contains(u" line ");
}

} // namespace

void QASourceLocation::fill(QAResultCase& testCase, QStringView text)
{
    if (!testCase.sourceFile.isEmpty() || text.isEmpty())
        return;
    const QASourceLocation location = find(text);
    if (location.isValid()) {
        testCase.sourceFile = location.file;
        testCase.sourceLine = location.line;
    }
}

QString QASourceLocation::target() const
{
    return QALinkTarget::sourceReference(file, line);
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
    // The patterns of tracebacks run only on lines that have their words.
    const std::pair<const QRegularExpression*, QStringView> framed[] = {
        {&pythonFrame(), u"File \""},
        {&dotnetFrame(), u":line "},
        {&perlFrame(), u" line "},
        {&parenthesisedLine(), u"("}};
    for (const auto& [pattern, word] : framed) {
        if (!line.contains(word))
            continue;
        const QRegularExpressionMatch match = pattern->match(line);
        if (!match.hasMatch())
            continue;
        location.file = match.captured(1).trimmed();
        location.line = lineNumber(match.captured(2));
        if (location.isValid())
            return location;
    }
    if (fileColonLine(line, &location.file, &location.line))
        return location;
    return {};
}

bool QASourceLocation::isLibraryLine(QStringView line)
{
    static const QStringView markers[] = {u"node_modules",
                                          u"node:internal",
                                          u"site-packages",
                                          u"dist-packages",
                                          u"/usr/lib/",
                                          u"at java.",
                                          u"at javax.",
                                          u"at jdk.",
                                          u"at sun.",
                                          u"at org.junit.",
                                          u"at junit.",
                                          u"at org.testng.",
                                          u"at org.opentest4j.",
                                          u"at kotlin.",
                                          u"at org.apache.maven.",
                                          u"/usr/local/go/",
                                          u"testing/testing.go",
                                          u"/_pytest/"};
    for (QStringView marker : markers) {
        if (line.contains(marker))
            return true;
    }
    return false;
}
