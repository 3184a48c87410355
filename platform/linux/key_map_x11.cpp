#include "platform/linux/key_map_x11.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <array>

namespace kvr {

namespace {

struct KeysymKey {
    std::uint32_t keysym;
    std::uint16_t virtualKey;
};

// Both hands' Shift, Ctrl and Alt are the one generic key each, as the mouse stores them. Keypad
// keys read as their digits whatever Num Lock says: the map is made once, from the unshifted level.
constexpr KeysymKey kKeysymKeys[] = {
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_ISO_Left_Tab, 0x09},
    {XK_Clear, 0x0C},
    {XK_Return, 0x0D},
    {XK_KP_Enter, 0x0D},
    {XK_Shift_L, 0x10},
    {XK_Shift_R, 0x10},
    {XK_Control_L, 0x11},
    {XK_Control_R, 0x11},
    {XK_Alt_L, 0x12},
    {XK_Alt_R, 0x12},
    {XK_Meta_L, 0x12},
    {XK_Meta_R, 0x12},
    {XK_ISO_Level3_Shift, 0x12},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, 0x1B},
    {XK_space, 0x20},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Select, 0x29},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},
    {XK_Help, 0x2F},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    {XK_KP_0, 0x60},
    {XK_KP_Insert, 0x60},
    {XK_KP_1, 0x61},
    {XK_KP_End, 0x61},
    {XK_KP_2, 0x62},
    {XK_KP_Down, 0x62},
    {XK_KP_3, 0x63},
    {XK_KP_Next, 0x63},
    {XK_KP_4, 0x64},
    {XK_KP_Left, 0x64},
    {XK_KP_5, 0x65},
    {XK_KP_Begin, 0x65},
    {XK_KP_6, 0x66},
    {XK_KP_Right, 0x66},
    {XK_KP_7, 0x67},
    {XK_KP_Home, 0x67},
    {XK_KP_8, 0x68},
    {XK_KP_Up, 0x68},
    {XK_KP_9, 0x69},
    {XK_KP_Prior, 0x69},
    {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E},
    {XK_KP_Delete, 0x6E},
    {XK_KP_Divide, 0x6F},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    {XK_semicolon, 0xBA},
    {XK_slash, 0xBF},
    {XK_grave, 0xC0},
    {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE},
    {XK_equal, 0xBB},
    {XK_comma, 0xBC},
    {XK_minus, 0xBD},
    {XK_period, 0xBE},
    // The ISO key left of Z, unshifted "<" on US and European maps.
    {XK_less, 0xE2},
    // What xkb's default layout sends for F13..F18 (F19 and F24 have no keysym of their own).
    {XF86XK_Tools, 0x7C},
    {XF86XK_Launch5, 0x7D},
    {XF86XK_Launch6, 0x7E},
    {XF86XK_Launch7, 0x7F},
    {XF86XK_Launch8, 0x80},
    {XF86XK_Launch9, 0x81},
    // Browser Refresh and Stop as the default layout sends them.
    {XF86XK_Reload, 0xA8},
    {XK_Cancel, 0xA9},
    {XF86XK_Explorer, 0xB6},
    {XF86XK_Back, 0xA6},
    {XF86XK_Forward, 0xA7},
    {XF86XK_Refresh, 0xA8},
    {XF86XK_Stop, 0xA9},
    {XF86XK_Search, 0xAA},
    {XF86XK_Favorites, 0xAB},
    {XF86XK_HomePage, 0xAC},
    {XF86XK_AudioMute, 0xAD},
    {XF86XK_AudioLowerVolume, 0xAE},
    {XF86XK_AudioRaiseVolume, 0xAF},
    {XF86XK_AudioNext, 0xB0},
    {XF86XK_AudioPrev, 0xB1},
    {XF86XK_AudioStop, 0xB2},
    {XF86XK_AudioPlay, 0xB3},
    {XF86XK_Mail, 0xB4},
    {XF86XK_AudioMedia, 0xB5},
    {XF86XK_MyComputer, 0xB6},
    {XF86XK_Calculator, 0xB7},
    {XK_F1, 0x70},
    {XK_F2, 0x71},
    {XK_F3, 0x72},
    {XK_F4, 0x73},
    {XK_F5, 0x74},
    {XK_F6, 0x75},
    {XK_F7, 0x76},
    {XK_F8, 0x77},
    {XK_F9, 0x78},
    {XK_F10, 0x79},
    {XK_F11, 0x7A},
    {XK_F12, 0x7B},
};

}  // namespace

std::uint16_t keysymToVirtualKey(std::uint32_t keysym) {
    // Letters and digits share their codes with ASCII upper case; F13..F24 follow F12.
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<std::uint16_t>(keysym - XK_a + 0x41);
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<std::uint16_t>(keysym);
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<std::uint16_t>(keysym);
    if (keysym >= XK_F13 && keysym <= XK_F24)
        return static_cast<std::uint16_t>(keysym - XK_F13 + 0x7C);
    for (const KeysymKey& k : kKeysymKeys)
        if (k.keysym == keysym) return k.virtualKey;
    return 0;
}

}  // namespace kvr

namespace kvr {

// Qt hands X11 and Wayland key events over with their keysym as the native key.
std::uint16_t nativeKeyToVirtualKey(std::uint32_t nativeKey) {
    return keysymToVirtualKey(nativeKey);
}

}  // namespace kvr
