// Compiled into every program linked with mimalloc (see xrd_program).
//
// Reading a large report builds hundreds of megabytes of small objects in
// fresh memory, and with 4 KiB pages the first touch of each page costs a
// fault: on virtual machines that is a large part of the whole read. Asked
// for large pages, mimalloc marks its segments for transparent huge pages
// (where the system allows them on request, as Debian does by default),
// which cuts the faults by 512. Set while the program starts, before most
// of its memory is taken.
#include <mimalloc.h>

namespace {

const bool largePages = [] {
    mi_option_enable(mi_option_large_os_pages);
    return true;
}();

} // namespace
