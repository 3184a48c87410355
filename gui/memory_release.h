#pragma once
// Memory the program has freed but the allocator still holds, handed back to the system: the
// start and each transfer leave pictures and frames decoded and dropped.

namespace kvr {

void releaseFreedMemory();

}  // namespace kvr
