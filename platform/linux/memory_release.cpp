#include "gui/memory_release.h"

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
