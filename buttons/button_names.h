#pragma once
// The functions of the button menu with their codes, and the name a button shows for any code.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/text_lookup.h"
#include "params/button_code.h"

namespace kvr {

struct MenuEntry {
    int entry;
    std::string_view control;        // object name of the menu entry
    std::optional<ButtonCode> code;  // empty for the fire key: built from the fire-key fields
    std::string_view nameKey;
};

inline constexpr int kFireKeyEntry = 1000;
inline constexpr std::string_view kLeftKeyNameKey = "Str210";
inline constexpr std::string_view kFireKeyNameKey = "Str230";

// The fixed menu entries in entry order.
std::span<const MenuEntry> menuEntries();

// The repeat count and fire time that every fire-key button shares.
struct FireKeySetting {
    int repeat = 2;
    std::uint8_t delay = 16;
};

// Empty for an entry number that is not a fixed menu entry.
std::string CodeForMenuEntry(int entry, FireKeySetting fire);

// The name of the device macro slot that starts at an address, the first slot that does.
using MacroNameAt = std::function<std::optional<std::string>(std::uint16_t address)>;

struct CodeNaming {
    TextLookup texts;
    MacroNameAt macroNameAt;  // unset while the mouse has no macro memory
};

// The name of a button's function in the current language; empty for a code with no name, and
// for a text that is not a code.
std::string CodeToDisplayName(std::string_view codeText, const CodeNaming& naming);
std::string CodeToDisplayName(ButtonCode code, const CodeNaming& naming);

}  // namespace kvr
