// The preferences resource reader over arbitrary bytes, and the search that
// the preferences run on what it read.

#include "fuzzapp.h"
#include "qares.h"
#include "qaresreader.h"

#include <QCoreApplication>

#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startFuzzApp<QCoreApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QAResReader reader;
    const std::unique_ptr<QARes> first(reader.read(fuzzBytes(data, size)));
    if (first)
        first->search("REPORTER.style.name", '.');
    return 0;
}
