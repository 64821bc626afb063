#ifndef QAFREEDMEMORY_H
#define QAFREEDMEMORY_H

// Hands memory the process has freed back to the system.
//
// The programs allocate through mimalloc, which keeps the pages of freed
// objects for reuse and returns them to the system only later, as other
// allocations come. giveBack() returns at once the free segments of the
// calling thread's heap and of the heaps of threads that have ended. Call it
// after dropping something large, such as a report, once every object of it
// is deleted, on the thread that deleted them; its cost is linear in the
// pages those heaps hold. Without mimalloc in the process (sanitizer builds)
// it does nothing, and canGiveBack() is false.
class QAFreedMemory
{
public:
    static bool canGiveBack();
    static void giveBack();
};

#endif
