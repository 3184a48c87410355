#include "gui/memory_release.h"

// Any C library header defines __GLIBC__ where the C library is glibc.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kvr {

void releaseFreedMemory() {
#if defined(__GLIBC__)
    // The allocator keeps freed pages of its heaps resident until told otherwise.
    malloc_trim(0);
#endif
}

}  // namespace kvr
