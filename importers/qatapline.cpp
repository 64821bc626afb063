#include "qatapline.h"

#include <utility>

namespace {

bool startsWithWord(QStringView text, QLatin1String word)
{
    if (!text.startsWith(word, Qt::CaseInsensitive))
        return false;
    return text.size() == word.size() || !text.at(word.size()).isLetterOrNumber();
}

// Digits at the start of text, as a number; -1 when there are none or
// too many to be a count.
qint64 leadingNumber(QStringView text, qsizetype* length)
{
    qsizetype end = 0;
    while (end < text.size() && text.at(end).isDigit() && text.at(end).unicode() < 128)
        ++end;
    *length = end;
    if (end == 0 || end > 18)
        return -1;
    return text.left(end).toLongLong();
}

} // namespace

QATapLine QATapLine::parse(const QString& line)
{
    QATapLine result;
    while (result.indent < line.size() && line.at(result.indent) == QLatin1Char(' '))
        ++result.indent;
    const QStringView rest = QStringView(line).mid(result.indent);
    if (rest.startsWith(QLatin1String("ok")) || rest.startsWith(QLatin1String("not ok")))
        result.parseTestPoint(rest);
    else if (rest.startsWith(QLatin1String("1..")) && result.parsePlan(rest))
        result.kind = Plan;
    else if (rest.startsWith(QLatin1String("bail out!"), Qt::CaseInsensitive)) {
        result.kind = BailOut;
        result.text = rest.mid(9).trimmed().toString();
    } else if (rest.startsWith(QLatin1String("TAP version "))) {
        qsizetype length = 0;
        result.number = leadingNumber(rest.mid(12), &length);
        result.kind = result.number > 0 ? Version : Other;
    } else if (rest.startsWith(QLatin1Char('#'))) {
        const QStringView comment = rest.mid(1).trimmed();
        if (comment.startsWith(QLatin1String("Subtest"))) {
            result.kind = Subtest;
            QStringView name = comment.mid(7).trimmed();
            if (name.startsWith(QLatin1Char(':')))
                name = name.mid(1).trimmed();
            result.text = name.toString();
        }
    } else if (rest.trimmed() == QLatin1String("---")) {
        result.kind = YamlStart;
    } else if (rest.trimmed() == QLatin1String("...")) {
        result.kind = YamlEnd;
    }
    return result;
}

void QATapLine::parseTestPoint(QStringView rest)
{
    ok = rest.startsWith(QLatin1String("ok"));
    rest = rest.mid(ok ? 2 : 6);
    if (!rest.isEmpty() && !rest.at(0).isSpace() && rest.at(0) != QLatin1Char('#'))
        return; // "okay", "not okay": not a test point
    kind = TestPoint;
    rest = rest.trimmed();
    qsizetype length = 0;
    number = leadingNumber(rest, &length);
    rest = rest.mid(length).trimmed();
    if (rest.startsWith(QLatin1Char('-')))
        rest = rest.mid(1).trimmed();

    // The description runs to the first '#' not escaped by a backslash; it
    // is copied a run of plain characters at a time.
    text.reserve(rest.size());
    qsizetype run = 0;
    qsizetype index = 0;
    for (; index < rest.size(); ++index) {
        const QChar c = rest.at(index);
        if (c == QLatin1Char('#'))
            break;
        if (c == QLatin1Char('\\') && index + 1 < rest.size() &&
            (rest.at(index + 1) == QLatin1Char('#') || rest.at(index + 1) == QLatin1Char('\\'))) {
            text += rest.mid(run, index - run);
            run = ++index;
        }
    }
    text += rest.mid(run, index - run);
    text = std::move(text).trimmed();
    if (index < rest.size())
        parseDirective(rest.mid(index + 1).trimmed());
}

// A comment after a description is a directive when it starts with SKIP
// or TODO in any case ("skipped" counts too); anything else stays part of
// the description.
void QATapLine::parseDirective(QStringView comment)
{
    if (comment.startsWith(QLatin1String("skip"), Qt::CaseInsensitive))
        directive = Skip;
    else if (startsWithWord(comment, QLatin1String("todo")))
        directive = Todo;
    if (directive == NoDirective) {
        text += QLatin1String(" # ");
        text += comment;
        return;
    }
    qsizetype word = 4;
    while (word < comment.size() && comment.at(word).isLetter())
        ++word;
    reason = comment.mid(word).trimmed().toString();
    if (reason.startsWith(QLatin1Char(':')))
        reason = reason.mid(1).trimmed();
}

bool QATapLine::parsePlan(QStringView rest)
{
    qsizetype length = 0;
    number = leadingNumber(rest.mid(3), &length);
    if (number < 0)
        return false;
    const QStringView after = rest.mid(3 + length).trimmed();
    if (after.startsWith(QLatin1Char('#'))) {
        parseDirective(after.mid(1).trimmed());
        text = reason;
    } else if (!after.isEmpty()) {
        return false;
    }
    return true;
}
