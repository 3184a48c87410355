#pragma once
// X keysyms to the virtual-key codes of the key table.
#include <cstdint>

namespace kvr {

// 0 for a keysym the key table has no key for (recorded as "None").
std::uint16_t keysymToVirtualKey(std::uint32_t keysym);

}  // namespace kvr
