// Compiled into every program linked with mimalloc (see xrd_program).
//
// Reading a large report builds hundreds of megabytes of small objects in
// fresh memory. With 4 KiB pages the first touch of each page costs a
// fault, and on virtual machines, where page tables are costly to change,
// those faults took half of a large import. mimalloc takes its memory from
// the system in large aligned segments; the mmap below marks each large
// anonymous mapping for transparent huge pages, so a fault brings in 2 MiB
// instead of 4 KiB (where the system grants huge pages on request, as
// Debian does by default).
//
// mimalloc's own large-page option is not used: it treats such memory as
// pinned and never decommits the free parts of a segment, so one object
// left in a segment keeps all of it resident. Memory marked here is still
// decommitted and returned as usual (see QAFreedMemory).
//
// The definition takes the place of the C library's mmap for every library
// that calls it through the dynamic linker, mimalloc among them; the C
// library's internal calls (thread stacks, its own allocator) do not come
// here.
#if defined(__linux__) && defined(__LP64__)
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>

namespace {

const size_t HugePage = size_t(2) << 20;

// A heap segment: private anonymous memory, read-write or reserved to be
// made so piece by piece (mimalloc reserves a thread's first segment).
bool holdsHeap(size_t length, int protection, int flags, int fd)
{
    const int heapFlags = MAP_PRIVATE | MAP_ANONYMOUS;
    return length >= HugePage && fd == -1 && (flags & heapFlags) == heapFlags &&
           !(flags & (MAP_STACK | MAP_FIXED)) &&
           (protection == (PROT_READ | PROT_WRITE) || protection == PROT_NONE);
}

} // namespace

extern "C" void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset)
{
    void* mapped =
        reinterpret_cast<void*>(syscall(SYS_mmap, address, length, protection, flags, fd, offset));
    if (mapped != MAP_FAILED && holdsHeap(length, protection, flags, fd))
        madvise(mapped, length, MADV_HUGEPAGE); // a hint: refused is as good
    return mapped;
}
#endif
