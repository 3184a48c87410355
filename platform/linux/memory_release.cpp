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

void returnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
    // glibc's own default, but fixed: left to itself, the allocator raises the size once a large
    // block is freed, and later large blocks then come from the heap.
    constexpr int kLargeBlock = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
#endif
}

}  // namespace kvr
