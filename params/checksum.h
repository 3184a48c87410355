#pragma once
// The mouse's checksum over a run of bytes, shared by the parameter block, the profile block and
// every macro.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

// Sum of the bytes modulo 256, XOR 0x5A.
std::uint8_t blockChecksum(std::span<const std::uint8_t> bytes);

// Writes the checksum of the first `covered` bytes into bytes[covered]; does nothing when the run
// has no room for it.
void setChecksum(std::span<std::uint8_t> bytes, std::size_t covered);

}  // namespace kvr
