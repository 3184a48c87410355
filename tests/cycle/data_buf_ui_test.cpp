#include "cycle/data_buf_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "params/checksum.h"
#include "support/english_texts.h"

namespace kvr {
namespace {

// The window's view of the pages: the three models filled from the built-in defaults as read
// from a mouse of the given variant.
class PagesTest : public testing::Test {
protected:
    void SetUp() override {
        const auto defaults = loadBuiltInDefaults();
        ASSERT_TRUE(defaults);
        std::ranges::copy(defaults->images.paramV1, images.paramV1.bytes.begin());
        std::ranges::copy(defaults->images.profile, images.profile.bytes.begin());
    }

    PageModels pages() { return {sensitivity, light, buttons}; }

    void show(int variant) { DataBufToUI(images, variant, data, pages(), naming); }

    // The write path: pages into DataBuf, fire keys, checksums.
    void write(int variant) {
        UIToDataBuf(pages(), variant, data);
        if (const ParamLayout* layout = paramLayout(variant)) SetParameterChecksum(data, *layout);
        FireKeyAndFireKeyModeToDataBuf(buttons, data);
        SetProfileChecksum(data);
    }

    std::span<const std::uint8_t> sectionA() const { return std::span(data).first(37); }

    CodeNaming naming{.texts = test::englishLookup(), .macroNameAt = {}};
    SensitivityModel sensitivity{test::englishLookup()};
    LightModel light;
    ButtonModel buttons;
    DeviceImages images;
    DataBuf data{};
};

TEST_F(PagesTest, DefaultImageShowsOnThePagesAndWritesBackUnchanged) {
    show(1);
    EXPECT_EQ(sensitivity.levelsInUse(), 4);
    EXPECT_EQ(sensitivity.valueText(1), "1600");
    EXPECT_EQ(sensitivity.valueText(4), "4000");
    EXPECT_EQ(sensitivity.currentLevel(), 2);
    EXPECT_EQ(light.controlSet(), LightControlSet::Breathing);
    EXPECT_EQ(light.colorBre(), 3);
    EXPECT_EQ(light.timeText(TimeField::NTMode2Hold), "50");
    EXPECT_EQ(buttons.repeatText(), "2");
    EXPECT_EQ(buttons.delayText(), "32");
    const std::vector<std::string> captions = {"Left Key", "Middle Key", "Right Key",
                                               "Backward", "Forward",    "DPI",
                                               "Fire Key", "Win+D",      "Home"};
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(buttons.caption(n), captions[n - 1]) << n;

    const DataBuf shown = data;
    write(1);
    EXPECT_EQ(data, shown);
    EXPECT_EQ(data[37], 0x98);
    EXPECT_EQ(data[103], 0xD0);
}

TEST_F(PagesTest, DamagedBlockShowsTheTemplateAndTheNextWriteStoresIt) {
    images.paramV1.bytes[9] = 0x03;  // one byte changed, old checksum kept
    show(1);
    EXPECT_EQ(sensitivity.valueText(1), "800");
    EXPECT_EQ(sensitivity.valueText(2), "1200");
    EXPECT_EQ(sensitivity.valueText(3), "2400");
    EXPECT_EQ(sensitivity.valueText(4), "3200");
    EXPECT_EQ(images.paramV1.bytes[9], 0x03) << "the image keeps what was read";

    write(1);
    EXPECT_TRUE(std::ranges::equal(sectionA(), kParamTemplateV1));
    EXPECT_EQ(data[37], 0x03);
}

TEST_F(PagesTest, Variant2BlockIsShownAndWrittenFromItsOwnSection) {
    auto param = images.paramV2.used();
    std::ranges::fill(param, 0x00);  // fails its checksum: the template is shown
    param[31] = 0x07;
    param[32] = 0xF8;
    param[33] = 0x01;  // NT mode with the 7-colour flag of the template
    param[34] = 0xFE;
    data.fill(0x5C);
    show(2);
    EXPECT_EQ(sensitivity.levelsInUse(), 4);
    EXPECT_EQ(sensitivity.valueText(4), "4000");
    EXPECT_EQ(sensitivity.currentLevel(), 4) << "stored level 8 lies beyond the levels in use";
    EXPECT_EQ(light.controlSet(), LightControlSet::NT);
    EXPECT_EQ(light.ntMode(), 1);

    write(2);
    EXPECT_TRUE(std::ranges::equal(std::span(data).subspan(38, 30), kParamTemplateV2));
    EXPECT_EQ(data[68], 0xC0);
    EXPECT_TRUE(std::ranges::all_of(std::span(data).first(38), [](auto b) { return b == 0x5C; }))
        << "the variant 1 section keeps whatever it held";
    EXPECT_EQ(data[69], 3);
    EXPECT_EQ(data[70], 0xFC);
    EXPECT_EQ(data[71], 0x01);
}

TEST_F(PagesTest, Variant0ShowsOnlyTheSharedTailAndTheProfile) {
    data[69] = 0x02;
    data[70] = 0xFD;
    data[71] = 0x80;
    data[72] = 0x7F;
    show(0);
    EXPECT_TRUE(std::ranges::all_of(std::span(data).first(69), [](auto b) { return b == 0; }));
    EXPECT_EQ(sensitivity.levelsInUse(), 8) << "level count is in the variant's section";
    EXPECT_EQ(sensitivity.currentLevel(), 3);
    EXPECT_EQ(light.buttonEffect(), OnOff::On);
    EXPECT_EQ(buttons.caption(1), "Left Key");

    sensitivity.CurrentDPI_OnClick(5);
    write(0);
    EXPECT_TRUE(std::ranges::all_of(std::span(data).first(69), [](auto b) { return b == 0; }));
    EXPECT_EQ(data[69], 4);
    EXPECT_EQ(data[70], 0xFB);
}

TEST_F(PagesTest, BrokenActiveLevelPairShowsLevelTwo) {
    images.paramV1.bytes[38] = 7;
    images.paramV1.bytes[39] = 0x10;
    show(1);
    EXPECT_EQ(sensitivity.currentLevel(), 2);
    EXPECT_EQ(data[69], 1);
    EXPECT_EQ(data[70], 254);
}

TEST_F(PagesTest, StoredLevelsThePageCannotShowAreClampedAndWrittenSo) {
    struct Case {
        std::uint8_t count, step, current;
        int countShown, currentShown;
        std::uint8_t stepWritten;
    };
    const Case cases[] = {
        {0, 0x09, 0, 1, 1, 7},    // no level in use: level 1 stays in use
        {9, 0xFE, 7, 8, 8, 7},    // more than eight levels; no such step
        {3, 0xFF, 5, 3, 3, 0},    // current level beyond the last in use; step not set
        {2, 0x02, 1, 2, 2, 2},
    };
    for (const Case& c : cases) {
        auto& param = images.paramV1.bytes;
        param[1] = c.count;
        param[9] = c.step;
        param[38] = c.current;
        param[39] = static_cast<std::uint8_t>(0xFF - c.current);
        setChecksum(param, 37);
        show(1);
        EXPECT_EQ(sensitivity.levelsInUse(), c.countShown) << int(c.count);
        EXPECT_EQ(sensitivity.currentLevel(), c.currentShown) << int(c.current);
        write(1);
        EXPECT_EQ(data[1], c.countShown);
        EXPECT_EQ(data[9], c.stepWritten) << int(c.step);
        EXPECT_EQ(data[69], c.currentShown - 1);
        EXPECT_EQ(data[70], 0xFF - (c.currentShown - 1));
    }
}

TEST_F(PagesTest, ErasedProfileShowsTheTemplateFunctions) {
    images.profile.bytes.fill(0xFF);
    show(1);
    EXPECT_EQ(buttons.codeText(7), "040820");
    EXPECT_EQ(buttons.caption(9), "Home");
    EXPECT_EQ(buttons.repeatText(), "4");
    EXPECT_EQ(buttons.delayText(), "32");
}

TEST_F(PagesTest, ActiveLevelEightIsStoredAsSevenAndF8) {
    show(1);
    sensitivity.loadLevelCount(8);
    ASSERT_TRUE(sensitivity.CurrentDPI_OnClick(8));
    write(1);
    EXPECT_EQ(data[69], 7);
    EXPECT_EQ(data[70], 0xF8);
}

TEST_F(PagesTest, SharedStepTextIsStoredAsTheLowerStep) {
    show(1);
    ASSERT_TRUE(sensitivity.stepClicked(2, 6));
    EXPECT_EQ(sensitivity.valueText(2), "2400");
    write(1);
    EXPECT_EQ(data[10], 4);
}

TEST_F(PagesTest, LevelsOutOfUseAreStoredAsZeroAndCountFollows) {
    show(1);
    ASSERT_TRUE(sensitivity.DPILevel_OnClick(4));
    write(1);
    EXPECT_EQ(data[1], 3);
    EXPECT_EQ(data[12], 0);
}

TEST_F(PagesTest, EighthColourIsStoredAsSevenWhateverItShows) {
    show(1);
    sensitivity.setColorText(8, "3");
    sensitivity.setColorText(7, "2");
    write(1);
    EXPECT_EQ(data[26], 2);
    EXPECT_EQ(data[27], 7);
}

TEST_F(PagesTest, ConfigFlagBitsNoChoiceOwnsSurviveAndTheTypeBitNeverChanges) {
    // Bits 1, 2, 5 and 7 belong to no choice.
    constexpr std::uint8_t kCarried = 0xA6;
    for (std::uint8_t flags : {0x00, 0xA6, 0xFF, 0x04, 0xA2, 0x0C, 0x1C, 0xFB}) {
        for (int mode = 1; mode <= 5; ++mode) {
            images.paramV1.bytes[0] = flags;
            setChecksum(images.paramV1.used(), 37);
            show(1);
            light.LEDNTMode_OnClick(mode);
            light.LEDColorMode_OnClick(mode);
            light.LEDColorBre_OnClick(mode);
            light.lbl_MCPIOnClick(mode % 2 == 0);
            write(1);
            EXPECT_EQ(data[0] & kCarried, flags & kCarried) << int(flags) << "/" << mode;
            EXPECT_EQ(data[0] & 0x01, mode % 2 == 0 ? 0 : 1) << int(flags) << "/" << mode;
        }
    }
}

TEST_F(PagesTest, LightChoicesRoundTripThroughTheImage) {
    struct Case {
        std::uint8_t flags;
        int mode;
        bool effectOn;
        std::uint8_t ledMode;
        std::uint8_t flagsAfter;
    };
    const Case cases[] = {
        {0x00, 4, true, 0x83, 0x00},  {0x00, 1, false, 0x01, 0x40}, {0x40, 2, false, 0x01, 0x00},
        {0x0C, 1, false, 0x04, 0x0C}, {0x0C, 2, false, 0x10, 0x0C}, {0x1C, 2, false, 0x05, 0x04},
        {0x14, 3, false, 0x06, 0x1C}, {0x1C, 4, true, 0x90, 0x1C},
    };
    for (const Case& c : cases) {
        images.paramV1.bytes[0] = c.flags;
        setChecksum(images.paramV1.used(), 37);
        show(1);
        const LightControlSet set = light.controlSet();
        light.LEDNTMode_OnClick(c.mode);
        light.LEDColorMode_OnClick(c.mode);
        light.LEDColorBre_OnClick(c.mode);
        light.lbl_LEDKeyOnClick(c.effectOn);
        write(1);
        EXPECT_EQ(data[71], c.ledMode) << int(c.flags) << "/" << c.mode;
        EXPECT_EQ(data[72], 255 - c.ledMode);
        EXPECT_EQ(data[0] & 0x5D, c.flagsAfter) << int(c.flags) << "/" << c.mode;

        copyDataBufToImages(data, 1, images);
        show(1);
        EXPECT_EQ(light.controlSet(), set) << "the next load offers the same group";
        const int shown = set == LightControlSet::NT           ? light.ntMode()
                          : set == LightControlSet::ColorModes ? light.colorMode()
                                                               : light.colorBre();
        EXPECT_EQ(shown, c.mode) << int(c.flags) << "/" << c.mode;
    }
}

TEST_F(PagesTest, EmptyOrUnreadableFieldsAreWrittenAsTheirExitValues) {
    show(1);
    sensitivity.setColorText(1, "");
    sensitivity.setColorText(2, "abc");
    light.setTimeText(TimeField::NTMode2Hold, "");
    light.setTimeText(TimeField::NTMode3Count, "1x");
    light.setTimeText(TimeField::LightTime, "");
    light.setTimeText(TimeField::FallTime, "9999");
    buttons.setRepeatText("");
    buttons.setDelayText("?");
    write(1);
    EXPECT_EQ(data[20], 0);
    EXPECT_EQ(data[21], 0);
    EXPECT_EQ(data[34], 50);
    EXPECT_EQ(data[35], 16);
    EXPECT_EQ(data[30], 0);
    EXPECT_EQ(data[31], 255);
    EXPECT_EQ(buttonCodeAt(data, 7), (ButtonCode{0x04, 0x04, 0x02}));
    EXPECT_EQ(blockChecksum(sectionA()), data[37]);

    EXPECT_EQ(sensitivity.colorText(2), "0") << "the fields show what was written";
    EXPECT_EQ(light.timeText(TimeField::NTMode3Count), "16");
    EXPECT_EQ(buttons.repeatText(), "2");
    EXPECT_EQ(buttons.delayText(), "2");
}

TEST_F(PagesTest, FireKeyButtonsShareTheFieldsAndReadThemBack) {
    show(1);
    const ButtonCode fire{0x04, 0x00, 0x00};
    setButtonCode(data, 2, fire);
    buttons.setCodeText(2, codeText(fire));
    buttons.setRepeatText("5");
    buttons.setDelayText("40");
    write(1);
    EXPECT_EQ(buttonCodeAt(data, 2), (ButtonCode{0x04, 0x0A, 0x28}));
    EXPECT_EQ(buttonCodeAt(data, 7), (ButtonCode{0x04, 0x0A, 0x28}));
    EXPECT_EQ(buttons.codeText(2), "040A28");

    copyDataBufToImages(data, 1, images);
    buttons.setRepeatText("9");
    buttons.setDelayText("9");
    show(1);
    EXPECT_EQ(buttons.repeatText(), "5");
    EXPECT_EQ(buttons.delayText(), "40");
}

TEST_F(PagesTest, OddRepeatByteIsShownHalvedAndWrittenEven) {
    images.profile.bytes[19] = 0x07;
    setChecksum(images.profile.used(), 27);
    show(1);
    EXPECT_EQ(buttons.repeatText(), "3");
    write(1);
    EXPECT_EQ(data[76 + 19], 0x06);
}

TEST_F(PagesTest, WithoutFireKeyButtonsTheFieldsKeepTheirTexts) {
    images.profile.bytes[18] = 0x05;  // button 7 becomes DPI
    setChecksum(images.profile.used(), 27);
    buttons.setRepeatText("9");
    show(1);
    EXPECT_EQ(buttons.repeatText(), "9");
    EXPECT_EQ(buttons.delayText(), "16");
}

TEST_F(PagesTest, OnlyFireKeyCodesTakeTheFireKeyFields) {
    // A macro named like the fire key, and a language without the fire key text, leave other
    // buttons as they are.
    naming.macroNameAt = [](std::uint16_t) { return std::optional<std::string>("Fire Key"); };
    images.profile.bytes[0] = 0x06;
    images.profile.bytes[1] = 0x02;
    images.profile.bytes[2] = 0x10;
    images.profile.bytes[3] = 0x0A;  // no name: class 0A
    setChecksum(images.profile.used(), 27);
    show(1);
    EXPECT_EQ(buttons.caption(1), "Fire Key");
    EXPECT_EQ(buttons.repeatText(), "2") << "read from button 7, not from the macro";

    naming.texts = test::lookupIn({});
    buttons.setRepeatText("5");
    write(1);
    EXPECT_EQ(buttonCodeAt(data, 1), (ButtonCode{0x06, 0x02, 0x10}));
    EXPECT_EQ(buttonCodeAt(data, 2), (ButtonCode{0x0A, 0x04, 0x00}));
    EXPECT_EQ(buttonCodeAt(data, 7), (ButtonCode{0x04, 0x0A, 0x20}));
}

// The shown page draws the names, so they are rebuilt before it is shown: otherwise the labels
// keep the names of what was loaded before.
TEST_F(PagesTest, WindowShowsPageOneAfterTheFireKeyFieldsAndTheCaptions) {
    int calls = 0;
    DataBufToUI(images, 1, data, pages(), naming, [&] {
        ++calls;
        EXPECT_EQ(buttons.delayText(), "32");
        EXPECT_EQ(buttons.caption(1), "Left Key");
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(buttons.caption(1), "Left Key");
}

}  // namespace
}  // namespace kvr
