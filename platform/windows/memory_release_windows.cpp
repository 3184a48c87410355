#include "gui/memory_release.h"

#include <malloc.h>

namespace kvr {

void releaseFreedMemory() { _heapmin(); }

}  // namespace kvr
