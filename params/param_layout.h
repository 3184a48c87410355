#pragma once
// Byte layouts of the mouse's parameter block (two memory variants) and profile block, with the
// templates that replace a block whose checksum fails.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kvr {

inline constexpr int kDpiLevelCount = 8;
inline constexpr std::size_t kButtonCount = 9;

// The seven bytes after ParamChecksum, the same in both variants: two value/complement pairs, the
// macro capability and the identity bytes.
namespace param_tail {
inline constexpr std::size_t kCurrentDpiLevel = 0;
inline constexpr std::size_t kCurrentDpiLevelInv = 1;
inline constexpr std::size_t kLedMode = 2;
inline constexpr std::size_t kLedModeInv = 3;
inline constexpr std::size_t kMacroCapability = 4;
inline constexpr std::size_t kManufacturerId = 5;
inline constexpr std::size_t kProductId = 6;
inline constexpr std::size_t kLength = 7;
// A value and its complement add up to this.
inline constexpr std::uint8_t kPairSum = 255;
}  // namespace param_tail

inline constexpr std::uint8_t kMacroCapabilityPresent = 10;
inline constexpr std::uint8_t kMacroCapabilityAbsent = 2;

// ConfigFlags bits. Bit 2 describes the hardware and is only ever read.
namespace config_flag {
inline constexpr int kMcpiOff = 0;
inline constexpr int kColorType = 2;
inline constexpr int kSync = 3;
inline constexpr int kBre = 4;
inline constexpr int kSevenColor = 6;
}  // namespace config_flag

// LedMode: the button effect in bit 7, the light mode in bits 0..4.
namespace led_mode {
inline constexpr int kButtonEffect = 7;
inline constexpr std::uint8_t kModeBits = 0x1F;
}  // namespace led_mode

// Offsets of one variant's parameter block. Fields the variant lacks are empty.
struct ParamLayout {
    int variant;
    std::size_t blockSize;
    std::size_t imageRoom;                    // whole 6-byte chunks
    std::size_t checksum;                     // ParamChecksum; it covers offsets 0..checksum-1
    std::size_t tail;                         // first byte of the shared tail (CurrentDpiLevel)
    std::size_t dataBufStart;                 // DataBuf index of offset 0
    std::optional<std::size_t> usbVendorId;   // low byte first
    std::optional<std::size_t> usbProductId;  // low byte first
    std::size_t configFlags;
    std::size_t dpiLevelCount;
    std::size_t dpiLevelValue;  // level 1; levels 2..8 follow
    std::size_t cpiColor;       // level 1; levels 2..8 follow
    std::size_t ntMode1Time;
    std::optional<std::size_t> ntMode2Time;
    std::optional<std::size_t> ntMode3Time;
    std::optional<std::size_t> ntMode2Hold;
    std::optional<std::size_t> ntMode3Count;
    std::size_t offTime;
    std::size_t riseTime;
    std::size_t lightTime;
    std::size_t fallTime;
    std::span<const std::uint8_t> repairTemplate;  // offsets 0..checksum-1
};

// Variant 1 template; offsets 17..19, 32, 33 and 36 are reserved and only carried.
inline constexpr std::array<std::uint8_t, 37> kParamTemplateV1 = {
    0xFF, 0x04, 0x00, 0x03, 0x14, 0xCF, 0x1B, 0xA0, 0x08, 0x01, 0x03, 0x04, 0x06,
    0x00, 0x00, 0x00, 0x00, 0x0A, 0x6C, 0xFC, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,
    0x06, 0x07, 0x03, 0x03, 0x03, 0x03, 0x07, 0x7D, 0x32, 0x10, 0x3F};

// Variant 2 template; offsets 1, 3, 13..15, 28 and 29 are reserved and only carried.
inline constexpr std::array<std::uint8_t, 30> kParamTemplateV2 = {
    0xFB, 0xFF, 0x04, 0x06, 0x00, 0x02, 0x04, 0x06, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x6D,
    0x60, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x03, 0x03, 0x03, 0x03, 0x07, 0x7D};

inline constexpr ParamLayout kParamLayoutV1{
    .variant = 1,
    .blockSize = 45,
    .imageRoom = 48,
    .checksum = 37,
    .tail = 38,
    .dataBufStart = 0,
    .usbVendorId = 5,
    .usbProductId = 7,
    .configFlags = 0,
    .dpiLevelCount = 1,
    .dpiLevelValue = 9,
    .cpiColor = 20,
    .ntMode1Time = 2,
    .ntMode2Time = 3,
    .ntMode3Time = 4,
    .ntMode2Hold = 34,
    .ntMode3Count = 35,
    .offTime = 28,
    .riseTime = 29,
    .lightTime = 30,
    .fallTime = 31,
    .repairTemplate = kParamTemplateV1,
};

inline constexpr ParamLayout kParamLayoutV2{
    .variant = 2,
    .blockSize = 38,
    .imageRoom = 42,
    .checksum = 30,
    .tail = 31,
    .dataBufStart = 38,
    .usbVendorId = std::nullopt,
    .usbProductId = std::nullopt,
    .configFlags = 0,
    .dpiLevelCount = 2,
    .dpiLevelValue = 5,
    .cpiColor = 16,
    .ntMode1Time = 4,
    .ntMode2Time = std::nullopt,
    .ntMode3Time = std::nullopt,
    .ntMode2Hold = std::nullopt,
    .ntMode3Count = std::nullopt,
    .offTime = 24,
    .riseTime = 25,
    .lightTime = 26,
    .fallTime = 27,
    .repairTemplate = kParamTemplateV2,
};

static_assert(kParamLayoutV1.tail + param_tail::kLength == kParamLayoutV1.blockSize);
static_assert(kParamLayoutV2.tail + param_tail::kLength == kParamLayoutV2.blockSize);
static_assert(kParamTemplateV1.size() == kParamLayoutV1.checksum);
static_assert(kParamTemplateV2.size() == kParamLayoutV2.checksum);

// The layout of a memory variant; null for variant 0 (no mouse) and any unknown variant.
const ParamLayout* paramLayout(int variant);

// Profile block: nine 3-byte button codes and a checksum.
namespace profile_block {
inline constexpr std::size_t kSize = 28;
inline constexpr std::size_t kRoom = 30;
inline constexpr std::size_t kCodeSize = 3;
inline constexpr std::size_t kChecksum = 27;
}  // namespace profile_block

inline constexpr std::array<std::uint8_t, profile_block::kChecksum> kProfileTemplate = {
    0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x01, 0x02, 0x00, 0x01, 0x08, 0x00, 0x01, 0x10,
    0x00, 0x05, 0x00, 0x00, 0x04, 0x08, 0x20, 0x02, 0x08, 0x07, 0x03, 0x02, 0x23};

static_assert(kButtonCount * profile_block::kCodeSize == profile_block::kChecksum);

}  // namespace kvr
