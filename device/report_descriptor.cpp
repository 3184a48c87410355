#include "device/report_descriptor.h"

#include <array>
#include <cstddef>

namespace kvr {

namespace {

// Item prefixes without their size bits.
constexpr std::uint8_t kTagFeature = 0xB0;     // main
constexpr std::uint8_t kTagReportSize = 0x74;  // global
constexpr std::uint8_t kTagReportId = 0x84;
constexpr std::uint8_t kTagReportCount = 0x94;
constexpr std::uint8_t kTagPush = 0xA4;
constexpr std::uint8_t kTagPop = 0xB4;
constexpr std::uint8_t kLongItem = 0xFE;

// Far more than any real descriptor nests; a deeper one is taken as damaged.
constexpr std::size_t kMaxPushDepth = 16;
// Report lengths are 16-bit on every platform; anything larger is nonsense.
constexpr std::uint64_t kMaxReportBits = 0xFFFFull * 8;

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

}  // namespace

int featureReportLength(std::span<const std::uint8_t> descriptor, std::uint8_t reportId) {
    Globals globals;
    std::array<Globals, kMaxPushDepth> stack{};
    std::size_t depth = 0;
    bool usesReportIds = false;
    std::uint64_t bits = 0;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItem) {
            if (descriptor.size() - pos < 3) return 0;
            const std::size_t dataSize = descriptor[pos + 1];
            if (descriptor.size() - pos - 3 < dataSize) return 0;
            pos += 3 + dataSize;
            continue;
        }
        const std::size_t dataSize = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        if (descriptor.size() - pos - 1 < dataSize) return 0;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i) {
            value |= static_cast<std::uint32_t>(descriptor[pos + 1 + i]) << (8 * i);
        }
        pos += 1 + dataSize;

        switch (prefix & 0xFC) {
            case kTagReportSize:
                globals.reportSize = value;
                break;
            case kTagReportCount:
                globals.reportCount = value;
                break;
            case kTagReportId:
                globals.reportId = value;
                usesReportIds = true;
                break;
            case kTagPush:
                if (depth == stack.size()) return 0;
                stack[depth++] = globals;
                break;
            case kTagPop:
                if (depth == 0) return 0;
                globals = stack[--depth];
                break;
            case kTagFeature:
                if (globals.reportId == reportId) {
                    bits += static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
                    if (bits > kMaxReportBits) return 0;
                }
                break;
            default:
                break;
        }
    }
    if (!usesReportIds || bits == 0) return 0;
    return static_cast<int>((bits + 7) / 8) + 1;
}

}  // namespace kvr
