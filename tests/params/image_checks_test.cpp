#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/resources.h"
#include "params/checksum.h"
#include "params/data_buf.h"
#include "params/device_images.h"

namespace kvr {
namespace {

std::vector<std::uint8_t> builtInImage() {
    const auto resource = findResource(kDefaultImageResource);
    if (!resource) return {};
    return {resource->begin(), resource->end()};
}

DataBuf dataBufFrom(const DefaultImages& images) {
    DeviceImages device;
    std::ranges::copy(images.paramV1, device.paramV1.bytes.begin());
    std::ranges::copy(images.profile, device.profile.bytes.begin());
    DataBuf data{};
    copyImagesToDataBuf(device, 1, data);
    return data;
}

TEST(DefaultImage, HeaderSaysVariant1WithMacrosAndIdentity) {
    const auto defaults = loadBuiltInDefaults();
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->header.imageVariant, 1);
    EXPECT_EQ(defaults->header.macroCapability, kMacroCapabilityPresent);
    EXPECT_EQ(defaults->header.manufacturerId, 0xFF);
    EXPECT_EQ(defaults->header.productId, 0xFF);
    EXPECT_EQ(defaults->images.profile[0], 0x01);
    EXPECT_TRUE(std::ranges::all_of(defaults->images.macroArea, [](auto b) { return b == 0; }));
}

TEST(DefaultImage, PassesEveryCheckWithItsStoredChecksums) {
    const auto defaults = loadBuiltInDefaults();
    ASSERT_TRUE(defaults);
    DataBuf data = dataBufFrom(defaults->images);
    EXPECT_EQ(data[37], 0x98);
    EXPECT_EQ(blockChecksum(std::span(data).first(37)), 0x98);
    EXPECT_EQ(data[databuf::kProfileChecksum], 0xD0);
    const DataBuf before = data;
    EXPECT_FALSE(CheckParameterASection(data));
    EXPECT_FALSE(CheckParameterBSection(data));
    EXPECT_FALSE(CheckProfileSection(data));
    EXPECT_EQ(data, before);
}

TEST(DefaultImage, ShortImagesAreRefusedWithoutReadingPastThem) {
    const std::vector<std::uint8_t> image = builtInImage();
    ASSERT_EQ(image.size(), 585u);
    struct Case {
        std::size_t size;
        bool header;
        bool loads;
    };
    const Case cases[] = {{0, false, false},
                          {44, false, false},
                          {45, true, false},
                          {584, true, false},
                          {585, true, true}};
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> cut(image.begin(), image.begin() + c.size);
        EXPECT_EQ(readImageHeader(cut).has_value(), c.header) << c.size;
        DefaultImages out;
        out.profile.fill(0xAA);
        EXPECT_EQ(loadDefaultImages(cut, 1, out), c.loads) << c.size;
        EXPECT_EQ(out.profile[0], c.loads ? 0x01 : 0xAA) << "untouched on failure, " << c.size;
        EXPECT_EQ(loadDefaults(cut).has_value(), c.loads) << c.size;
    }
    DefaultImages out;
    EXPECT_FALSE(loadDefaultImages(image, 0, out));
}

TEST(DefaultImage, Variant2ImageIsLaidOutWithoutTheUsbIdentifiers) {
    // 38-byte parameter block: the template, a checksum and a tail with macros absent.
    std::vector<std::uint8_t> image(kParamTemplateV2.begin(), kParamTemplateV2.end());
    image.push_back(blockChecksum(kParamTemplateV2));
    for (std::uint8_t b : {0x01, 0xFE, 0x01, 0xFE, 0x02, 0x12, 0x34}) image.push_back(b);
    image.insert(image.end(), kProfileTemplate.begin(), kProfileTemplate.end());
    image.push_back(blockChecksum(kProfileTemplate));
    image.resize(578, 0x77);

    const auto defaults = loadDefaults(image);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->header.imageVariant, 2);
    EXPECT_EQ(defaults->header.macroCapability, kMacroCapabilityAbsent);
    EXPECT_EQ(defaults->header.manufacturerId, 0x12);
    EXPECT_EQ(defaults->header.productId, 0x34);
    EXPECT_TRUE(std::ranges::equal(defaults->images.profile.begin(),
                                   defaults->images.profile.begin() + 27, kProfileTemplate.begin(),
                                   kProfileTemplate.end()));
    EXPECT_EQ(defaults->images.macroArea.front(), 0x77);

    image.pop_back();
    EXPECT_FALSE(loadDefaults(image));
}

TEST(Checksum, TemplatesCarryTheirKnownChecksums) {
    EXPECT_EQ(blockChecksum(kParamTemplateV1), 0x03);
    EXPECT_EQ(blockChecksum(kParamTemplateV2), 0xC0);
    EXPECT_EQ(blockChecksum(kProfileTemplate), 0xD4);
    const std::vector<std::uint8_t> erased(27, 0xFF);
    EXPECT_EQ(blockChecksum(erased), 0xBF);
}

TEST(SectionChecks, ChangedParameterByteBringsTheTemplate) {
    const auto defaults = loadBuiltInDefaults();
    ASSERT_TRUE(defaults);
    DataBuf data = dataBufFrom(defaults->images);
    data[9] = 0x03;  // level 1 value changed, old checksum kept
    const DataBuf before = data;
    EXPECT_TRUE(CheckParameterASection(data));
    EXPECT_TRUE(std::ranges::equal(std::span(data).first(37), kParamTemplateV1));
    EXPECT_EQ(data[37], 0x03);
    EXPECT_TRUE(std::ranges::equal(std::span(data).subspan(38), std::span(before).subspan(38)))
        << "only the A section is repaired";
}

TEST(SectionChecks, Variant2SectionIsRepairedInPlace) {
    DataBuf data{};
    data.fill(0x11);
    EXPECT_TRUE(CheckParameterCSection(data));
    EXPECT_TRUE(std::ranges::equal(std::span(data).subspan(38, 30), kParamTemplateV2));
    EXPECT_EQ(data[68], 0xC0);
    EXPECT_EQ(data[37], 0x11);
    EXPECT_EQ(data[69], 0x11);
    EXPECT_FALSE(CheckParameterCSection(data));
}

TEST(SectionChecks, BrokenPairsBecomeOneAnd254EachOnItsOwn) {
    struct Case {
        std::uint8_t level, levelInv, led, ledInv;
        std::uint8_t wantLevel, wantLevelInv, wantLed, wantLedInv;
    };
    const Case cases[] = {
        {7, 0x10, 0x06, 0xF9, 1, 254, 0x06, 0xF9},
        {7, 0xF8, 0x83, 0x83, 7, 0xF8, 1, 254},
        {0, 0, 0xFF, 0xFF, 1, 254, 1, 254},
        {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF},
    };
    for (const Case& c : cases) {
        DataBuf data{};
        data[69] = c.level;
        data[70] = c.levelInv;
        data[71] = c.led;
        data[72] = c.ledInv;
        CheckParameterBSection(data);
        EXPECT_EQ(data[69], c.wantLevel);
        EXPECT_EQ(data[70], c.wantLevelInv);
        EXPECT_EQ(data[71], c.wantLed);
        EXPECT_EQ(data[72], c.wantLedInv);
    }
}

TEST(SectionChecks, ErasedProfileShowsTheTemplateCodes) {
    DataBuf data{};
    std::fill(data.begin() + 76, data.end(), 0xFF);
    EXPECT_TRUE(CheckProfileSection(data));
    EXPECT_EQ(buildButtonCodeTexts(data),
              (ButtonCodeTexts{"010100", "010400", "010200", "010800", "011000", "050000", "040820",
                               "020807", "030223"}));
    EXPECT_EQ(data[103], 0xD4);
}

TEST(SectionChecks, SetChecksumsMakeEditedSectionsPass) {
    DataBuf data{};
    data.fill(0x42);
    SetParameterChecksum(data, kParamLayoutV1);
    SetParameterChecksum(data, kParamLayoutV2);
    SetProfileChecksum(data);
    EXPECT_FALSE(CheckParameterASection(data));
    EXPECT_FALSE(CheckParameterCSection(data));
    EXPECT_FALSE(CheckProfileSection(data));
    EXPECT_EQ(data[69], 0x42) << "the B section is not covered by any checksum";
}

TEST(DeviceImages, DataBufAndImagesMapTheSameBytes) {
    struct Case {
        int variant;
        std::size_t sectionStart, sectionLength, tail;
    };
    for (const Case& c : {Case{1, 0, 38, 38}, Case{2, 38, 31, 31}}) {
        DataBuf data{};
        for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
        DeviceImages images;
        copyDataBufToImages(data, c.variant, images);
        const auto param = images.param(*paramLayout(c.variant));
        EXPECT_EQ(param[0], c.sectionStart);
        EXPECT_EQ(param[c.sectionLength - 1], c.sectionStart + c.sectionLength - 1);
        EXPECT_EQ(param[c.tail], 69);
        EXPECT_EQ(param.back(), 75);
        EXPECT_EQ(images.profile.bytes[0], 76);
        EXPECT_EQ(images.profile.bytes[27], 103);

        DataBuf back{};
        copyImagesToDataBuf(images, c.variant, back);
        EXPECT_TRUE(std::ranges::equal(std::span(back).subspan(c.sectionStart, c.sectionLength),
                                       std::span(data).subspan(c.sectionStart, c.sectionLength)));
        EXPECT_TRUE(std::ranges::equal(std::span(back).subspan(69), std::span(data).subspan(69)));
    }
}

}  // namespace
}  // namespace kvr
