#pragma once
// The ready-made macros of a new library: the built-in "PCMacroData" is these entries compiled by
// the program's own codec (tools/make_macro_library writes it; a test keeps the two equal).
#include "macros/pc_macro_library.h"

namespace kvr {

// The entries in slots 0..n-1, every later slot free.
PCMacroSlots buildDefaultLibrary();

}  // namespace kvr
