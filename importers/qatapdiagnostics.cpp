#include "qatapdiagnostics.h"

#include "qaresultsink.h"
#include "qasourcelocation.h"

#include <QHash>
#include <QStringList>

namespace {

int indentOf(QStringView line)
{
    int indent = 0;
    while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
        ++indent;
    return indent;
}

QString unquoted(QStringView value)
{
    value = value.trimmed();
    if (value.size() >= 2 &&
        ((value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))) ||
         (value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))))
        value = value.mid(1, value.size() - 2);
    return value.toString();
}

bool isBlockScalar(QStringView value)
{
    return value.startsWith(QLatin1Char('|')) || value.startsWith(QLatin1Char('>'));
}

// The first value of each wanted key. A block scalar ("key: |") takes the
// lines indented below the key, joined by line breaks.
QHash<QString, QString> scan(const QStringList& lines)
{
    static const QStringList wanted = {
        QStringLiteral("message"), QStringLiteral("error"),    QStringLiteral("severity"),
        QStringLiteral("at"),      QStringLiteral("location"), QStringLiteral("stack"),
        QStringLiteral("file"),    QStringLiteral("line"),     QStringLiteral("duration_ms")};
    QHash<QString, QString> values;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QStringView line = QStringView(lines.at(index)).trimmed();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QString key = line.left(colon).toString();
        if (!wanted.contains(key) || values.contains(key))
            continue;
        const QStringView value = line.mid(colon + 1).trimmed();
        if (!isBlockScalar(value)) {
            values.insert(key, unquoted(value));
            continue;
        }
        const int keyIndent = indentOf(lines.at(index));
        QStringList block;
        while (index + 1 < lines.size() && (lines.at(index + 1).trimmed().isEmpty() ||
                                            indentOf(lines.at(index + 1)) > keyIndent))
            block += lines.at(++index).trimmed();
        values.insert(key, block.join(QLatin1Char('\n')).trimmed());
    }
    return values;
}

} // namespace

void QATapDiagnostics::apply(const QString& block, QAResultCase& testCase)
{
    if (!testCase.details.isEmpty())
        testCase.details += QLatin1Char('\n');
    testCase.details += block;
    const QHash<QString, QString> values = scan(block.split(QLatin1Char('\n')));

    const QString message =
        values.value(QStringLiteral("message"), values.value(QStringLiteral("error")));
    if (!message.isEmpty())
        testCase.message = message;
    if (values.contains(QStringLiteral("severity")))
        testCase.failureType = values.value(QStringLiteral("severity"));
    bool ok = false;
    const double milliseconds = values.value(QStringLiteral("duration_ms")).toDouble(&ok);
    if (ok && milliseconds >= 0)
        testCase.seconds = milliseconds / 1000;

    const int line = values.value(QStringLiteral("line")).toInt(&ok);
    if (values.contains(QStringLiteral("file")) && ok && line > 0) {
        testCase.sourceFile = values.value(QStringLiteral("file"));
        testCase.sourceLine = line;
    }
    for (const char* key : {"at", "location", "stack"})
        QASourceLocation::fill(testCase, values.value(QLatin1String(key)));
}
