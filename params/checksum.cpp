#include "params/checksum.h"

namespace kvr {

namespace {
constexpr std::uint8_t kChecksumMask = 0x5A;
}

std::uint8_t blockChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
    return static_cast<std::uint8_t>(sum ^ kChecksumMask);
}

void setChecksum(std::span<std::uint8_t> bytes, std::size_t covered) {
    if (covered >= bytes.size()) return;
    bytes[covered] = blockChecksum(bytes.first(covered));
}

}  // namespace kvr
