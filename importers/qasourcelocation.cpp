#include "qasourcelocation.h"

#include "qalinktarget.h"
#include "qaresultsink.h"

#include <QRegularExpression>

#include <QtAlgorithms>

#include <algorithm>
#include <climits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether text starts with word; inline, as it runs at every character of
// the lines scanned.
bool startsWithWord(QStringView text, QStringView word)
{
    return text.size() >= word.size() && std::equal(word.begin(), word.end(), text.begin());
}

// The words that the patterns of tracebacks need, one bit each.
enum FrameWord { PythonWord = 1, DotnetWord = 2, PerlWord = 4 };

// Which of "File \"", ":line " and " line " the line holds, found in one
// plain scan: lines are short, and a search per word costs three scans.
int frameWordsIn(QStringView line)
{
    int words = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        switch (line.at(i).unicode()) {
        case 'F':
            if (startsWithWord(line.sliced(i), u"File \""))
                words |= PythonWord;
            break;
        case ':':
            if (startsWithWord(line.sliced(i), u":line "))
                words |= DotnetWord;
            break;
        case ' ':
            if (startsWithWord(line.sliced(i), u" line "))
                words |= PerlWord;
            break;
        default:
            break;
        }
    }
    return words;
}

bool isDigitAt(QStringView line, qsizetype at)
{
    return at < line.size() && line.at(at).isDigit();
}

// Whether a line can hold a location at all: a colon followed by a digit
// ("a.go:12", "a.cs:line 3" has "line "), an opening parenthesis followed
// by a digit ("File.cs(42)") or " line " (tracebacks, Perl). Most lines of
// a trace or an output have none, and this one pass costs far less than
// the patterns.
bool holdsLocationAt(QStringView line, qsizetype i)
{
    switch (line.at(i).unicode()) {
    case ':':
        return isDigitAt(line, i + 1) || startsWithWord(line.sliced(i + 1), u"line ");
    case '(':
        return isDigitAt(line, i + 1);
    case ' ':
        return startsWithWord(line.sliced(i), u" line ");
    default:
        return false;
    }
}

#if defined(__SSE2__)
__m128i unitsAt(const char16_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// One bit for each of eight units (movemask gives two per unit) where
// matches is all ones.
unsigned unitMask(__m128i matches)
{
    return unsigned(_mm_movemask_epi8(matches)) & 0x5555u;
}

// The positions among eight where first is followed by second.
__m128i pairsAt(__m128i units, __m128i next, char16_t first, char16_t second)
{
    return _mm_and_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(short(first))),
                         _mm_cmpeq_epi16(next, _mm_set1_epi16(short(second))));
}
#endif

bool mayHoldLocation(QStringView line)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    // Only a ':', a '(' or a ' ' can start a location's mark: eight units
    // at a time are passed over when none of them is one.
    const char16_t* const data = line.utf16();
    for (; i + 8 <= line.size(); i += 8) {
        const __m128i units = unitsAt(data + i);
        const __m128i marks =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(':')),
                                      _mm_cmpeq_epi16(units, _mm_set1_epi16('('))),
                         _mm_cmpeq_epi16(units, _mm_set1_epi16(' ')));
        for (unsigned mask = unitMask(marks); mask != 0; mask &= mask - 1) {
            if (holdsLocationAt(line, i + qCountTrailingZeroBits(mask) / 2))
                return true;
        }
    }
#endif
    for (; i < line.size(); ++i) {
        if (holdsLocationAt(line, i))
            return true;
    }
    return false;
}

// Whether text, right after "at ", names a package of a runtime or a test
// library: "at java.", "at org.junit." ...
bool isLibraryPackage(QStringView text)
{
    static const QStringView packages[] = {
        u"java.",           u"javax.",           u"jdk.",    u"sun.",
        u"org.junit.",      u"junit.",           u"kotlin.", u"org.testng.",
        u"org.opentest4j.", u"org.apache.maven."};
    for (QStringView package : packages) {
        if (startsWithWord(text, package))
            return true;
    }
    return false;
}

// Whether a marker of library or runtime code starts text. Markers are
// told apart by their first character, so that most characters cost one
// comparison.
bool startsWithLibraryMarker(QStringView text)
{
    switch (text.front().unicode()) {
    case 'n':
        return startsWithWord(text, u"node_modules") || startsWithWord(text, u"node:internal");
    case 's':
        return startsWithWord(text, u"site-packages");
    case 'd':
        return startsWithWord(text, u"dist-packages");
    case 't':
        return startsWithWord(text, u"testing/testing.go");
    case '/':
        return startsWithWord(text, u"/usr/lib/") || startsWithWord(text, u"/usr/local/go/") ||
               startsWithWord(text, u"/_pytest/");
    case 'a':
        return startsWithWord(text, u"at ") && isLibraryPackage(text.sliced(3));
    default:
        return false;
    }
}

// Whether a parenthesised line number ("File.cs(42") is in the line, which
// the pattern of those needs.
bool hasParenthesisedNumber(QStringView line)
{
    for (qsizetype i = line.indexOf(u'('); i >= 0; i = line.indexOf(u'(', i + 1)) {
        if (isDigitAt(line, i + 1))
            return true;
    }
    return false;
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
    // The patterns of tracebacks run only on lines that have their words,
    // the compiler's (no word) only on lines with a "(" and a digit: a
    // stack frame's "run(Test.java:3)" has a parenthesis too.
    const std::pair<const QRegularExpression*, int> framed[] = {{&pythonFrame(), PythonWord},
                                                                {&dotnetFrame(), DotnetWord},
                                                                {&perlFrame(), PerlWord},
                                                                {&parenthesisedLine(), 0}};
    const int words = frameWordsIn(line);
    for (const auto& [pattern, word] : framed) {
        if (word == 0 ? !hasParenthesisedNumber(line) : !(words & word))
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
    qsizetype i = 0;
#if defined(__SSE2__)
    // Every marker is longer than two characters: eight positions at a
    // time are passed over when none starts the first two of one.
    const char16_t* const data = line.utf16();
    for (; i + 9 <= line.size(); i += 8) {
        const __m128i units = unitsAt(data + i);
        const __m128i next = unitsAt(data + i + 1);
        const __m128i starts = _mm_or_si128(
            _mm_or_si128(
                _mm_or_si128(pairsAt(units, next, u'n', u'o'), pairsAt(units, next, u's', u'i')),
                _mm_or_si128(pairsAt(units, next, u'd', u'i'), pairsAt(units, next, u't', u'e'))),
            _mm_or_si128(
                _mm_or_si128(pairsAt(units, next, u'/', u'u'), pairsAt(units, next, u'/', u'_')),
                pairsAt(units, next, u'a', u't')));
        for (unsigned mask = unitMask(starts); mask != 0; mask &= mask - 1) {
            if (startsWithLibraryMarker(line.sliced(i + qCountTrailingZeroBits(mask) / 2)))
                return true;
        }
    }
#endif
    for (; i < line.size(); ++i) {
        if (startsWithLibraryMarker(line.sliced(i)))
            return true;
    }
    return false;
}
