#pragma once
// The keyboard keys the program knows: a Windows virtual-key code, the program's own key number
// (KeyIndex) with its English name, and the USB HID keyboard usage code the mouse stores.
#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

using KeyIndex = std::uint8_t;

inline constexpr KeyIndex kNoKey = 0;
inline constexpr int kNoVirtualKey = -1;

struct KeyRow {
    int virtualKey;  // kNoVirtualKey where no key event produces the row
    std::string_view name;
    std::uint8_t usage;  // 0 where the mouse cannot store the key
};

// One row per KeyIndex 0..144, at the position of its KeyIndex; index 1 is unused.
std::span<const KeyRow> keyTable();

// 0 (None) for a code that has no row.
KeyIndex VirtualKeyToKeyIndex(int virtualKey);
// Empty for an index without a row.
std::string_view KeyIndexToName(KeyIndex index);
// 0 where the row has no usage code or there is no row.
std::uint8_t KeyIndexToUsage(KeyIndex index);
// The name of the key that produces the usage code; the generic and left modifier keys share
// their left-hand names and both Windows keys read "Win". Empty for a code no key produces.
std::string_view UsageToName(std::uint8_t usage);

}  // namespace kvr
