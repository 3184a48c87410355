// The three ways a key reaches the program (the key combination dialog's Qt keys, the X11
// recorder's keysyms as xkb's default layout sends them, the evdev recorder's codes) give the
// same key, and the key table has a row for it.
// Xlib's macros would break Qt's headers: the X11 headers come last.
#include <QKeyEvent>
#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/pages/key_combination_dialog.h"
#include "buttons/key_table.h"
#include "platform/linux/key_map_evdev.h"
#include "platform/linux/key_map_x11.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

namespace kvr {
namespace {

struct PhysicalKey {
    std::string name;
    std::uint16_t evdev;
    std::uint32_t keysym;  // 0: the default layout gives this key no keysym
    int qtKey;             // 0: Qt reports no key for it
    int virtualKey;
    bool keypad = false;   // Qt reports it with the keypad modifier
};

const PhysicalKey kKeys[] = {
    {"A", KEY_A, XK_a, Qt::Key_A, 0x41},
    {"1", KEY_1, XK_1, Qt::Key_1, 0x31},
    {"Esc", KEY_ESC, XK_Escape, Qt::Key_Escape, 0x1B},
    {"F1", KEY_F1, XK_F1, Qt::Key_F1, 0x70},
    {"F12", KEY_F12, XK_F12, Qt::Key_F12, 0x7B},
    {"F13", KEY_F13, XF86XK_Tools, Qt::Key_Tools, 0x7C},
    {"F14", KEY_F14, XF86XK_Launch5, Qt::Key_Launch5, 0x7D},
    {"F15", KEY_F15, XF86XK_Launch6, Qt::Key_Launch6, 0x7E},
    {"F16", KEY_F16, XF86XK_Launch7, Qt::Key_Launch7, 0x7F},
    {"F17", KEY_F17, XF86XK_Launch8, Qt::Key_Launch8, 0x80},
    {"F18", KEY_F18, XF86XK_Launch9, Qt::Key_Launch9, 0x81},
    {"F19", KEY_F19, 0, 0, 0x82},
    {"F24", KEY_F24, 0, 0, 0x87},
    {"ISO key left of Z", KEY_102ND, XK_less, Qt::Key_Less, 0xE2},
    {"Grave", KEY_GRAVE, XK_grave, Qt::Key_QuoteLeft, 0xC0},
    {"Minus", KEY_MINUS, XK_minus, Qt::Key_Minus, 0xBD},
    {"Equal", KEY_EQUAL, XK_equal, Qt::Key_Equal, 0xBB},
    {"Left brace", KEY_LEFTBRACE, XK_bracketleft, Qt::Key_BracketLeft, 0xDB},
    {"Right brace", KEY_RIGHTBRACE, XK_bracketright, Qt::Key_BracketRight, 0xDD},
    {"Backslash", KEY_BACKSLASH, XK_backslash, Qt::Key_Backslash, 0xDC},
    {"Semicolon", KEY_SEMICOLON, XK_semicolon, Qt::Key_Semicolon, 0xBA},
    {"Apostrophe", KEY_APOSTROPHE, XK_apostrophe, Qt::Key_Apostrophe, 0xDE},
    {"Comma", KEY_COMMA, XK_comma, Qt::Key_Comma, 0xBC},
    {"Dot", KEY_DOT, XK_period, Qt::Key_Period, 0xBE},
    {"Slash", KEY_SLASH, XK_slash, Qt::Key_Slash, 0xBF},
    {"Menu", KEY_COMPOSE, XK_Menu, Qt::Key_Menu, 0x5D},
    {"Pause", KEY_PAUSE, XK_Pause, Qt::Key_Pause, 0x13},
    {"Print", KEY_SYSRQ, XK_Print, Qt::Key_Print, 0x2C},
    {"Browser back", KEY_BACK, XF86XK_Back, Qt::Key_Back, 0xA6},
    {"Browser forward", KEY_FORWARD, XF86XK_Forward, Qt::Key_Forward, 0xA7},
    {"Browser refresh", KEY_REFRESH, XF86XK_Reload, Qt::Key_Reload, 0xA8},
    {"Browser stop", KEY_STOP, XK_Cancel, Qt::Key_Cancel, 0xA9},
    {"Browser search", KEY_SEARCH, XF86XK_Search, Qt::Key_Search, 0xAA},
    {"Browser home", KEY_HOMEPAGE, XF86XK_HomePage, Qt::Key_HomePage, 0xAC},
    {"Mute", KEY_MUTE, XF86XK_AudioMute, Qt::Key_VolumeMute, 0xAD},
    {"Volume down", KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume, Qt::Key_VolumeDown, 0xAE},
    {"Volume up", KEY_VOLUMEUP, XF86XK_AudioRaiseVolume, Qt::Key_VolumeUp, 0xAF},
    {"Next track", KEY_NEXTSONG, XF86XK_AudioNext, Qt::Key_MediaNext, 0xB0},
    {"Previous track", KEY_PREVIOUSSONG, XF86XK_AudioPrev, Qt::Key_MediaPrevious, 0xB1},
    {"Stop", KEY_STOPCD, XF86XK_AudioStop, Qt::Key_MediaStop, 0xB2},
    {"Play", KEY_PLAYPAUSE, XF86XK_AudioPlay, Qt::Key_MediaPlay, 0xB3},
    {"Play (CD)", KEY_PLAYCD, XF86XK_AudioPlay, Qt::Key_MediaPlay, 0xB3},
    {"Mail", KEY_MAIL, XF86XK_Mail, Qt::Key_LaunchMail, 0xB4},
    {"E-mail", KEY_EMAIL, XF86XK_Mail, Qt::Key_LaunchMail, 0xB4},
    {"My computer", KEY_FILE, XF86XK_Explorer, Qt::Key_Explorer, 0xB6},
};

// The rest of a full 105-key ISO keyboard: the rows every keyboard has.
const PhysicalKey kBlock[] = {
    {"Backspace", KEY_BACKSPACE, XK_BackSpace, Qt::Key_Backspace, 0x08},
    {"Tab", KEY_TAB, XK_Tab, Qt::Key_Tab, 0x09},
    {"Enter", KEY_ENTER, XK_Return, Qt::Key_Return, 0x0D},
    {"Left shift", KEY_LEFTSHIFT, XK_Shift_L, Qt::Key_Shift, 0x10},
    {"Right shift", KEY_RIGHTSHIFT, XK_Shift_R, Qt::Key_Shift, 0x10},
    {"Left ctrl", KEY_LEFTCTRL, XK_Control_L, Qt::Key_Control, 0x11},
    {"Right ctrl", KEY_RIGHTCTRL, XK_Control_R, Qt::Key_Control, 0x11},
    {"Left alt", KEY_LEFTALT, XK_Alt_L, Qt::Key_Alt, 0x12},
    {"Right alt", KEY_RIGHTALT, XK_Alt_R, Qt::Key_Alt, 0x12},
    {"Caps lock", KEY_CAPSLOCK, XK_Caps_Lock, Qt::Key_CapsLock, 0x14},
    {"Space", KEY_SPACE, XK_space, Qt::Key_Space, 0x20},
    {"Page up", KEY_PAGEUP, XK_Prior, Qt::Key_PageUp, 0x21},
    {"Page down", KEY_PAGEDOWN, XK_Next, Qt::Key_PageDown, 0x22},
    {"End", KEY_END, XK_End, Qt::Key_End, 0x23},
    {"Home", KEY_HOME, XK_Home, Qt::Key_Home, 0x24},
    {"Left", KEY_LEFT, XK_Left, Qt::Key_Left, 0x25},
    {"Up", KEY_UP, XK_Up, Qt::Key_Up, 0x26},
    {"Right", KEY_RIGHT, XK_Right, Qt::Key_Right, 0x27},
    {"Down", KEY_DOWN, XK_Down, Qt::Key_Down, 0x28},
    {"Insert", KEY_INSERT, XK_Insert, Qt::Key_Insert, 0x2D},
    {"Delete", KEY_DELETE, XK_Delete, Qt::Key_Delete, 0x2E},
    {"Left Windows", KEY_LEFTMETA, XK_Super_L, Qt::Key_Super_L, 0x5B},
    {"Right Windows", KEY_RIGHTMETA, XK_Super_R, Qt::Key_Super_R, 0x5C},
    {"Keypad *", KEY_KPASTERISK, XK_KP_Multiply, Qt::Key_Asterisk, 0x6A, true},
    {"Keypad +", KEY_KPPLUS, XK_KP_Add, Qt::Key_Plus, 0x6B, true},
    {"Keypad -", KEY_KPMINUS, XK_KP_Subtract, Qt::Key_Minus, 0x6D, true},
    {"Keypad .", KEY_KPDOT, XK_KP_Decimal, Qt::Key_Period, 0x6E, true},
    {"Keypad /", KEY_KPSLASH, XK_KP_Divide, Qt::Key_Slash, 0x6F, true},
    {"Keypad Enter", KEY_KPENTER, XK_KP_Enter, Qt::Key_Enter, 0x0D, true},
    {"Num lock", KEY_NUMLOCK, XK_Num_Lock, Qt::Key_NumLock, 0x90},
    {"Scroll lock", KEY_SCROLLLOCK, XK_Scroll_Lock, Qt::Key_ScrollLock, 0x91},
};

// Letters, digits, the keypad's digits and the function keys, which come in runs.
std::vector<PhysicalKey> runsOfKeys() {
    std::vector<PhysicalKey> keys;
    const std::uint16_t letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G,
                                     KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M, KEY_N,
                                     KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U,
                                     KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int i = 0; i < 26; ++i) {
        keys.push_back({std::string(1, char('A' + i)), letters[i], std::uint32_t(XK_a + i),
                        Qt::Key_A + i, 0x41 + i});
    }
    const std::uint16_t digits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4,
                                    KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    const std::uint16_t keypad[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                                    KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
    for (int i = 0; i < 10; ++i) {
        keys.push_back({std::to_string(i), digits[i], std::uint32_t(XK_0 + i), Qt::Key_0 + i,
                        0x30 + i});
        keys.push_back({"Keypad " + std::to_string(i), keypad[i], std::uint32_t(XK_KP_0 + i),
                        Qt::Key_0 + i, 0x60 + i, true});
    }
    const std::uint16_t functions[] = {KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
                                       KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
    for (int i = 0; i < 12; ++i) {
        keys.push_back({"F" + std::to_string(i + 1), functions[i], std::uint32_t(XK_F1 + i),
                        Qt::Key_F1 + i, 0x70 + i});
    }
    return keys;
}

TEST(KeyMapsAgree, EveryKeyReachesTheSameVirtualKeyThroughEachMap) {
    std::vector<PhysicalKey> all(std::begin(kKeys), std::end(kKeys));
    all.insert(all.end(), std::begin(kBlock), std::end(kBlock));
    const std::vector<PhysicalKey> runs = runsOfKeys();
    all.insert(all.end(), runs.begin(), runs.end());
    for (const PhysicalKey& k : all) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(evdevKeyToVirtualKey(k.evdev), k.virtualKey);
        if (k.keysym != 0) {
            EXPECT_EQ(keysymToVirtualKey(k.keysym), k.virtualKey);
        }
        if (k.qtKey != 0) {
            EXPECT_EQ(virtualKeyOf(k.qtKey, k.keypad ? Qt::KeypadModifier : Qt::NoModifier),
                      k.virtualKey);
        }
        EXPECT_NE(VirtualKeyToKeyIndex(k.virtualKey), kNoKey) << "the key table has its row";
    }
}

// Qt gives Calculator no key and My Computer the Media Select key: the dialog reads the keysym.
TEST(KeyMapsAgree, TheDialogTellsKeysQtConfusesByTheirKeysym) {
    struct Case {
        const char* name;
        int qtKey;
        std::uint32_t keysym;
        int virtualKey;
    };
    const Case cases[] = {
        {"Calculator", 0, XF86XK_Calculator, 0xB7},
        {"My computer", Qt::Key_LaunchMedia, XF86XK_MyComputer, 0xB6},
        {"Media select", Qt::Key_LaunchMedia, XF86XK_AudioMedia, 0xB5},
        {"Media select, no keysym", Qt::Key_LaunchMedia, 0, 0xB5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QKeyEvent press(QEvent::KeyPress, c.qtKey, Qt::NoModifier, 0, c.keysym, 0);
        EXPECT_EQ(virtualKeyOf(press), c.virtualKey);
    }
    EXPECT_EQ(evdevKeyToVirtualKey(KEY_CALC), 0xB7);
    EXPECT_EQ(keysymToVirtualKey(XF86XK_MyComputer), 0xB6);
}

TEST(KeyMapsAgree, AShiftedCommaIsNoIsoKey) {
    // On a US map "<" is Shift and comma; only the unshifted "<" is the key left of Z.
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less, Qt::ShiftModifier), 0);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less, Qt::NoModifier), 0xE2);
}

}  // namespace
}  // namespace kvr
