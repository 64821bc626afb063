#ifndef FORMATCHECKS_H
#define FORMATCHECKS_H

#include "recordingsink.h"
#include "samples.h"

#include <QtTest>

// Checks that every format's suite makes alike.
namespace FormatChecks {

// The rows of a recognises test: each sample, claimed by its own format only.
inline void recognitionRows(const char* own)
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("expected");
    for (const auto& sample : Samples::all())
        QTest::newRow(sample.first) << sample.second << (qstrcmp(sample.first, own) == 0);
}

// Cut anywhere, a sample still gives a balanced tree and never fewer cases
// than a shorter cut; it reads without error from size firstComplete on,
// or, when that is -1, only when nothing but white space was cut.
template <typename Parser>
void everyPrefix(const QByteArray& sample, qsizetype cases, qsizetype firstComplete = -1)
{
    qsizetype read = 0;
    for (qsizetype size = 0; size <= sample.size(); ++size) {
        RecordingSink sink;
        const bool ok = parseBytes<Parser>(sample.left(size), &sink);
        QVERIFY2(sink.balanced(), qPrintable(sink.events.join('\n')));
        QVERIFY(sink.cases.size() >= read);
        read = sink.cases.size();
        QCOMPARE(ok,
                 firstComplete >= 0 ? size >= firstComplete : sample.mid(size).trimmed().isEmpty());
    }
    QCOMPARE(read, cases);
}

} // namespace FormatChecks

#endif
