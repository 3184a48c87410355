#include "gui/memory_release.h"

#include <malloc.h>

namespace kvr {

void releaseFreedMemory() { _heapmin(); }

// The Windows heap gives large blocks memory of their own by itself.
void returnLargeBlocksWhenFreed() {}

}  // namespace kvr
