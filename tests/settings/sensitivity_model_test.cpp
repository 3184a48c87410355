#include "settings/sensitivity_model.h"

#include <gtest/gtest.h>

#include <string>

#include "support/english_texts.h"

namespace kvr {
namespace {

SensitivityModel modelWithLevels(int count, int current) {
    SensitivityModel model(test::englishLookup());
    model.loadLevelCount(static_cast<std::uint8_t>(count));
    model.loadCurrentLevel(static_cast<std::uint8_t>(current - 1));
    return model;
}

TEST(SensitivityModel, StartsWithAllEightLevelsInUseAndColourTextsZeroToSeven) {
    const SensitivityModel model(test::englishLookup());
    EXPECT_EQ(model.levelsInUse(), 8);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_TRUE(model.inUse(n));
        EXPECT_EQ(model.colorText(n), std::to_string(n - 1));
    }
}

TEST(SensitivityModel, LevelLabelClicksOnlyGrowOrShrinkTheTopOfTheRun) {
    struct Case {
        int count, current, click;
        bool changed;
        int countAfter, currentAfter;
    };
    const Case cases[] = {
        {4, 1, 6, false, 4, 1},  // above a gap
        {4, 1, 5, true, 5, 1},   // next one up
        {4, 1, 3, false, 4, 1},  // below the highest in use
        {4, 1, 4, true, 3, 1},   // the highest in use
        {4, 4, 4, true, 3, 3},   // the current level leaves: the one below takes over
        {1, 1, 1, false, 1, 1},  // the last level in use stays
        {8, 8, 8, true, 7, 7},  {7, 2, 8, true, 8, 2},
        {4, 1, 0, false, 4, 1}, {4, 1, 9, false, 4, 1},
    };
    for (const Case& c : cases) {
        SensitivityModel model = modelWithLevels(c.count, c.current);
        EXPECT_EQ(model.DPILevel_OnClick(c.click), c.changed) << c.count << "/" << c.click;
        EXPECT_EQ(model.levelsInUse(), c.countAfter) << c.count << "/" << c.click;
        EXPECT_EQ(model.currentLevel(), c.currentAfter) << c.count << "/" << c.click;
        for (int n = 1; n <= 8; ++n) EXPECT_EQ(model.inUse(n), n <= c.countAfter);
    }
}

TEST(SensitivityModel, LevelTakenOutOfUseTakesNoClicksUntilBackInUse) {
    SensitivityModel model = modelWithLevels(4, 1);
    ASSERT_TRUE(model.DPILevel_OnClick(4));
    EXPECT_FALSE(model.controlsEnabled(4));
    EXPECT_FALSE(model.CurrentDPI_OnClick(4));
    EXPECT_FALSE(model.stepClicked(4, 3));
    EXPECT_EQ(model.currentLevel(), 1);

    ASSERT_TRUE(model.DPILevel_OnClick(4));
    EXPECT_TRUE(model.CurrentDPI_OnClick(4));
    EXPECT_TRUE(model.stepClicked(4, 3));
    EXPECT_EQ(model.currentLevel(), 4);
    EXPECT_EQ(model.valueText(4), "1600");
    EXPECT_EQ(model.litSegments(4), 3);
}

TEST(SensitivityModel, LevelsLoadedOutOfUseCannotBecomeCurrent) {
    SensitivityModel model = modelWithLevels(4, 2);
    EXPECT_FALSE(model.controlsEnabled(5));
    EXPECT_FALSE(model.CurrentDPI_OnClick(6));
    EXPECT_FALSE(model.stepClicked(8, 2));
    EXPECT_EQ(model.currentLevel(), 2);
    ASSERT_TRUE(model.DPILevel_OnClick(5));
    EXPECT_TRUE(model.CurrentDPI_OnClick(5));
}

TEST(SensitivityModel, LoadingBringsStoredValuesIntoRange) {
    SensitivityModel model(test::englishLookup());
    model.stepClicked(2, 5);
    model.loadLevelValue(1, 7);
    model.loadLevelValue(2, 255);  // not set: first step text, segments as they were
    model.loadLevelValue(3, 0);
    model.loadLevelValue(4, 8);  // beyond the last step: the last step
    EXPECT_EQ(model.valueText(1), "4000");
    EXPECT_EQ(model.litSegments(1), 8);
    EXPECT_EQ(model.valueText(2), "500");
    EXPECT_EQ(model.litSegments(2), 5);
    EXPECT_EQ(model.valueText(3), "500");
    EXPECT_EQ(model.litSegments(3), 1);
    EXPECT_EQ(model.valueText(4), "4000");
    EXPECT_EQ(model.litSegments(4), 8);

    for (auto [stored, count] : {std::pair{0, 1}, {1, 1}, {8, 8}, {9, 8}, {255, 8}}) {
        model.loadLevelCount(static_cast<std::uint8_t>(stored));
        EXPECT_EQ(model.levelsInUse(), count) << stored;
        EXPECT_TRUE(model.inUse(1));
    }
    for (auto [stored, level] : {std::pair{0, 1}, {7, 8}, {8, 8}, {200, 8}}) {
        model.loadCurrentLevel(static_cast<std::uint8_t>(stored));
        EXPECT_EQ(model.currentLevel(), level) << stored;
    }
    // The current level is one the mouse steps through, whichever of the two is loaded first.
    model.loadLevelCount(3);
    EXPECT_EQ(model.currentLevel(), 3);
    model.loadCurrentLevel(5);
    EXPECT_EQ(model.currentLevel(), 3);
    model.loadCurrentLevel(1);
    EXPECT_EQ(model.currentLevel(), 2);
}

TEST(SensitivityModel, ValueTextIsStoredAsTheFirstStepWithThatText) {
    const auto third = test::lookupIn({{"Str300", "500"},
                                       {"Str301", "800"},
                                       {"Str302", "1000"},
                                       {"Str303", "1200"},
                                       {"Str304", "1600"},
                                       {"Str305", "2000"},
                                       {"Str306", "2400"},
                                       {"Str307", "3200"}});
    struct Case {
        TextLookup texts;
        int step;
        std::uint8_t stored;
    };
    const Case cases[] = {{test::englishLookup(), 6, 4},
                          {test::englishLookup(), 5, 4},
                          {test::englishLookup(), 8, 7},
                          {third, 6, 5},
                          {third, 7, 6}};
    for (const Case& c : cases) {
        SensitivityModel model(c.texts);
        model.stepClicked(2, c.step);
        EXPECT_EQ(model.levelValueByte(2, 0xEE), c.stored) << c.step;
    }

    SensitivityModel model(test::englishLookup());
    EXPECT_EQ(model.levelValueByte(1, 0xEE), 0xEE) << "no text equals an empty value text";
    model.stepClicked(2, 7);
    model.loadLevelCount(1);
    EXPECT_EQ(model.levelValueByte(2, 0xEE), 0) << "levels not in use are stored as 0";
}

TEST(SensitivityModel, ColourFieldExitRule) {
    struct Case {
        std::string typed, after;
        std::uint8_t stored;
    };
    const Case cases[] = {{"", "0", 0},  {"9", "6", 6},   {"6", "6", 6},
                          {"0", "0", 0}, {"3", "3", 3},   {"05", "05", 5},
                          {"x", "0", 0}, {"256", "6", 6}, {" 4 ", "4", 4}};
    for (const Case& c : cases) {
        SensitivityModel model(test::englishLookup());
        model.setColorText(1, c.typed);
        EXPECT_EQ(model.colorByte(1), c.stored) << c.typed;
        model.RefreshCPIColorValue(1);
        EXPECT_EQ(model.colorText(1), c.after) << c.typed;
    }
}

TEST(SensitivityModel, EighthColourIsAlwaysSeven) {
    SensitivityModel model(test::englishLookup());
    for (std::string text : {"3", "", "0", "abc"}) {
        model.setColorText(8, text);
        EXPECT_EQ(model.colorByte(8), 7) << text;
    }
}

}  // namespace
}  // namespace kvr
