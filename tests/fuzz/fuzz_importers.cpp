// Each result-file parser over arbitrary bytes, feeding a report builder.
// The first byte picks the parser (so that the corpus of one format mutates
// into the others' inputs too); the rest is the file.

#include "fuzzapp.h"
#include "qajunitparser.h"
#include "qanunitparser.h"
#include "qareporterdata.h"
#include "qaresultimporter.h"
#include "qaresultreportbuilder.h"
#include "qatapparser.h"
#include "qatrxparser.h"
#include "qaxunitparser.h"

#include <QBuffer>
#include <QGuiApplication>

namespace {

template <typename Parser> void readWith(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QAResultReportBuilder builder(QList<DStyle*>{});
    builder.setFileName(QStringLiteral("fuzz.xml"));
    Parser parser;
    if (!parser.read(&buffer, &builder))
        return;
    const std::unique_ptr<QAReporterData> record = builder.takeRecord();
    if (record && (!record->tree || !record->document))
        abort(); // a record always has its tree and its document
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray file = fuzzBytes(data + 1, size - 1);
    QAResultImporter::formatName(file.left(QAResultImporter::HeadSize));
    switch (data[0] % 5) {
    case 0:
        readWith<QAJUnitParser>(file);
        break;
    case 1:
        readWith<QANUnitParser>(file);
        break;
    case 2:
        readWith<QAXUnitParser>(file);
        break;
    case 3:
        readWith<QATrxParser>(file);
        break;
    default:
        readWith<QATapParser>(file);
        break;
    }
    return 0;
}
