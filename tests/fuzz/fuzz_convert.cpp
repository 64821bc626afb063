// --convert's writer over a report read from arbitrary bytes: what it
// writes must read back as the same tree (names, types, states), the same
// node types and, unless the writer warned that it could not carry them,
// the same totals. A difference aborts, so the fuzzer keeps the input.

#include "fuzzapp.h"
#include "qaxrodwriter.h"
#include "xrodrecords.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// One line per node in tree order: depth, name, type and state.
QStringList nodeLines(QAReporterDataTree* tree)
{
    QStringList lines;
    tree->iterator()->toRoot();
    while (const QAReporterNode* node = tree->next(PreOrder)) {
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(QString::number(tree->iterator()->depth()), node->name, node->type,
                          node->state);
    }
    return lines;
}

QList<qint64> totalsOf(const QAReporterData& record)
{
    return {record.okCount, record.koCount, record.neCount};
}

[[noreturn]] void differs(const char* what, const QByteArray& written)
{
    fprintf(stderr, "read back differs (%s); written:\n%s\n", what, written.constData());
    abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const std::unique_ptr<QAReporterData> source = readRecord(fuzzBytes(data, size), {}, &error);
    if (!source || !source->tree)
        return 0;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QAXrodWriter writer(&buffer);
    if (!writer.write({source.get()}))
        return 0; // refused with a message: nothing written to compare
    const QByteArray written = buffer.data();
    const std::unique_ptr<QAReporterData> copy = readRecord(written, {}, &error);
    if (!copy || !copy->tree)
        differs(qPrintable(QStringLiteral("not read: ") + error), written);
    if (nodeLines(copy->tree) != nodeLines(source->tree))
        differs("tree", written);
    if (copy->types != source->types)
        differs("types", written);
    if (writer.warnings().isEmpty() && totalsOf(*copy) != totalsOf(*source))
        differs("totals", written);
    return 0;
}
