#ifndef DFREEDMEMORY_H
#define DFREEDMEMORY_H

// Hands memory the process has freed back to the system.
//
// The programs allocate through mimalloc, which keeps the pages of freed
// objects for reuse: after a report of 500 MB is closed its 2 GB would stay
// resident until later allocations reuse or decommit them. giveBack()
// returns every empty page of the calling thread's heap and of the heaps of
// threads that have ended. Call it after dropping something large, on the
// thread that dropped it; its cost is linear in the pages those heaps hold.
// Without mimalloc in the process (sanitizer builds) it does nothing, and
// canGiveBack() is false.
class DFreedMemory
{
public:
    static bool canGiveBack();
    static void giveBack();
};

#endif
