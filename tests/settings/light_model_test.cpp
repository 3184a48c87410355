#include "settings/light_model.h"

#include <gtest/gtest.h>

#include <string>

namespace kvr {
namespace {

constexpr std::uint8_t kNT = 0x00;
constexpr std::uint8_t kColor = 0x04;
constexpr std::uint8_t kSync = 0x08;
constexpr std::uint8_t kBre = 0x10;
constexpr std::uint8_t kSeven = 0x40;

TEST(LightModel, LoadPicksTheControlSetAndModeFromFlagsAndModeByte) {
    struct Case {
        std::uint8_t flags, ledMode;
        LightControlSet set;
        int mode;  // in the group of the set
    };
    const Case cases[] = {
        {kNT | kSeven, 0x01, LightControlSet::NT, 1},
        {kNT, 0x01, LightControlSet::NT, 2},
        {kNT, 0x02, LightControlSet::NT, 3},
        {kNT, 0x83, LightControlSet::NT, 4},
        {kNT, 0x10, LightControlSet::NT, 5},
        {kNT, 0x13, LightControlSet::NT, 5},
        {kColor | kSync, 0x04, LightControlSet::ColorModes, 1},
        {kColor | kSync, 0x14, LightControlSet::ColorModes, 2},
        {kColor | kBre, 0x06, LightControlSet::Breathing, 1},
        {kColor, 0x05, LightControlSet::Breathing, 2},
        {kColor | kSync | kBre, 0x06, LightControlSet::Breathing, 3},
        {kColor | kBre, 0x10, LightControlSet::Breathing, 4},
    };
    for (const Case& c : cases) {
        LightModel model;
        model.loadConfigFlags(c.flags, 1);
        model.loadLedMode(c.ledMode);
        EXPECT_EQ(model.controlSet(), c.set) << int(c.flags) << "/" << int(c.ledMode);
        const int mode = c.set == LightControlSet::NT           ? model.ntMode()
                         : c.set == LightControlSet::ColorModes ? model.colorMode()
                                                                : model.colorBre();
        EXPECT_EQ(mode, c.mode) << int(c.flags) << "/" << int(c.ledMode);
    }
}

TEST(LightModel, SwitchesAndWordsFollowTheirBits) {
    LightModel model;
    EXPECT_EQ(model.controlSet(), LightControlSet::None) << "nothing loaded yet";
    model.loadConfigFlags(0xFF, 1);
    model.loadLedMode(0x80);
    EXPECT_EQ(model.mcpi(), OnOff::Off);
    EXPECT_EQ(model.buttonEffect(), OnOff::On);
    EXPECT_EQ(model.words().type, "Color");
    EXPECT_EQ(model.words().sync, "Sync");
    EXPECT_EQ(model.words().breathing, "Bre");
    EXPECT_EQ(model.words().colorCount, "7Color");
    model.loadConfigFlags(0x00, 1);
    model.loadLedMode(0x00);
    EXPECT_EQ(model.mcpi(), OnOff::On);
    EXPECT_EQ(model.buttonEffect(), OnOff::Off);
    EXPECT_EQ(model.words().type, "NT");
    EXPECT_EQ(model.words().colorCount, "CPI");
}

TEST(LightModel, ModeByteWithoutAnNTModeKeepsTheChoice) {
    LightModel model;
    model.loadConfigFlags(kNT, 1);
    model.loadLedMode(0x03);
    model.loadLedMode(0x07);
    EXPECT_EQ(model.ntMode(), 4);
}

TEST(LightModel, EncodesTheChosenModeOfTheOfferedGroup) {
    struct Case {
        std::uint8_t flags;
        int mode;
        bool effectOn;
        LedModeEncoding want;
    };
    const Case cases[] = {
        {kNT, 1, false, {0x01, kSeven, 0}},
        {kNT, 2, false, {0x01, 0, kSeven}},
        {kNT, 4, true, {0x83, 0, 0}},
        {kNT, 5, false, {0x10, 0, 0}},
        {kColor | kSync, 1, false, {0x04, 0, 0}},
        {kColor | kSync, 2, true, {0x90, 0, 0}},
        {kColor, 1, false, {0x06, kBre, kSync}},
        {kColor, 2, false, {0x05, 0, kSync | kBre}},
        {kColor, 3, false, {0x06, kSync | kBre, 0}},
        {kColor, 4, false, {0x10, 0, 0}},
    };
    for (const Case& c : cases) {
        LightModel model;
        model.loadConfigFlags(c.flags, 1);
        model.LEDNTMode_OnClick(c.mode);
        model.LEDColorMode_OnClick(c.mode);
        model.LEDColorBre_OnClick(c.mode);
        model.lbl_LEDKeyOnClick(c.effectOn);
        const LedModeEncoding got = model.encodeLedMode();
        EXPECT_EQ(got.ledMode, c.want.ledMode) << int(c.flags) << "/" << c.mode;
        EXPECT_EQ(got.setFlags, c.want.setFlags) << int(c.flags) << "/" << c.mode;
        EXPECT_EQ(got.clearFlags, c.want.clearFlags) << int(c.flags) << "/" << c.mode;
    }
}

TEST(LightModel, NoChoiceOrNoLoadedTypeEncodesOnlyTheButtonEffect) {
    LightModel model;
    model.lbl_LEDKeyOnClick(true);
    model.LEDNTMode_OnClick(3);
    EXPECT_EQ(model.encodeLedMode().ledMode, 0x80) << "no type loaded: no group counts";
    model.loadConfigFlags(kColor | kSync, 1);
    model.loadLedMode(0x80);
    model.LEDColorMode_OnClick(7);
    EXPECT_EQ(model.colorMode(), 1) << "out-of-range choice ignored";
}

TEST(LightModel, TimeFieldsExitRule) {
    struct Case {
        TimeField field;
        std::string typed, after;
    };
    const Case cases[] = {
        {TimeField::NTMode1Time, "", "0"},    {TimeField::NTMode2Time, "", "3"},
        {TimeField::NTMode2Hold, "", "50"},   {TimeField::NTMode3Time, "", "20"},
        {TimeField::NTMode3Count, "", "16"},  {TimeField::OffTime, "", "0"},
        {TimeField::RiseTime, "", "0"},       {TimeField::LightTime, "", "0"},
        {TimeField::FallTime, "", "0"},       {TimeField::NTMode2Hold, "x1", "50"},
        {TimeField::LightTime, "256", "255"}, {TimeField::NTMode3Count, "999", "255"},
        {TimeField::OffTime, "0", "0"},       {TimeField::OffTime, "255", "255"},
        {TimeField::RiseTime, "1", "1"},
    };
    for (const Case& c : cases) {
        LightModel model;
        model.setTimeText(c.field, c.typed);
        EXPECT_EQ(model.timeByte(c.field), std::stoi(c.after)) << c.typed;
        model.timeFieldExit(c.field);
        EXPECT_EQ(model.timeText(c.field), c.after) << c.typed;
    }
}

TEST(LightModel, ShownTimeFieldsDependOnControlSetAndVariant) {
    const auto shown = [](std::uint8_t flags, int variant) {
        LightModel model;
        model.loadConfigFlags(flags, variant);
        std::string s;
        for (std::size_t i = 0; i < kTimeFieldCount; ++i) {
            s += model.timeFieldShown(static_cast<TimeField>(i)) ? '1' : '0';
        }
        return s;
    };
    EXPECT_EQ(shown(kNT, 1), "111110000");
    EXPECT_EQ(shown(kNT, 2), "100000000");
    EXPECT_EQ(shown(kColor | kSync, 1), "000000000");
    EXPECT_EQ(shown(kColor | kBre, 2), "000001111");
}

}  // namespace
}  // namespace kvr
