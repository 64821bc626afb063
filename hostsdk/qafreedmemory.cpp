#include "qafreedmemory.h"

// Resolved when mimalloc is in the process, null otherwise: declared here
// rather than included so that the library builds and links without it.
extern "C" void mi_collect(bool force) __attribute__((weak));

bool QAFreedMemory::canGiveBack()
{
    return mi_collect != nullptr;
}

void QAFreedMemory::giveBack()
{
    if (canGiveBack())
        mi_collect(true);
}
