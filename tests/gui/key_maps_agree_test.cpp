// The three ways a key reaches the program (the key combination dialog's Qt keys, the X11
// recorder's keysyms as xkb's default layout sends them, the evdev recorder's codes) give the
// same key, and the key table has a row for it.
// Xlib's macros would break Qt's headers: the X11 headers come last.
#include <QString>
#include <gtest/gtest.h>

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
    const char* name;
    std::uint16_t evdev;
    std::uint32_t keysym;  // 0: the default layout gives this key no keysym
    int qtKey;             // 0: Qt reports no key for it
    int virtualKey;
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

TEST(KeyMapsAgree, EveryKeyReachesTheSameVirtualKeyThroughEachMap) {
    for (const PhysicalKey& k : kKeys) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(evdevKeyToVirtualKey(k.evdev), k.virtualKey);
        if (k.keysym != 0) {
            EXPECT_EQ(keysymToVirtualKey(k.keysym), k.virtualKey);
        }
        if (k.qtKey != 0) {
            EXPECT_EQ(virtualKeyOf(k.qtKey, Qt::NoModifier), k.virtualKey);
        }
        EXPECT_NE(VirtualKeyToKeyIndex(k.virtualKey), kNoKey) << "the key table has its row";
    }
}

TEST(KeyMapsAgree, AShiftedCommaIsNoIsoKey) {
    // On a US map "<" is Shift and comma; only the unshifted "<" is the key left of Z.
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less, Qt::ShiftModifier), 0);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less, Qt::NoModifier), 0xE2);
}

}  // namespace
}  // namespace kvr
