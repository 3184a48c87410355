#include "buttons/key_combination.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

constexpr int kA = 0x41, kB = 0x42, kC = 0x43, kShift = 0x10, kLeftWin = 0x5B, kRightWin = 0x5C;

class KeyCombinationTest : public testing::Test {
protected:
    void SetUp() override { combo.FormCreate(); }
    void press(int vk, bool held = false) { combo.Edt_AssemblyKeyDown(vk, held); }
    KeyCombination combo;
};

TEST_F(KeyCombinationTest, CtrlAltAConfirmsAsKeyboardCode) {
    combo.modifierClicked(Modifier::Ctrl, true);
    combo.modifierClicked(Modifier::Alt, true);
    EXPECT_EQ(combo.editText(), "Ctrl+Alt");
    press(kA);
    EXPECT_EQ(combo.editText(), "Ctrl+Alt+A");
    const KeyCombinationResult r = combo.IB_ConfirmClick();
    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.caption, "Ctrl+Alt+A");
    EXPECT_EQ(r.codeText, "02050400");
}

TEST_F(KeyCombinationTest, TickingAndUntickingAModifierAroundTypedKeys) {
    press(kA);
    combo.modifierClicked(Modifier::Shift, true);
    EXPECT_EQ(combo.editText(), "Shift+A");
    combo.modifierClicked(Modifier::Shift, false);
    EXPECT_EQ(combo.editText(), "A");

    struct Case {
        std::vector<Modifier> ticked;
        Modifier untick;
        std::string before, after;
    };
    const Case cases[] = {
        {{Modifier::Ctrl}, Modifier::Ctrl, "Ctrl+A", "A"},
        {{Modifier::Ctrl, Modifier::Shift}, Modifier::Shift, "Ctrl+Shift+A", "Ctrl+A"},
        {{Modifier::Ctrl, Modifier::Win}, Modifier::Ctrl, "Ctrl+Win+A", "Win+A"},
    };
    for (const Case& c : cases) {
        KeyCombination k;
        k.FormCreate();
        k.Edt_AssemblyKeyDown(kA, false);
        for (Modifier m : c.ticked) k.modifierClicked(m, true);
        EXPECT_EQ(k.editText(), c.before);
        k.modifierClicked(c.untick, false);
        EXPECT_EQ(k.editText(), c.after) << c.before;
    }
    KeyCombination alone;
    alone.modifierClicked(Modifier::Win, true);
    alone.modifierClicked(Modifier::Win, false);
    EXPECT_EQ(alone.editText(), "");
}

TEST_F(KeyCombinationTest, ThirdKeyRestartsFromTheModifiers) {
    combo.modifierClicked(Modifier::Ctrl, true);
    press(kA);
    press(kB);
    EXPECT_EQ(combo.editText(), "Ctrl+A+B");
    EXPECT_EQ(combo.secondKeyUsage(), 0x05);
    press(kC);
    EXPECT_EQ(combo.editText(), "Ctrl+C");
    EXPECT_EQ(combo.typedKeyCount(), 1);
    EXPECT_EQ(combo.firstKeyUsage(), 0x06);
    EXPECT_EQ(combo.secondKeyUsage(), 0);
    EXPECT_EQ(combo.IB_ConfirmClick().codeText, "02010600");
}

TEST_F(KeyCombinationTest, WindowsKeysAndHeldModifiersAddNothing) {
    press(kA, true);
    press(kShift, true);
    press(kLeftWin);
    press(kRightWin);
    EXPECT_EQ(combo.editText(), "");
    EXPECT_EQ(combo.typedKeyCount(), 0);
    // After two keys even a swallowed press restarts: only the modifier text is left.
    combo.modifierClicked(Modifier::Alt, true);
    press(kA);
    press(kB);
    press(kShift, true);
    EXPECT_EQ(combo.editText(), "Alt");
    EXPECT_EQ(combo.IB_ConfirmClick().codeText, "02040000");
}

TEST_F(KeyCombinationTest, KeysTheTableDoesNotKnowShowAndStoreNothing) {
    press(kA);
    press(0x07);
    press(0xE5);
    EXPECT_EQ(combo.editText(), "A");
    EXPECT_EQ(combo.typedKeyCount(), 1);
}

TEST_F(KeyCombinationTest, EmptyConfirmClearAndKeysWithoutUsage) {
    EXPECT_EQ(combo.IB_ConfirmClick().codeText, "02000000");
    EXPECT_EQ(combo.IB_ConfirmClick().caption, "");

    combo.modifierClicked(Modifier::Ctrl, true);
    press(kA);
    combo.IB_CancelClick();
    EXPECT_EQ(combo.editText(), "");
    for (Modifier m : KeyCombination::kModifiers) EXPECT_FALSE(combo.ticked(m));
    EXPECT_EQ(combo.IB_ConfirmClick().codeText, "02000000");

    press(0xDF);  // OEM_8 has a name but no usage
    const KeyCombinationResult r = combo.IB_ConfirmClick();
    EXPECT_EQ(r.caption, "OEM_8");
    EXPECT_EQ(r.codeText, "02000000");
}

}  // namespace
}  // namespace kvr
