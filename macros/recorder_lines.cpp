#include "macros/recorder_lines.h"

#include <array>
#include <charconv>

#include "buttons/key_table.h"
#include "macros/macro_codec.h"

namespace kvr {

namespace {

struct ButtonLine {
    std::string_view name;
    std::uint8_t bit;  // press = 0xA0 | bit, release = 0x20 | bit
};
constexpr std::array<ButtonLine, kMouseButtonCount> kButtonLines{{
    {"LeftKey", 0x01},
    {"RightKey", 0x02},
    {"MiddleKey", 0x04},
    {"Forward", 0x08},
    {"Backward", 0x10},
}};

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

MacroLine mouseButtonEventLine(MouseButton button, bool press) {
    const ButtonLine& b = kButtonLines[static_cast<std::size_t>(button)];
    return macroEventLine(press, b.name, 0x00,
                          static_cast<std::uint8_t>((press ? 0xA0 : 0x20) | b.bit));
}

MacroLine keyEventLine(int virtualKey, bool press) {
    const KeyIndex index = VirtualKeyToKeyIndex(virtualKey);
    std::string_view name = KeyIndexToName(index);
    if (name == "255") return {};
    if (name.empty()) name = KeyIndexToName(kNoKey);
    if (const std::uint8_t bit = modifierBitOf(virtualKey))
        return macroEventLine(press, name, press ? 0x81 : 0x01, bit);
    return macroEventLine(press, name, press ? 0x82 : 0x02, KeyIndexToUsage(index));
}

MacroLine delayEventLine(int milliseconds) { return "0 " + std::to_string(milliseconds); }

int delayByteCost(int milliseconds) { return 2 * (std::max(milliseconds, 0) / kDelayPairMs + 1); }

int macroLineByteCost(std::string_view line) {
    if (line.empty()) return 0;
    if (line[0] == '0') {
        int d = 0;
        if (line.size() > 2) std::from_chars(line.data() + 2, line.data() + line.size(), d);
        return delayByteCost(d);
    }
    if (line.size() < 4) return 0;
    const std::string_view digits = line.substr(line.size() - 4);
    for (char c : digits)
        if (!isHex(c)) return 0;
    return digits.starts_with("00") ? 1 : 2;
}

int macroLinesByteCost(const MacroLines& lines) {
    int total = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) total += macroLineByteCost(lines[i]);
    return total;
}

int longestDelayWithin(int bytes) {
    if (bytes < 2) return -1;
    // n pairs reach up to n x 2040 - 1 ms (a whole multiple needs one more pair); cap at 10200.
    const int pairs = bytes / 2;
    return std::min(pairs * kDelayPairMs - 1, kMaxRecordedDelayMs);
}

}  // namespace kvr
