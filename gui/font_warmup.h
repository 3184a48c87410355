#pragma once
// The desktop's font configuration, read on a worker while Qt starts: the first text the window
// lays out needs it, and reading it is the costliest step before the first paint.
#include <future>

namespace kvr {

// Starts the reading; the handle is waited for before the program ends. Empty where the platform
// keeps no such configuration or no worker could be started.
std::future<void> warmFontConfiguration();

}  // namespace kvr
