#include "gui/font_warmup.h"

namespace kvr {

// Windows keeps its fonts ready for every program.
std::future<void> warmFontConfiguration() { return {}; }

}  // namespace kvr
