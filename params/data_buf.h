#pragma once
// DataBuf: the working copy of the mouse's settings that the pages show and edit. The variant 1
// block, the variant 2 block and the shared tail sit side by side, so that an index means the
// same thing whichever variant is connected; only the connected variant's section is used.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "params/button_code.h"
#include "params/param_layout.h"

namespace kvr {

inline constexpr std::size_t kDataBufSize = 104;
using DataBuf = std::array<std::uint8_t, kDataBufSize>;

namespace databuf {
// Parameter A section: variant 1 block offsets 0..37, ParamChecksum last.
inline constexpr std::size_t kParamAStart = 0;
inline constexpr std::size_t kParamALength = 38;
// Parameter C section: variant 2 block offsets 0..30, ParamChecksum last.
inline constexpr std::size_t kParamCStart = 38;
inline constexpr std::size_t kParamCLength = 31;
// Parameter B section: the shared tail of either block.
inline constexpr std::size_t kParamBStart = 69;
inline constexpr std::size_t kParamBLength = param_tail::kLength;
// Profile section: the profile block.
inline constexpr std::size_t kProfileStart = 76;
inline constexpr std::size_t kProfileLength = profile_block::kSize;

inline constexpr std::size_t kCurrentDpiLevel = kParamBStart + param_tail::kCurrentDpiLevel;
inline constexpr std::size_t kCurrentDpiLevelInv = kParamBStart + param_tail::kCurrentDpiLevelInv;
inline constexpr std::size_t kLedMode = kParamBStart + param_tail::kLedMode;
inline constexpr std::size_t kLedModeInv = kParamBStart + param_tail::kLedModeInv;
inline constexpr std::size_t kMacroCapability = kParamBStart + param_tail::kMacroCapability;
inline constexpr std::size_t kProfileChecksum = kProfileStart + profile_block::kChecksum;

static_assert(kParamAStart + kParamALength == kParamCStart);
static_assert(kParamCStart + kParamCLength == kParamBStart);
static_assert(kParamBStart + kParamBLength == kProfileStart);
static_assert(kProfileStart + kProfileLength == kDataBufSize);
static_assert(kParamALength == kParamLayoutV1.checksum + 1);
static_assert(kParamCLength == kParamLayoutV2.checksum + 1);
static_assert(kParamCStart == kParamLayoutV2.dataBufStart);
}  // namespace databuf

// The DataBuf index of a parameter block offset of a variant.
constexpr std::size_t dataBufIndex(const ParamLayout& layout, std::size_t offset) {
    return layout.dataBufStart + offset;
}

// The repairs below work on DataBuf only; each returns whether it had to repair.

// A failed checksum over 0..36 puts the variant 1 template there.
bool CheckParameterASection(DataBuf& data);
// A failed checksum over 38..67 puts the variant 2 template there.
bool CheckParameterCSection(DataBuf& data);
// A broken active-level pair becomes level 2 (1, 254) and a broken light-mode pair 1, 254;
// each pair is checked on its own.
bool CheckParameterBSection(DataBuf& data);
// A failed checksum over the profile section puts the template codes there.
bool CheckProfileSection(DataBuf& data);

// The check of the connected variant's parameter section; false and nothing done for variant 0.
bool checkParameterSection(DataBuf& data, const ParamLayout& layout);

void SetParameterChecksum(DataBuf& data, const ParamLayout& layout);
void SetProfileChecksum(DataBuf& data);

// Button codes of buttons 1..9 in the profile section; other numbers read as 000000 and are not
// written.
ButtonCode buttonCodeAt(const DataBuf& data, int button);
void setButtonCode(DataBuf& data, int button, ButtonCode code);

// The code text of each button 1..9 (element 0 is button 1).
using ButtonCodeTexts = std::array<std::string, kButtonCount>;
ButtonCodeTexts buildButtonCodeTexts(const DataBuf& data);

}  // namespace kvr
