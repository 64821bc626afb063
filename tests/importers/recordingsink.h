#ifndef RECORDINGSINK_H
#define RECORDINGSINK_H

#include "qaresultsink.h"

#include <QBuffer>
#include <QStringList>
#include <QtTest>

// A sink that writes down every call as a line ("suite a", "case b failed",
// "end suite"...) and keeps the cases whole for their fields.
class RecordingSink : public QAResultSink
{
public:
    QStringList events;
    QList<QAResultCase> cases;

    void beginRun(const QAResultRunInfo&) override { events << QStringLiteral("run"); }
    void beginSuite(const QString& name, const QList<QPair<QString, QString>>& properties) override
    {
        QString line = QStringLiteral("suite ") + name;
        for (const auto& property : properties)
            line += QStringLiteral(" [%1=%2]").arg(property.first, property.second);
        events << line;
    }
    void beginClass(const QString& name) override { events << QStringLiteral("class ") + name; }
    void addCase(const QAResultCase& testCase) override
    {
        static const char* const states[] = {"passed", "failed", "inconclusive"};
        events << QStringLiteral("case %1 %2%3")
                      .arg(testCase.name, QLatin1String(states[testCase.state]),
                           testCase.flaky ? QStringLiteral(" flaky") : QString());
        cases << testCase;
    }
    void endClass() override { events << QStringLiteral("end class"); }
    void declaredTotals(qint64 tests, qint64 failures, qint64 errors, qint64 skipped) override
    {
        events << QString::asprintf("totals %lld %lld %lld %lld", tests, failures, errors, skipped);
    }
    void endSuite() override { events << QStringLiteral("end suite"); }
    void warning(const QString& text) override { events << QStringLiteral("warning ") + text; }
    void endRun() override { events << QStringLiteral("end run"); }

    // Whether every run, suite and class begun was ended, in order.
    bool balanced() const
    {
        QStringList open;
        for (const QString& line : events) {
            if (line == QLatin1String("run") || line.startsWith(QLatin1String("suite ")))
                open << line.section(QLatin1Char(' '), 0, 0);
            else if (line.startsWith(QLatin1String("class ")))
                open << QStringLiteral("class");
            else if (line.startsWith(QLatin1String("end "))) {
                if (open.isEmpty() || open.takeLast() != line.mid(4))
                    return false;
            } else if (open.isEmpty()) {
                return false;
            }
        }
        return open.isEmpty();
    }

    // The fields of every case that are set, one case a line: "name:
    // class=..., s=..., type=..., message=..., details=..., out=...,
    // err=..., at=file:line, property=k=v".
    QStringList caseFields() const
    {
        QStringList lines;
        for (const QAResultCase& c : cases) {
            QStringList fields;
            const auto add = [&fields](const char* key, const QString& value) {
                if (!value.isEmpty())
                    fields << QLatin1String(key) + QLatin1Char('=') + value;
            };
            add("class", c.className);
            add("s", c.seconds < 0 ? QString() : QString::number(c.seconds));
            add("type", c.failureType);
            add("message", c.message);
            add("details", c.details);
            add("out", c.systemOut);
            add("err", c.systemErr);
            if (!c.sourceFile.isEmpty())
                add("at", c.sourceFile + ':' + QString::number(c.sourceLine));
            for (const auto& property : c.properties)
                add("property", property.first + QLatin1Char('=') + property.second);
            lines << c.name + (fields.isEmpty() ? QString() : ": " + fields.join(", "));
        }
        return lines;
    }
};

// Runs a parser over bytes; the error string is returned through error.
template <typename Parser>
bool parseBytes(const QByteArray& bytes, RecordingSink* sink, QString* error = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Parser parser;
    const bool ok = parser.read(&buffer, sink);
    if (error)
        *error = parser.errorString();
    return ok;
}

using ParseFunction = bool (*)(const QByteArray&, RecordingSink*, QString*);

#endif
