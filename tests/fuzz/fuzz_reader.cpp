// The XROD reader and its markup handler over arbitrary bytes: whatever
// comes in is either read into a record or refused with a message.

#include "fuzzapp.h"
#include "xrodrecords.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const std::unique_ptr<QAReporterData> record = readRecord(fuzzBytes(data, size), {}, &error);
    if (!record && error.isEmpty())
        abort(); // a refusal always says why
    return 0;
}
