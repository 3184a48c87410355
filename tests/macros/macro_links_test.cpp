// Buttons and device macros linked by caption: a macro chosen for a button, and the buttons that
// follow their macros, or fall back, when one is deleted.
#include "macros/macro_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/english_texts.h"

namespace kvr {
namespace {

class MacroLinksTest : public testing::Test {
protected:
    // Three empty macros of 33 bytes each: Alpha at 528, Beta at 561, Gamma at 594.
    void SetUp() override {
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            ASSERT_EQ(table.add(MacroNameStrToUnicode(name), emptyMacroContent(), area),
                      AddMacroResult::Added);
        ASSERT_EQ(table.address(2), 594);
        for (int n = 1; n <= 9; ++n) {
            buttons.storeCode(n, "010100", data);
            buttons.setCaption(n, "Left Key");
        }
    }
    void setButton(int n, const std::string& caption, const std::string& code) {
        buttons.setCaption(n, caption);
        buttons.storeCode(n, code, data);
    }
    std::string bytes(int button) const { return codeText(buttonCodeAt(data, button)); }

    std::array<std::uint8_t, kDeviceMacroAreaSize> area{};
    DeviceMacroTable table;
    ButtonModel buttons;
    DataBuf data{};
};

TEST_F(MacroLinksTest, AChosenMacroRunsFromItsAddressOnlyWhileTheMouseKeepsMacros) {
    buttons.selectButton(4);
    LB_NameClick(buttons, data, table, 1, true);
    EXPECT_EQ(buttons.caption(4), "Beta");
    EXPECT_EQ(buttons.codeText(4), "060231");
    EXPECT_EQ(bytes(4), "060231");

    buttons.selectButton(5);
    LB_NameClick(buttons, data, table, 0, false);
    EXPECT_EQ(buttons.caption(5), "Alpha");
    EXPECT_EQ(buttons.codeText(5), "010100") << "no macro memory: the code stays";
    EXPECT_EQ(bytes(5), "010100");

    LB_NameClick(buttons, data, table, 3, true);  // no macro in slot 3
    EXPECT_EQ(buttons.caption(5), "Alpha");
    EXPECT_EQ(buttons.codeText(5), "010100");
}

TEST_F(MacroLinksTest, ADeletionMovesTheButtonsNamingALaterMacroAndLinksByCaptionOnly) {
    setButton(7, "Alpha", "060210");
    setButton(8, "Gamma", "060252");
    // Button 2 names a macro whatever its code; button 3's code points at Beta, but its caption
    // names no macro.
    setButton(2, "Beta", "010400");
    setButton(3, "Right Key", "060231");
    buttons.setRepeatText("3");
    buttons.setDelayText("9");

    MacroLinkMarks marks = InitKeysParameters(buttons, table);
    EXPECT_EQ(marks, (MacroLinkMarks{false, true, false, false, false, false, true, true, false}));

    ASSERT_TRUE(table.remove(0, area));
    RefreshKeysParameters(marks, buttons, data, table, test::englishLookup());

    EXPECT_EQ(marks, MacroLinkMarks{});
    EXPECT_EQ(buttons.caption(7), "Fire Key") << "its macro is gone";
    EXPECT_EQ(bytes(7), "040609");
    EXPECT_EQ(buttons.caption(8), "Gamma");
    EXPECT_EQ(bytes(8), "060231");
    EXPECT_EQ(buttons.codeText(8), "060231");
    EXPECT_EQ(bytes(2), "060210");
    EXPECT_EQ(bytes(3), "060231") << "not linked by its caption";
    EXPECT_EQ(buttons.caption(3), "Right Key");
}

}  // namespace
}  // namespace kvr
