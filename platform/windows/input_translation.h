#pragma once
// What the Windows capture makes of one raw keyboard input and one low-level mouse hook call:
// the recorder's key and button events, or nothing for input that is no key or button.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "macros/input_capture.h"

namespace kvr {

struct RawKeyEvent {
    std::uint16_t virtualKey = 0;
    bool down = false;
    bool operator==(const RawKeyEvent&) const = default;
};

// The key's virtual-key code as Windows gives it (both Shift keys are VK_SHIFT, as the recorder
// wants for its modifier codes); the scan code and the E0/E1 prefixes name no other key.
std::optional<RawKeyEvent> translateRawKey(const RAWKEYBOARD& key);

struct HookButtonEvent {
    MouseButton button = MouseButton::Left;
    bool down = false;
    ScreenPoint at;
};

// One call of the low-level mouse hook. Injected events (LLMHF_INJECTED) are recorded like
// the others: the recorder sees what the desktop sees.
std::optional<HookButtonEvent> translateMouseHook(WPARAM message, const MSLLHOOKSTRUCT& event);

}  // namespace kvr
