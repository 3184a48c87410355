#include "buttons/key_table.h"

#include <array>

namespace kvr {

namespace {

// Position = KeyIndex.
constexpr std::array<KeyRow, 145> kKeyRows = {{
    {kNoVirtualKey, "None", 0x00},            // 0
    {kNoVirtualKey, "", 0x00},                // 1
    {0xFF, "255", 0x00},                      // 2
    {0x08, "Backspace", 0x2A},                // 3
    {0x09, "Tab", 0x2B},                      // 4
    {0x0C, "Clear", 0x9C},                    // 5
    {0x0D, "Enter", 0x28},                    // 6
    {0x10, "Shift", 0xE1},                    // 7
    {0x11, "Ctrl", 0xE0},                     // 8
    {0x12, "Alt", 0xE2},                      // 9
    {0x13, "Pause", 0x48},                    // 10
    {0x14, "Caps Lock", 0x39},                // 11
    {0x1B, "Esc", 0x29},                      // 12
    {0x20, "Space bar", 0x2C},                // 13
    {0x21, "Page Up", 0x4B},                  // 14
    {0x22, "Page Down", 0x4E},                // 15
    {0x23, "End", 0x4D},                      // 16
    {0x24, "Home", 0x4A},                     // 17
    {0x25, "Left Arrow", 0x50},               // 18
    {0x26, "Up Arrow", 0x52},                 // 19
    {0x27, "Right Arrow", 0x4F},              // 20
    {0x28, "Down Arrow", 0x51},               // 21
    {0x29, "Select", 0x77},                   // 22
    {0x2C, "Print Screen", 0x46},             // 23
    {0x2D, "Insert", 0x49},                   // 24
    {0x2E, "Delete", 0x4C},                   // 25
    {0x2F, "Help", 0x75},                     // 26
    {0x5B, "Left Windows", 0xE3},             // 27
    {0x5C, "Right Windows", 0xE7},            // 28
    {0x5D, "Applications", 0x65},             // 29
    {0x60, "0 (numeric pad)", 0x62},          // 30
    {0x61, "1 (numeric pad)", 0x59},          // 31
    {0x62, "2 (numeric pad)", 0x5A},          // 32
    {0x63, "3 (numeric pad)", 0x5B},          // 33
    {0x64, "4 (numeric pad)", 0x5C},          // 34
    {0x65, "5 (numeric pad)", 0x5D},          // 35
    {0x66, "6 (numeric pad)", 0x5E},          // 36
    {0x67, "7 (numeric pad)", 0x5F},          // 37
    {0x68, "8 (numeric pad)", 0x60},          // 38
    {0x69, "9 (numeric pad)", 0x61},          // 39
    {0x6A, "Multiply (numeric pad)", 0x55},   // 40
    {0x6B, "Add (numeric pad)", 0x57},        // 41
    {0x6C, "Separator (numeric pad)", 0x58},  // 42
    {0x6D, "Subtract (numeric pad)", 0x56},   // 43
    {0x6E, "Decimal (numeric pad)", 0x63},    // 44
    {0x6F, "Divide (numeric pad)", 0x54},     // 45
    {0x70, "F1", 0x3A},                       // 46
    {0x71, "F2", 0x3B},                       // 47
    {0x72, "F3", 0x3C},                       // 48
    {0x73, "F4", 0x3D},                       // 49
    {0x74, "F5", 0x3E},                       // 50
    {0x75, "F6", 0x3F},                       // 51
    {0x76, "F7", 0x40},                       // 52
    {0x77, "F8", 0x41},                       // 53
    {0x78, "F9", 0x42},                       // 54
    {0x79, "F10", 0x43},                      // 55
    {0x7A, "F11", 0x44},                      // 56
    {0x7B, "F12", 0x45},                      // 57
    {0x7C, "F13", 0x68},                      // 58
    {0x7D, "F14", 0x69},                      // 59
    {0x7E, "F15", 0x6A},                      // 60
    {0x7F, "F16", 0x6B},                      // 61
    {0x80, "F17", 0x6C},                      // 62
    {0x81, "F18", 0x6D},                      // 63
    {0x82, "F19", 0x6E},                      // 64
    {0x83, "F20", 0x6F},                      // 65
    {0x84, "F21", 0x70},                      // 66
    {0x85, "F22", 0x71},                      // 67
    {0x86, "F23", 0x72},                      // 68
    {0x87, "F24", 0x73},                      // 69
    {0x90, "Num Lock", 0x53},                 // 70
    {0x91, "Scroll Lock", 0x47},              // 71
    {0xA0, "Left Shift", 0xE1},               // 72
    {0xA1, "Right Shift", 0xE5},              // 73
    {0xA2, "Left Ctrl", 0xE0},                // 74
    {0xA3, "Right Ctrl", 0xE4},               // 75
    {0xA4, "Left Alt", 0xE2},                 // 76
    {0xA5, "Right Alt", 0xE6},                // 77
    {0x41, "A", 0x04},                        // 78
    {0x42, "B", 0x05},                        // 79
    {0x43, "C", 0x06},                        // 80
    {0x44, "D", 0x07},                        // 81
    {0x45, "E", 0x08},                        // 82
    {0x46, "F", 0x09},                        // 83
    {0x47, "G", 0x0A},                        // 84
    {0x48, "H", 0x0B},                        // 85
    {0x49, "I", 0x0C},                        // 86
    {0x4A, "J", 0x0D},                        // 87
    {0x4B, "K", 0x0E},                        // 88
    {0x4C, "L", 0x0F},                        // 89
    {0x4D, "M", 0x10},                        // 90
    {0x4E, "N", 0x11},                        // 91
    {0x4F, "O", 0x12},                        // 92
    {0x50, "P", 0x13},                        // 93
    {0x51, "Q", 0x14},                        // 94
    {0x52, "R", 0x15},                        // 95
    {0x53, "S", 0x16},                        // 96
    {0x54, "T", 0x17},                        // 97
    {0x55, "U", 0x18},                        // 98
    {0x56, "V", 0x19},                        // 99
    {0x57, "W", 0x1A},                        // 100
    {0x58, "X", 0x1B},                        // 101
    {0x59, "Y", 0x1C},                        // 102
    {0x5A, "Z", 0x1D},                        // 103
    {0x30, "0", 0x27},                        // 104
    {0x31, "1", 0x1E},                        // 105
    {0x32, "2", 0x1F},                        // 106
    {0x33, "3", 0x20},                        // 107
    {0x34, "4", 0x21},                        // 108
    {0x35, "5", 0x22},                        // 109
    {0x36, "6", 0x23},                        // 110
    {0x37, "7", 0x24},                        // 111
    {0x38, "8", 0x25},                        // 112
    {0x39, "9", 0x26},                        // 113
    {0xBA, "OEM_1", 0x33},                    // 114
    {0xBF, "OEM_2", 0x38},                    // 115
    {0xC0, "OEM_3", 0x35},                    // 116
    {0xDB, "OEM_4", 0x2F},                    // 117
    {0xDC, "OEM_5", 0x31},                    // 118
    {0xDD, "OEM_6", 0x30},                    // 119
    {0xDE, "OEM_7", 0x34},                    // 120
    {0xDF, "OEM_8", 0x00},                    // 121
    {0xBB, "OEM_Plus", 0x2E},                 // 122
    {0xBC, "OEM_Comma", 0x36},                // 123
    {0xBD, "OEM_Minus", 0x2D},                // 124
    {0xBE, "OEM_Period", 0x37},               // 125
    {0xA6, "Browser_Back", 0xCA},             // 126
    {0xA7, "Browser_Forward", 0xCB},          // 127
    {0xA8, "Browser_Refresh", 0xCD},          // 128
    {0xA9, "Browser_Stop", 0xCC},             // 129
    {0xAA, "Browser_Search", 0xC8},           // 130
    {0xAB, "Browser_Favorites", 0xCE},        // 131
    {0xAC, "Browser_Home", 0xC9},             // 132
    {0xAD, "Volume_Mute", 0xC4},              // 133
    {0xAE, "Volume_Down", 0xC6},              // 134
    {0xAF, "Volume_Up", 0xC5},                // 135
    {0xB0, "Media_Next_Track", 0xC0},         // 136
    {0xB1, "Media_Prev_Track", 0xC1},         // 137
    {0xB2, "Media_Stop", 0xC2},               // 138
    {0xB3, "Media_Play_Pause", 0xC3},         // 139
    {0xB4, "Launch_Mail", 0xC7},              // 140
    {0xB5, "Launch_Media_Select", 0xD1},      // 141
    {0xB6, "Launch_App1", 0x00},              // 142
    {0xB7, "Launch_App2", 0x00},              // 143
    // The key between the left Shift and Z of ISO keyboards ("<>", or "\\|" on Brazilian ones).
    {0xE2, "OEM_102", 0x64},  // 144
}};

struct UsageName {
    std::uint8_t usage;
    std::string_view name;
};

// Usages two keys produce, named once for both: a stored code cannot tell the generic Ctrl from
// the left one, nor which Windows key it was.
constexpr std::array<UsageName, 5> kSharedUsageNames = {{
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Win"},
    {0xE7, "Win"},
}};

}  // namespace

std::span<const KeyRow> keyTable() { return kKeyRows; }

KeyIndex VirtualKeyToKeyIndex(int virtualKey) {
    if (virtualKey == kNoVirtualKey) return kNoKey;
    for (std::size_t i = 0; i < kKeyRows.size(); ++i) {
        if (kKeyRows[i].virtualKey == virtualKey) return static_cast<KeyIndex>(i);
    }
    return kNoKey;
}

std::string_view KeyIndexToName(KeyIndex index) {
    return index < kKeyRows.size() ? kKeyRows[index].name : std::string_view();
}

std::uint8_t KeyIndexToUsage(KeyIndex index) {
    return index < kKeyRows.size() ? kKeyRows[index].usage : 0;
}

std::string_view UsageToName(std::uint8_t usage) {
    if (usage == 0) return {};
    for (const UsageName& shared : kSharedUsageNames) {
        if (shared.usage == usage) return shared.name;
    }
    for (const KeyRow& row : kKeyRows) {
        if (row.usage == usage) return row.name;
    }
    return {};
}

}  // namespace kvr
