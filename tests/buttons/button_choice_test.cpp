// Choices on the button page: fixed functions under the left-click rule and key combinations,
// each stored as code text and as the button's bytes in DataBuf.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/button_model.h"
#include "buttons/button_names.h"
#include "params/data_buf.h"
#include "support/english_texts.h"

namespace kvr {
namespace {

const std::array<std::string, 9> kDefaultCodes = {"010100", "010400", "010200", "010800", "011000",
                                                  "050000", "040420", "020807", "030223"};

class ButtonChoiceTest : public testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= 9; ++n) setButton(n, kDefaultCodes[size_t(n - 1)]);
        before = data;
    }
    void setButton(int n, const std::string& code) {
        model.storeCode(n, code, data);
        model.setCaption(n, CodeToDisplayName(code, naming));
    }
    bool choose(int button, int entry) {
        model.selectButton(button);
        const MenuEntry* e = nullptr;
        for (const MenuEntry& m : menuEntries())
            if (m.entry == entry) e = &m;
        return model.KeyStatusOnClick(entry, naming.texts(e->nameKey), "Left Key", data);
    }
    std::vector<std::uint8_t> bytes(int button) const {
        const ButtonCode c = buttonCodeAt(data, button);
        return {c.codeClass, c.data1, c.data2};
    }

    CodeNaming naming{test::englishLookup(), {}};
    ButtonModel model;
    DataBuf data{};
    DataBuf before{};
};

TEST_F(ButtonChoiceTest, TheLastLeftClickIsNeverChosenAway) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::string>> setup;  // buttons given a code first
        int button;
        int entry;
        bool stored;
    };
    const Case cases[] = {
        {"only left key", {}, 1, 1304, false},
        {"left key on button 2 too", {{2, "010100"}}, 1, 1304, true},
        {"hidden button 7 on left key", {{7, "010100"}}, 1, 1304, true},
        {"left key chosen for itself", {}, 1, 900, true},
        {"other button", {}, 3, 1304, true},
        {"moving the left key", {}, 3, 900, true},
    };
    for (const Case& c : cases) {
        SetUp();
        for (const auto& [n, code] : c.setup) setButton(n, code);
        const DataBuf start = data;
        const std::string oldCode = model.codeText(c.button);
        EXPECT_EQ(choose(c.button, c.entry), c.stored) << c.what;
        if (c.stored) {
            EXPECT_EQ(model.codeText(c.button), CodeForMenuEntry(c.entry, {})) << c.what;
            EXPECT_EQ(model.caption(c.button), CodeToDisplayName(model.codeText(c.button), naming));
        } else {
            EXPECT_EQ(model.caption(c.button), "Left Key") << c.what;
            EXPECT_EQ(model.codeText(c.button), oldCode) << c.what;
            EXPECT_EQ(data, start) << c.what;
        }
    }
}

TEST_F(ButtonChoiceTest, VolumePlusAndFireKeyAreStoredAsTheirBytes) {
    EXPECT_TRUE(choose(2, 1304));
    EXPECT_EQ(bytes(2), (std::vector<std::uint8_t>{0x03, 0x00, 0xE9}));
    EXPECT_EQ(model.caption(2), "Volume +");

    model.setRepeatText("5");
    model.setDelayText("40");
    EXPECT_TRUE(choose(4, 1000));
    EXPECT_EQ(bytes(4), (std::vector<std::uint8_t>{0x04, 0x0A, 0x28}));
    EXPECT_EQ(model.codeText(4), "040A28");
    // Only the chosen button changed.
    for (int n : {1, 3, 5, 6, 7, 8, 9}) EXPECT_EQ(buttonCodeAt(data, n), buttonCodeAt(before, n));
}

TEST_F(ButtonChoiceTest, ConfirmedCombinationGoesToTheButtonSelectedAtConfirm) {
    model.selectButton(3);
    model.Key_AssemblyClick();
    KeyCombination dialog;
    dialog.FormCreate();
    dialog.modifierClicked(Modifier::Ctrl, true);
    dialog.Edt_AssemblyKeyDown(0x41, false);
    dialog.Edt_AssemblyKeyDown(0x42, false);
    model.selectButton(5);  // the dialog does not block the page
    model.setKeyCombination(dialog.IB_ConfirmClick());
    model.ApplyKeyCombination(data);

    EXPECT_EQ(model.caption(5), "Ctrl+A+B");
    EXPECT_EQ(model.codeText(5), "02010405");
    EXPECT_EQ(bytes(5), (std::vector<std::uint8_t>{0x02, 0x01, 0x04}));
    EXPECT_EQ(buttonCodeAt(data, 3), buttonCodeAt(before, 3));
    // Named again from its code, the label shows what the mouse keeps.
    EXPECT_EQ(CodeToDisplayName(model.codeText(5), naming), "Ctrl+A");
}

TEST_F(ButtonChoiceTest, UnconfirmedOrClearedCombinationChangesNothing) {
    model.selectButton(2);
    model.Key_AssemblyClick();
    model.ApplyKeyCombination(data);
    EXPECT_EQ(model.caption(2), "Middle Key");
    EXPECT_EQ(data, before);

    // Confirm with nothing composed: no key, no caption, and the last left click may go.
    model.selectButton(1);
    KeyCombination dialog;
    model.setKeyCombination(dialog.IB_ConfirmClick());
    model.ApplyKeyCombination(data);
    EXPECT_EQ(model.caption(1), "");
    EXPECT_EQ(bytes(1), (std::vector<std::uint8_t>{0x02, 0x00, 0x00}));
}

}  // namespace
}  // namespace kvr
