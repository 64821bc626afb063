// The HTML writer over a report read from arbitrary bytes: the page of the
// whole report, written into a buffer, as the export writes it to a file.

#include "ddocument.h"
#include "dhtmlres.h"
#include "fuzzapp.h"
#include "qareporterhtmlwriter.h"
#include "xrodrecords.h"

#include <QGuiApplication>
#include <QTextStream>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const std::unique_ptr<QAReporterData> record = readRecord(fuzzBytes(data, size), {}, &error);
    if (!record || !record->document)
        return 0;
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    QTextStream stream(&page);
    static DHTMLRes config; // the writer keeps a pointer to it
    QAReporterHTMLWriter writer({record.get()}, nullptr, nullptr, nullptr);
    writer.setBaseForLink(QStringLiteral("/export"));
    writer.setConfig(&config);
    writer.setStream(&stream);
    writer.doAll(record->document.get());
    stream.flush();
    return 0;
}
