#pragma once
// The 3-byte function code the mouse stores per button, and its code text: six upper-case
// hexadecimal digits, class byte first ("0300E9").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvr {

struct ButtonCode {
    std::uint8_t codeClass = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    friend bool operator==(const ButtonCode&, const ButtonCode&) = default;
};

namespace code_class {
inline constexpr std::uint8_t kMouseButton = 0x01;  // data 1: button bit
inline constexpr std::uint8_t kKeyboard = 0x02;     // data 1: modifier bits, data 2: usage code
inline constexpr std::uint8_t kConsumer = 0x03;     // data 1 and 2: consumer usage, high first
inline constexpr std::uint8_t kFireKey = 0x04;      // data 1: repeat count x 2, data 2: fire time
inline constexpr std::uint8_t kDpiNext = 0x05;
inline constexpr std::uint8_t kMacro = 0x06;  // data 1 and 2: macro address, high first
inline constexpr std::uint8_t kDpiUp = 0x07;
inline constexpr std::uint8_t kDpiDown = 0x08;
inline constexpr std::uint8_t kLedSwitch = 0x09;
}  // namespace code_class

// Modifier bits of a keyboard code, as in the boot keyboard report.
namespace key_modifier {
inline constexpr int kCtrl = 0;
inline constexpr int kShift = 1;
inline constexpr int kAlt = 2;
inline constexpr int kWin = 3;
}  // namespace key_modifier

inline constexpr int kMaxFireRepeat = 127;

std::string codeText(ButtonCode code);

// The first six digits become the three bytes; a longer text (the key combination dialog adds a
// fourth byte) contributes only those. Empty when the text is shorter or not hexadecimal.
std::optional<ButtonCode> parseCodeText(std::string_view text);

// Repeat counts above 127 cannot be doubled into one byte and are stored as 127.
ButtonCode fireKeyCode(int repeat, std::uint8_t delay);
ButtonCode macroCode(std::uint16_t address);

}  // namespace kvr
