#include "params/button_code.h"

#include <algorithm>
#include <array>

namespace kvr {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::size_t kCodeTextLength = 6;

std::optional<int> hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

void appendHexByte(std::string& out, std::uint8_t value) {
    out += kHexDigits[value >> 4];
    out += kHexDigits[value & 0x0F];
}

}  // namespace

std::string codeText(ButtonCode code) {
    std::string text;
    text.reserve(kCodeTextLength);
    appendHexByte(text, code.codeClass);
    appendHexByte(text, code.data1);
    appendHexByte(text, code.data2);
    return text;
}

std::optional<ButtonCode> parseCodeText(std::string_view text) {
    if (text.size() < kCodeTextLength) return std::nullopt;
    std::array<std::uint8_t, 3> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto high = hexDigitValue(text[2 * i]);
        const auto low = hexDigitValue(text[2 * i + 1]);
        if (!high || !low) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(*high * 16 + *low);
    }
    return ButtonCode{bytes[0], bytes[1], bytes[2]};
}

ButtonCode fireKeyCode(int repeat, std::uint8_t delay) {
    const int count = std::clamp(repeat, 0, kMaxFireRepeat);
    return ButtonCode{code_class::kFireKey, static_cast<std::uint8_t>(count * 2), delay};
}

ButtonCode macroCode(std::uint16_t address) {
    return ButtonCode{code_class::kMacro, static_cast<std::uint8_t>(address >> 8),
                      static_cast<std::uint8_t>(address & 0xFF)};
}

}  // namespace kvr
