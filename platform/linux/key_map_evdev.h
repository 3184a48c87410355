#pragma once
// Linux input-event key codes to the virtual-key codes of the key table.
#include <cstdint>
#include <optional>

#include "macros/input_capture.h"

namespace kvr {

// 0 for a key the key table has no key for (recorded as "None").
std::uint16_t evdevKeyToVirtualKey(std::uint16_t code);
// The mouse button of a BTN_ code; none for other codes.
std::optional<MouseButton> evdevButton(std::uint16_t code);

}  // namespace kvr
