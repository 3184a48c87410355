#include "base/layout_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/resources.h"
#include "layout_fake.h"

namespace kvr {
namespace {

using test::RecordingWindow;
using test::Rect;

LayoutConfig builtIn(int n) {
    LayoutConfigResult loaded = LayoutConfig::load(n);
    EXPECT_TRUE(loaded.config) << loaded.error;
    return std::move(*loaded.config);
}

// The built-in table of layout 1 with some of its lines changed.
LayoutConfig changedLayout1(const std::vector<std::pair<std::string, std::string>>& changes) {
    const auto bytes = findResource("org1");
    std::string text(bytes->begin(), bytes->end());
    for (const auto& [from, to] : changes) {
        const std::size_t at = text.find(from + "\r\n");
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size() + 2, to.empty() ? "" : to + "\r\n");
    }
    return LayoutConfig::fromBytes(
        std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()), 1);
}

class LayoutApply : public ::testing::Test {
protected:
    ApplyResult apply(int layout) { return applyLayoutTable(builtIn(layout), window, values); }

    RecordingWindow window;
    LayoutValues values;
};

TEST_F(LayoutApply, PlacesControlsOfEachLayout) {
    struct Case {
        const char* control;
        int left[3];  // layouts 1, 2, 3
        int top[3];
    };
    const Case cases[] = {
        {"Key1", {135, 135, 144}, {166, 166, 184}},
        {"Img_Key1", {135, 135, 144}, {166, 166, 184}},
        {"Key6", {524, 524, 560}, {238, 238, 254}},
        {"Img_P1", {174, 174, 174}, {131, 131, 131}},
        {"Img_Confirm_1", {590, 590, 590}, {49, 49, 49}},
        {"Img_Main_3", {50, 50, 50}, {497, 497, 497}},
        {"Img_Lang2_4", {137, 137, 137}, {530, 530, 530}},
        // Layouts 1 and 2 keep two light options and the four times beyond the window.
        {"Img_LEDColorBre1", {158, 152, 164}, {244, 244, 244}},
        {"lbl_LEDColorBre1", {154, 148, 160}, {242, 242, 242}},
        {"Img_LEDColorBre2", {246, 246, 294}, {244, 244, 244}},
        {"Img_LEDColorBre3", {2446, 2446, 446}, {2244, 2244, 244}},
        {"lbl_LEDColorBre4", {2554, 2554, 554}, {2242, 2242, 242}},
        {"edt_OffTime", {2326, 2326, 326}, {2296, 2296, 296}},
        {"edt_FallTime", {2326, 2326, 326}, {2370, 2370, 370}},
        {"Img_LEDNTMode5", {572, 572, 572}, {244, 244, 244}},
        {"edt_LEDNTMode2Hold", {358, 358, 358}, {331, 331, 331}},
        // Scale segments follow the width of the row's first picture (24 and 19 pixels).
        {"Img_Spd3", {192, 192, 192}, {264, 264, 264}},
        {"lbl_Spd3", {188, 188, 188}, {272, 272, 272}},
        {"lbl_ScrSpd10", {356, 356, 356}, {434, 434, 434}},
        {"Img_DPI3_4", {603, 603, 603}, {266, 266, 266}},
        {"Edt_CPI8Color", {750, 750, 750}, {432, 432, 432}},
        {"lbl_DPI8Value", {502, 502, 502}, {432, 432, 432}},
        {"Edt_DelayTime1", {254, 254, 254}, {192, 192, 192}},
        {"LED_DelayTime", {20, 20, 20}, {59, 59, 59}},
        {"IB_NoDelay", {18, 18, 18}, {82, 82, 82}},
        {"IB_InsertNoDelay", {18, 18, 18}, {80, 80, 80}},
        {"Img_InsertBase", {300, 300, 300}, {312, 312, 312}},
        {"Gb_Insert", {300, 300, 300}, {312, 312, 312}},
        {"lbl_Delay", {62, 62, 62}, {57, 57, 57}},
        {"lbl_s_A", {180, 180, 180}, {57, 57, 57}},
        {"Img_Cancel", {156, 156, 156}, {126, 126, 126}},
    };
    for (int layout = 1; layout <= 3; ++layout) {
        RecordingWindow fresh;
        ASSERT_TRUE(applyLayoutTable(builtIn(layout), fresh, values).ok());
        for (const Case& c : cases) {
            EXPECT_EQ(fresh.at(c.control).position(),
                      std::pair(c.left[layout - 1], c.top[layout - 1]))
                << c.control << " in layout " << layout;
        }
    }
}

TEST_F(LayoutApply, CaptionLabelsLieOverTheirPictures) {
    ASSERT_TRUE(apply(1).ok());
    EXPECT_EQ(window.at("Btn_Confirm_4").geometry(), Rect(590, 49, 48, 43));
    // Trapezoid pictures keep their captions 12 pixels in from either edge.
    EXPECT_EQ(window.at("Btn_Main_3").geometry(), Rect(62, 497, 90 - 24, 30));
    EXPECT_EQ(window.at("Btn_Lang1_2").geometry(), Rect(62, 530, 66, 30));
    EXPECT_EQ(window.at("Key2").geometry(), Rect(524, 192, 135, 27));
    EXPECT_EQ(window.at("Btn_Start").geometry(), Rect(142, 422, 80, 25));
    EXPECT_EQ(window.at("Btn_OK").geometry(), Rect(110, 126, 40, 25));
    EXPECT_EQ(window.at("Disable").geometry(), Rect(86, 104, 587, 378));
}

TEST_F(LayoutApply, ShowsOnlyEnabledItemsAndSkipsHiddenPositions) {
    struct Case {
        const char* control;
        bool shown[3];  // layouts 1, 2, 3
    };
    const Case cases[] = {
        {"Btn_Lang3_1", {false, false, true}}, {"Img_Lang3_1", {false, false, true}},
        {"Btn_Lang3_4", {false, false, true}}, {"Img_Lang3_4", {false, false, true}},
        {"Btn_Lang2_3", {true, true, true}},   {"Btn_Exit_2", {true, true, true}},
        {"Key6", {true, true, true}},          {"Key7", {false, false, true}},
        {"Img_Key7", {false, false, true}},    {"Key9", {false, false, false}},
    };
    for (int layout = 1; layout <= 3; ++layout) {
        RecordingWindow fresh;
        ASSERT_TRUE(applyLayoutTable(builtIn(layout), fresh, values).ok());
        for (const Case& c : cases) {
            const bool shown = c.shown[layout - 1];
            EXPECT_EQ(fresh.at(c.control).visible, shown) << c.control << " in layout " << layout;
            EXPECT_EQ(fresh.at(c.control).position().has_value(), shown)
                << c.control << " in layout " << layout;
        }
    }
}

TEST_F(LayoutApply, KeepsPositionOfAnItemTheNextLayoutHides) {
    ASSERT_TRUE(apply(3).ok());
    ASSERT_TRUE(apply(1).ok());
    EXPECT_EQ(window.at("Btn_Lang3_2").visible, false);
    EXPECT_EQ(window.at("Btn_Lang3_2").position(), std::pair(236, 530));
    EXPECT_EQ(window.at("Key7").position(), std::pair(560, 288));
}

TEST_F(LayoutApply, SetsFontsColoursAndStoredValues) {
    ASSERT_TRUE(apply(1).ok());
    const Colour white = colourOf(255, 255, 255);
    const Colour green = colourOf(0, 128, 0);
    const Colour black = colourOf(0, 0, 0);
    const Colour grey = colourOf(113, 111, 100);

    EXPECT_EQ(window.at("Btn_Reset_3").fontSize, 9);
    EXPECT_EQ(window.at("Btn_Lang3_1").fontSize, 11);  // fonts apply to hidden controls too
    EXPECT_EQ(window.at("Key8").fontSize, 11);
    EXPECT_EQ(window.at("Key8").fontColour, white);
    EXPECT_EQ(window.at("lbl_DPI4").fontSize, 10);
    EXPECT_EQ(window.at("lbl_DPI4Value").fontSize, 9);
    EXPECT_EQ(window.at("lbl_DPI5").fontSize, std::nullopt);
    EXPECT_EQ(window.at("lbl_DPI5Value").fontColour, std::nullopt);
    EXPECT_EQ(window.at("lbl_DbSpd7").fontColour, white);
    EXPECT_EQ(window.at("Edt_Repeat1").backColour, grey);
    EXPECT_EQ(window.at("Edt_Repeat1").borderColour, grey);
    EXPECT_EQ(window.at("edt_LEDNTMode3Time").fontColour, white);
    EXPECT_EQ(window.at("edt_LEDNTMode2Hold").fontColour, std::nullopt);
    EXPECT_EQ(window.at("CB_Insert").fontSize, 8);
    EXPECT_EQ(window.at("CB_Insert").fontColour, white);
    EXPECT_EQ(window.at("LB_macro").fontSize, std::nullopt);
    EXPECT_EQ(window.at("LB_macro").fontColour, green);
    EXPECT_EQ(window.at("Btn_DelPCMacro").backColour, black);
    EXPECT_EQ(window.at("Edt_InsertDelay").borderColour, black);
    EXPECT_EQ(window.at("Btn_Start").fontColour, white);

    EXPECT_EQ(values.ButtonSpaceFront, 12);
    EXPECT_EQ(values.ButtonSpaceBack, 12);
    EXPECT_EQ(values.DpiSelectedColor, colourOf(255, 0, 0));
    EXPECT_EQ(values.DpiNormalColor, white);
    EXPECT_EQ(values.MacroTextColor, white);
    EXPECT_EQ(values.MacroListTextColor, green);
    EXPECT_EQ(values.MacroListBackColor, black);
    EXPECT_EQ(values.MacroNameHeight, 20);
}

TEST_F(LayoutApply, StopsAtAMissingOrBadKeyAndKeepsWhatItDid) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> changes;
        const char* failedKey;  // empty when the apply succeeds
    };
    const Case cases[] = {
        {"hidden item without position", {{"Key8_X=169", ""}, {"Key8_Y=390", ""}}, ""},
        {"enable of 2 hides", {{"Btn_A2_Enable=1", "Btn_A2_Enable=2"}, {"Btn_A2_X=640", ""}}, ""},
        {"shown item without position",
         {{"Key8_Enable=0", "Key8_Enable=1"}, {"Key8_X=169", ""}},
         "Key8_X"},
        {"word for a number", {{"Size_F=9", "Size_F=nine"}}, "Size_F"},
        {"missing colour part", {{"Color_D_Back_G=111", ""}}, "Color_D_Back_G"},
        {"missing enable", {{"Btn_B10_Enable=0", ""}}, "Btn_B10_Enable"},
    };
    for (const Case& c : cases) {
        RecordingWindow fresh;
        LayoutValues kept;
        kept.MacroNameHeight = 77;
        const ApplyResult r = applyLayoutTable(changedLayout1(c.changes), fresh, kept);
        EXPECT_EQ(r.failedKey, c.failedKey) << c.what;
        EXPECT_EQ(r.ok(), std::string(c.failedKey).empty()) << c.what;
        if (!r.ok()) {
            EXPECT_NE(r.error.find(c.failedKey), std::string::npos) << r.error;
            EXPECT_NE(r.error.find("org1"), std::string::npos) << r.error;
            // Controls after the failing key are untouched, stored values too.
            EXPECT_EQ(fresh.at("Btn_Cancel").position(), std::nullopt) << c.what;
            EXPECT_EQ(kept.MacroNameHeight, 77) << c.what;
        }
    }

    RecordingWindow window;
    LayoutValues kept;
    ASSERT_FALSE(
        applyLayoutTable(changedLayout1({{"Key8_Enable=0", "Key8_Enable=1"}, {"Key8_X=169", ""}}),
                         window, kept)
            .ok());
    EXPECT_EQ(window.at("Key6").position(), std::pair(524, 238));
    EXPECT_EQ(window.at("Key8").visible, true);
    EXPECT_EQ(window.at("Img_Key8").position(), std::nullopt);
    EXPECT_EQ(window.at("Disable").geometry(), std::nullopt);
    EXPECT_EQ(window.at("lbl_Spd1").fontSize, std::nullopt);
    EXPECT_EQ(kept.ButtonSpaceFront, 12);

    RecordingWindow hidden;
    ASSERT_TRUE(applyLayoutTable(
                    changedLayout1({{"Btn_A2_Enable=1", "Btn_A2_Enable=2"}, {"Btn_A2_X=640", ""}}),
                    hidden, kept)
                    .ok());
    EXPECT_EQ(hidden.at("Btn_Apply_3").visible, false);
    EXPECT_EQ(hidden.at("Img_Apply_1").visible, false);
}

TEST_F(LayoutApply, NarrowPictureLeavesTheCaptionNoWidth) {
    RecordingWindow narrow;
    for (int p = 1; p <= 4; ++p) narrow.loadPicture("Img_Main_" + std::to_string(p), "Tiny");
    LayoutValues kept;
    ASSERT_TRUE(applyLayoutTable(builtIn(1), narrow, kept).ok());
    EXPECT_EQ(narrow.at("Btn_Main_1").geometry(), Rect(62, 497, 0, 10));
}

}  // namespace
}  // namespace kvr
