#include "platform/windows/input_translation.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

RAWKEYBOARD rawKey(USHORT virtualKey, USHORT scanCode, USHORT flags, UINT message) {
    RAWKEYBOARD key{};
    key.VKey = virtualKey;
    key.MakeCode = scanCode;
    key.Flags = flags;
    key.Message = message;
    return key;
}

TEST(RawKeyTranslation, GivesTheVirtualKeyAndDirectionOfEveryKeyEvent) {
    struct Case {
        const char* what;
        RAWKEYBOARD key;
        std::optional<RawKeyEvent> expected;
    };
    const Case cases[] = {
        {"A pressed", rawKey('A', 0x1E, RI_KEY_MAKE, WM_KEYDOWN), RawKeyEvent{'A', true}},
        {"A released", rawKey('A', 0x1E, RI_KEY_BREAK, WM_KEYUP), RawKeyEvent{'A', false}},
        {"Alt pressed", rawKey(VK_MENU, 0x38, RI_KEY_MAKE, WM_SYSKEYDOWN),
         RawKeyEvent{VK_MENU, true}},
        {"F10 released", rawKey(VK_F10, 0x44, RI_KEY_BREAK, WM_SYSKEYUP),
         RawKeyEvent{VK_F10, false}},
        // Both Shift keys are Shift and both Ctrl keys Ctrl: the recorder's modifier codes.
        {"left Shift", rawKey(VK_SHIFT, 0x2A, RI_KEY_MAKE, WM_KEYDOWN), RawKeyEvent{VK_SHIFT, true}},
        {"right Shift", rawKey(VK_SHIFT, 0x36, RI_KEY_MAKE, WM_KEYDOWN), RawKeyEvent{VK_SHIFT, true}},
        {"right Ctrl (E0)", rawKey(VK_CONTROL, 0x1D, RI_KEY_E0, WM_KEYDOWN),
         RawKeyEvent{VK_CONTROL, true}},
        {"right Ctrl (E0) released", rawKey(VK_CONTROL, 0x1D, RI_KEY_E0 | RI_KEY_BREAK, WM_KEYUP),
         RawKeyEvent{VK_CONTROL, false}},
        // The arrow keys come with E0, the keypad's with NumLock off without: both are the key.
        {"Home (E0)", rawKey(VK_HOME, 0x47, RI_KEY_E0, WM_KEYDOWN), RawKeyEvent{VK_HOME, true}},
        {"keypad 7 as Home", rawKey(VK_HOME, 0x47, RI_KEY_MAKE, WM_KEYDOWN),
         RawKeyEvent{VK_HOME, true}},
        {"left Windows", rawKey(VK_LWIN, 0x5B, RI_KEY_E0, WM_KEYDOWN), RawKeyEvent{VK_LWIN, true}},
        // The fake Shift around Print Screen and the E1 prefix of Pause are no keys.
        {"fake key 0xFF", rawKey(0xFF, 0x2A, RI_KEY_E0, WM_KEYDOWN), std::nullopt},
        {"Pause's E1 prefix", rawKey(0xFF, 0x1D, RI_KEY_E1, WM_KEYDOWN), std::nullopt},
        {"no virtual key", rawKey(0, 0x59, RI_KEY_MAKE, WM_KEYDOWN), std::nullopt},
        {"another message", rawKey('A', 0x1E, RI_KEY_MAKE, WM_CHAR), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(translateRawKey(c.key), c.expected) << c.what;
}

MSLLHOOKSTRUCT hookEvent(WORD extraButton, DWORD flags, POINT at = {10, 20}) {
    MSLLHOOKSTRUCT event{};
    event.pt = at;
    event.mouseData = static_cast<DWORD>(extraButton) << 16;
    event.flags = flags;
    return event;
}

TEST(MouseHookTranslation, NamesTheFiveButtonsAndTheirDirectionInjectedOrNot) {
    struct Case {
        const char* what;
        WPARAM message;
        MSLLHOOKSTRUCT event;
        std::optional<MouseButton> button;
        bool down;
    };
    const Case cases[] = {
        {"left down", WM_LBUTTONDOWN, hookEvent(0, 0), MouseButton::Left, true},
        {"left up", WM_LBUTTONUP, hookEvent(0, 0), MouseButton::Left, false},
        {"right down", WM_RBUTTONDOWN, hookEvent(0, 0), MouseButton::Right, true},
        {"right up", WM_RBUTTONUP, hookEvent(0, 0), MouseButton::Right, false},
        {"middle down", WM_MBUTTONDOWN, hookEvent(0, 0), MouseButton::Middle, true},
        {"middle up", WM_MBUTTONUP, hookEvent(0, 0), MouseButton::Middle, false},
        {"first extra button down", WM_XBUTTONDOWN, hookEvent(XBUTTON1, 0), MouseButton::Backward,
         true},
        {"first extra button up", WM_XBUTTONUP, hookEvent(XBUTTON1, 0), MouseButton::Backward,
         false},
        {"second extra button down", WM_XBUTTONDOWN, hookEvent(XBUTTON2, 0), MouseButton::Forward,
         true},
        {"second extra button up", WM_XBUTTONUP, hookEvent(XBUTTON2, 0), MouseButton::Forward,
         false},
        // Another program's SendInput is what the desktop sees, and so is recorded.
        {"injected left down", WM_LBUTTONDOWN, hookEvent(0, LLMHF_INJECTED), MouseButton::Left,
         true},
        {"injected from a lower level", WM_XBUTTONUP,
         hookEvent(XBUTTON2, LLMHF_INJECTED | LLMHF_LOWER_IL_INJECTED), MouseButton::Forward,
         false},
        {"an unknown extra button", WM_XBUTTONDOWN, hookEvent(3, 0), std::nullopt, false},
        {"a move", WM_MOUSEMOVE, hookEvent(0, 0), std::nullopt, false},
        {"the wheel", WM_MOUSEWHEEL, hookEvent(120, 0), std::nullopt, false},
        {"the side wheel", WM_MOUSEHWHEEL, hookEvent(120, 0), std::nullopt, false},
    };
    for (const Case& c : cases) {
        const std::optional<HookButtonEvent> got = translateMouseHook(c.message, c.event);
        ASSERT_EQ(got.has_value(), c.button.has_value()) << c.what;
        if (!got) continue;
        EXPECT_EQ(got->button, *c.button) << c.what;
        EXPECT_EQ(got->down, c.down) << c.what;
    }
}

TEST(MouseHookTranslation, TellsWhereThePointerWas) {
    const auto got = translateMouseHook(WM_RBUTTONDOWN, hookEvent(0, 0, POINT{-1280, 1439}));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->at.x, -1280);
    EXPECT_EQ(got->at.y, 1439);
}

}  // namespace
}  // namespace kvr
