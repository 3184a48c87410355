#pragma once
// The key table's virtual key of a key as the desktop's own key events name it: the keysym on
// X11 and Wayland, the virtual-key code on Windows. Each platform supplies it.
#include <cstdint>

namespace kvr {

// 0 for a key the key table has no key for, or a system whose key events carry no such name.
std::uint16_t nativeKeyToVirtualKey(std::uint32_t nativeKey);

}  // namespace kvr
