#pragma once
// Single-bit access on a setting byte; bit 0 is the least significant.
#include <cstdint>

namespace kvr {

constexpr bool bitTest(std::uint8_t value, int bit) { return (value >> bit) & 1U; }

constexpr std::uint8_t bitSet(std::uint8_t value, int bit) {
    return static_cast<std::uint8_t>(value | (1U << bit));
}

constexpr std::uint8_t bitClear(std::uint8_t value, int bit) {
    return static_cast<std::uint8_t>(value & ~(1U << bit));
}

}  // namespace kvr
