#include "buttons/function_menu.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

TEST(FunctionMenu, MainMenuOpensAtTheLabelCentreAndTurnsAtTheEdges) {
    struct Case {
        MenuPoint centre;
        MenuPoint at;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}}, {{609, 429}, {609, 429}},  // 799 and 599: still inside
        {{610, 100}, {420, 100}},                            // reaches 800: to the left
        {{100, 430}, {100, 260}},                            // reaches 600: above
        {{700, 500}, {510, 330}},                            // the corner: both
    };
    for (const Case& c : cases)
        EXPECT_EQ(mainMenuAt(c.centre), c.at) << c.centre.x << "," << c.centre.y;
}

TEST(FunctionMenu, SubmenuOpensBesideItsEntryAndTurnsAtTheEdges) {
    const MenuRect entry{1, 49, 188, 24};  // third row of Pnl_Main
    struct Case {
        MenuRect main;
        int subHeight;
        MenuPoint at;
    };
    const Case cases[] = {
        {{100, 100, 190, 170}, 170, {289, 149}},
        // 445 + 190 + 164 = 799 stays right; 446 reaches 800 and opens left of Pnl_Main.
        {{445, 100, 190, 170}, 170, {634, 149}},
        {{446, 100, 190, 170}, 170, {446 - 164, 149}},
        // Entry top 149 + 24 + 170 reaches 600 from Pnl_Main top 357: ends at the entry's bottom.
        {{100, 356, 190, 170}, 170, {289, 405}},
        {{100, 357, 190, 170}, 170, {289, 406 + 24 - 170}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(submenuAt(c.main, entry, 164, c.subHeight), c.at)
            << c.main.left << "," << c.main.top;
}

TEST(FunctionMenu, GroupsOpenTheirSubmenusWithTheirEntriesInOrder) {
    const auto groups = menuGroups();
    ASSERT_EQ(groups.size(), 7u);
    const char* const order[] = {"Key_Standard", "Key_Special",  "Key_Media", "Key_WWW",
                                 "Key_MyPC",     "Key_Assembly", "Key_Macro"};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(groups[i].control, order[i]);

    auto controls = [](std::string_view group) {
        std::vector<std::string_view> names;
        for (const MenuEntry& e : submenuEntries(*menuGroupOf(group))) names.push_back(e.control);
        return names;
    };
    using V = std::vector<std::string_view>;
    EXPECT_EQ(controls("Key_Standard"),
              (V{"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}));
    EXPECT_EQ(controls("Key_Special"),
              (V{"Key_Fire", "Key_CPI", "Key_CPII", "Key_CPID", "Key_LEDSwitch"}));
    EXPECT_EQ(controls("Key_Media"),
              (V{"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack",
                 "Key_VolumePlus", "Key_VolumeMinus", "Key_Mute"}));
    EXPECT_EQ(controls("Key_WWW"),
              (V{"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
                 "Key_WWWRefresh", "Key_WWWFavorites"}));
    EXPECT_EQ(controls("Key_MyPC"), (V{"Key_Computer", "Key_Calculator", "Key_EMail"}));
    EXPECT_TRUE(controls("Key_Assembly").empty());
    EXPECT_EQ(menuGroupOf("Key_Macro")->panel, "LB_Name");
    EXPECT_EQ(menuGroupOfPanel("Pnl_WWW")->control, "Key_WWW");
    EXPECT_EQ(menuEntryOf("Key_VolumePlus")->entry, 1304);
    EXPECT_EQ(menuEntryOf("Key_Standard"), nullptr);
}

TEST(FunctionMenu, CaptionsCarryTheMarkAndNameTheFunctionAfterIt) {
    EXPECT_EQ(menuCaption("*", "Volume +"), " * Volume +");
    EXPECT_EQ(functionNameOf(" * Volume +"), "Volume +");
    EXPECT_EQ(functionNameOf(menuCaption("*", "Botão Esquerdo")), "Botão Esquerdo");
    // A mark of several bytes is still one character.
    EXPECT_EQ(functionNameOf(menuCaption("\u2605", "Mute")), "Mute");
    EXPECT_EQ(functionNameOf(" *"), "");
    EXPECT_EQ(functionNameOf(""), "");
}

}  // namespace
}  // namespace kvr
