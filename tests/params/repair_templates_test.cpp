// The templates that replace a damaged block, checked byte by byte against the bytes written out
// here by hand, through the repairs themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "params/data_buf.h"

namespace kvr {
namespace {

// Variant 1 parameter block, offsets 0..37: ConfigFlags, level count, NT mode times, USB ids,
// level values, reserved, colours, light times, reserved, NT hold and count, reserved, checksum.
const std::vector<std::uint8_t> kParamV1 = {
    0xFF, 0x04, 0x00, 0x03, 0x14, 0xCF, 0x1B, 0xA0, 0x08,        // 0..8
    0x01, 0x03, 0x04, 0x06, 0x00, 0x00, 0x00, 0x00,              // 9..16
    0x0A, 0x6C, 0xFC,                                            // 17..19
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,              // 20..27
    0x03, 0x03, 0x03, 0x03, 0x07, 0x7D, 0x32, 0x10, 0x3F, 0x03,  // 28..37
};

// Variant 2 parameter block, offsets 0..30.
const std::vector<std::uint8_t> kParamV2 = {
    0xFB, 0xFF, 0x04, 0x06, 0x00,                    // 0..4
    0x02, 0x04, 0x06, 0x07, 0x00, 0x00, 0x00, 0x00,  // 5..12
    0x0A, 0x6D, 0x60,                                // 13..15
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,  // 16..23
    0x03, 0x03, 0x03, 0x03, 0x07, 0x7D, 0xC0,        // 24..30
};

// Profile block: the nine button codes and the checksum.
const std::vector<std::uint8_t> kProfile = {
    0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x01, 0x02, 0x00, 0x01, 0x08, 0x00, 0x01, 0x10,
    0x00, 0x05, 0x00, 0x00, 0x04, 0x08, 0x20, 0x02, 0x08, 0x07, 0x03, 0x02, 0x23, 0xD4,
};

std::vector<std::uint8_t> section(const DataBuf& data, std::size_t start, std::size_t length) {
    return {data.begin() + std::ptrdiff_t(start), data.begin() + std::ptrdiff_t(start + length)};
}

TEST(PinnedRepairTemplates, DamagedBlocksBecomeTheWrittenBytes) {
    // A zero block with a wrong checksum fails every check.
    DataBuf data{};
    data[databuf::kParamAStart + 37] = 0x01;
    data[databuf::kParamCStart + 30] = 0x01;
    data[databuf::kProfileChecksum] = 0x01;
    data[databuf::kCurrentDpiLevel] = 0x02;
    data[databuf::kCurrentDpiLevelInv] = 0xFD;
    const DataBuf before = data;

    EXPECT_TRUE(CheckParameterASection(data));
    EXPECT_TRUE(CheckParameterCSection(data));
    EXPECT_TRUE(CheckProfileSection(data));
    EXPECT_EQ(section(data, databuf::kParamAStart, databuf::kParamALength), kParamV1);
    EXPECT_EQ(section(data, databuf::kParamCStart, databuf::kParamCLength), kParamV2);
    EXPECT_EQ(section(data, databuf::kProfileStart, databuf::kProfileLength), kProfile);
    // The tail is never replaced by a template.
    EXPECT_EQ(section(data, databuf::kParamBStart, databuf::kParamBLength),
              section(before, databuf::kParamBStart, databuf::kParamBLength));
}

TEST(PinnedRepairTemplates, TheWrittenBlocksPassTheirChecks) {
    DataBuf data{};
    std::ranges::copy(kParamV1, data.begin() + databuf::kParamAStart);
    std::ranges::copy(kParamV2, data.begin() + databuf::kParamCStart);
    std::ranges::copy(kProfile, data.begin() + databuf::kProfileStart);
    EXPECT_FALSE(CheckParameterASection(data));
    EXPECT_FALSE(CheckParameterCSection(data));
    EXPECT_FALSE(CheckProfileSection(data));
}

}  // namespace
}  // namespace kvr
