#pragma once
// Byte-exact copies of the mouse's memory regions, their built-in defaults, and the header of the
// built-in default image that decides which memory variant the program serves.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "params/data_buf.h"
#include "params/param_layout.h"

namespace kvr {

// A region's bytes with room for whole 6-byte transfer chunks after them.
template <std::size_t Used, std::size_t Room>
struct DeviceImage {
    static_assert(Used <= Room);
    static constexpr std::size_t kUsed = Used;
    static constexpr std::size_t kRoom = Room;

    std::array<std::uint8_t, Room> bytes{};

    std::span<std::uint8_t, Used> used() { return std::span(bytes).template first<Used>(); }
    std::span<const std::uint8_t, Used> used() const {
        return std::span(bytes).template first<Used>();
    }
};

inline constexpr std::size_t kMacroAreaSize = 512;
inline constexpr std::size_t kMacroReadBufferRoom = 512;
inline constexpr std::size_t kMacroWriteSize = 256;
inline constexpr std::size_t kMacroWriteBufferRoom = 258;

using ParamImageV1 = DeviceImage<kParamLayoutV1.blockSize, kParamLayoutV1.imageRoom>;
using ParamImageV2 = DeviceImage<kParamLayoutV2.blockSize, kParamLayoutV2.imageRoom>;
using ProfileImage = DeviceImage<profile_block::kSize, profile_block::kRoom>;
using MacroAreaImage = DeviceImage<kMacroAreaSize, kMacroAreaSize>;

struct DeviceImages {
    ParamImageV1 paramV1;
    ParamImageV2 paramV2;
    ProfileImage profile;
    MacroAreaImage macroArea;
    std::array<std::uint8_t, kMacroReadBufferRoom> macroReadBuffer{};
    std::array<std::uint8_t, kMacroWriteBufferRoom> macroWriteBuffer{};  // 256 used

    // The used bytes of a variant's parameter image.
    std::span<std::uint8_t> param(const ParamLayout& layout);
    std::span<const std::uint8_t> param(const ParamLayout& layout) const;
};

struct DefaultImages {
    std::array<std::uint8_t, kParamLayoutV1.blockSize> paramV1{};
    std::array<std::uint8_t, kParamLayoutV2.blockSize> paramV2{};
    std::array<std::uint8_t, profile_block::kSize> profile{};
    std::array<std::uint8_t, kMacroAreaSize> macroArea{};

    std::span<const std::uint8_t> param(const ParamLayout& layout) const;
};

inline constexpr std::string_view kDefaultImageResource = "KVR5507Data";
inline constexpr std::size_t kImageHeaderSize = kParamLayoutV1.blockSize;

// What the built-in default image says about the mouse the program serves.
struct ImageHeader {
    int imageVariant = 0;
    std::uint8_t macroCapability = 0;  // the program's macro capability, 10 or 2
    std::uint8_t manufacturerId = 0;   // the expected identity of a mouse
    std::uint8_t productId = 0;
};

// Variant 1 when bytes 5..8 hold the USB identifiers of the mouse, else variant 2. Empty when the
// image is shorter than the header.
std::optional<ImageHeader> readImageHeader(std::span<const std::uint8_t> image);

// Parameter block, profile block and macro area of a variant's default image, packed with no gap.
// False, and `out` untouched, when the image is too short or the variant unknown.
bool loadDefaultImages(std::span<const std::uint8_t> image, int imageVariant, DefaultImages& out);

struct BuiltInDefaults {
    ImageHeader header;
    DefaultImages images;
};

// The header and default images of the built-in resource; empty when it is missing or too short.
std::optional<BuiltInDefaults> loadBuiltInDefaults();
std::optional<BuiltInDefaults> loadDefaults(std::span<const std::uint8_t> image);

// Images → DataBuf as a read shows them: the variant's parameter block into its section and
// tail, the profile block into the profile section. Variant 0 copies the profile block only.
void copyImagesToDataBuf(const DeviceImages& images, int variant, DataBuf& data);
// DataBuf → images as a write sends them; the checksums must already be set.
void copyDataBufToImages(const DataBuf& data, int variant, DeviceImages& images);

}  // namespace kvr
