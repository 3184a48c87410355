#pragma once
// Memory the program has freed but the allocator still holds, handed back to the system: the
// start and each transfer leave pictures and frames decoded and dropped.

namespace kvr {

void releaseFreedMemory();

// From here on every large block (a decoded picture, an animation frame, a paint buffer) has
// memory of its own that goes back to the system when the block is freed, instead of the heap
// growing around it and keeping the hole resident. Called once, before the window is built.
void returnLargeBlocksWhenFreed();

}  // namespace kvr
