// The key table and the fixed menu codes, checked row by row against tables written out here by
// hand. A swap of two usage codes or two codes in the program's own tables fails one of these.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/language_table.h"
#include "buttons/button_names.h"
#include "buttons/key_table.h"

namespace kvr {
namespace {

struct Row {
    int index;
    int virtualKey;  // -1: no key event produces the row
    std::string name;
    int usage;  // 0: none
};

// The keys listed one by one, in KeyIndex order.
const std::vector<Row> kListedKeys = {
    {0, -1, "None", 0},
    {2, 0xFF, "255", 0},
    {3, 0x08, "Backspace", 0x2A},
    {4, 0x09, "Tab", 0x2B},
    {5, 0x0C, "Clear", 0x9C},
    {6, 0x0D, "Enter", 0x28},
    {7, 0x10, "Shift", 0xE1},
    {8, 0x11, "Ctrl", 0xE0},
    {9, 0x12, "Alt", 0xE2},
    {10, 0x13, "Pause", 0x48},
    {11, 0x14, "Caps Lock", 0x39},
    {12, 0x1B, "Esc", 0x29},
    {13, 0x20, "Space bar", 0x2C},
    {14, 0x21, "Page Up", 0x4B},
    {15, 0x22, "Page Down", 0x4E},
    {16, 0x23, "End", 0x4D},
    {17, 0x24, "Home", 0x4A},
    {18, 0x25, "Left Arrow", 0x50},
    {19, 0x26, "Up Arrow", 0x52},
    {20, 0x27, "Right Arrow", 0x4F},
    {21, 0x28, "Down Arrow", 0x51},
    {22, 0x29, "Select", 0x77},
    {23, 0x2C, "Print Screen", 0x46},
    {24, 0x2D, "Insert", 0x49},
    {25, 0x2E, "Delete", 0x4C},
    {26, 0x2F, "Help", 0x75},
    {27, 0x5B, "Left Windows", 0xE3},
    {28, 0x5C, "Right Windows", 0xE7},
    {29, 0x5D, "Applications", 0x65},
    {40, 0x6A, "Multiply (numeric pad)", 0x55},
    {41, 0x6B, "Add (numeric pad)", 0x57},
    {42, 0x6C, "Separator (numeric pad)", 0x58},
    {43, 0x6D, "Subtract (numeric pad)", 0x56},
    {44, 0x6E, "Decimal (numeric pad)", 0x63},
    {45, 0x6F, "Divide (numeric pad)", 0x54},
    {70, 0x90, "Num Lock", 0x53},
    {71, 0x91, "Scroll Lock", 0x47},
    {72, 0xA0, "Left Shift", 0xE1},
    {73, 0xA1, "Right Shift", 0xE5},
    {74, 0xA2, "Left Ctrl", 0xE0},
    {75, 0xA3, "Right Ctrl", 0xE4},
    {76, 0xA4, "Left Alt", 0xE2},
    {77, 0xA5, "Right Alt", 0xE6},
    {114, 0xBA, "OEM_1", 0x33},
    {115, 0xBF, "OEM_2", 0x38},
    {116, 0xC0, "OEM_3", 0x35},
    {117, 0xDB, "OEM_4", 0x2F},
    {118, 0xDC, "OEM_5", 0x31},
    {119, 0xDD, "OEM_6", 0x30},
    {120, 0xDE, "OEM_7", 0x34},
    {121, 0xDF, "OEM_8", 0},
    {122, 0xBB, "OEM_Plus", 0x2E},
    {123, 0xBC, "OEM_Comma", 0x36},
    {124, 0xBD, "OEM_Minus", 0x2D},
    {125, 0xBE, "OEM_Period", 0x37},
    {126, 0xA6, "Browser_Back", 0xCA},
    {127, 0xA7, "Browser_Forward", 0xCB},
    {128, 0xA8, "Browser_Refresh", 0xCD},
    {129, 0xA9, "Browser_Stop", 0xCC},
    {130, 0xAA, "Browser_Search", 0xC8},
    {131, 0xAB, "Browser_Favorites", 0xCE},
    {132, 0xAC, "Browser_Home", 0xC9},
    {133, 0xAD, "Volume_Mute", 0xC4},
    {134, 0xAE, "Volume_Down", 0xC6},
    {135, 0xAF, "Volume_Up", 0xC5},
    {136, 0xB0, "Media_Next_Track", 0xC0},
    {137, 0xB1, "Media_Prev_Track", 0xC1},
    {138, 0xB2, "Media_Stop", 0xC2},
    {139, 0xB3, "Media_Play_Pause", 0xC3},
    {140, 0xB4, "Launch_Mail", 0xC7},
    {141, 0xB5, "Launch_Media_Select", 0xD1},
    {142, 0xB6, "Launch_App1", 0},
    {143, 0xB7, "Launch_App2", 0},
};

// The keys that follow a rule: letters, main digits, function keys and the numeric pad.
std::vector<Row> keysByRule() {
    std::vector<Row> rows;
    for (int i = 0; i < 26; ++i)
        rows.push_back({78 + i, 0x41 + i, std::string(1, char('A' + i)), 0x04 + i});
    for (int d = 0; d <= 9; ++d)
        rows.push_back(
            {104 + d, 0x30 + d, std::string(1, char('0' + d)), d == 0 ? 0x27 : 0x1D + d});
    for (int f = 1; f <= 12; ++f)
        rows.push_back({45 + f, 0x6F + f, "F" + std::to_string(f), 0x39 + f});
    for (int f = 13; f <= 24; ++f)
        rows.push_back({45 + f, 0x6F + f, "F" + std::to_string(f), 0x5B + f});
    for (int d = 0; d <= 9; ++d)
        rows.push_back(
            {30 + d, 0x60 + d, std::to_string(d) + " (numeric pad)", d == 0 ? 0x62 : 0x58 + d});
    return rows;
}

// Every KeyIndex 0..143 once; index 1 has no row.
std::array<std::optional<Row>, 144> expectedKeyTable() {
    std::array<std::optional<Row>, 144> table{};
    for (const Row& r : kListedKeys) table[size_t(r.index)] = r;
    for (const Row& r : keysByRule()) table[size_t(r.index)] = r;
    return table;
}

TEST(PinnedKeyTable, EveryIndexHasTheWrittenVirtualKeyNameAndUsage) {
    const auto expected = expectedKeyTable();
    for (int i = 0; i < 144; ++i) {
        const auto index = static_cast<KeyIndex>(i);
        if (!expected[size_t(i)]) {
            EXPECT_EQ(KeyIndexToName(index), "") << "index " << i;
            EXPECT_EQ(KeyIndexToUsage(index), 0) << "index " << i;
            continue;
        }
        const Row& r = *expected[size_t(i)];
        EXPECT_EQ(KeyIndexToName(index), r.name) << "index " << i;
        EXPECT_EQ(KeyIndexToUsage(index), r.usage) << "index " << i << " " << r.name;
        if (r.virtualKey >= 0) {
            EXPECT_EQ(VirtualKeyToKeyIndex(r.virtualKey), i) << r.name;
        }
    }
}

TEST(PinnedKeyTable, TheIsoKeyIsTheOneRowAfterThem) {
    ASSERT_EQ(keyTable().size(), 145u);
    EXPECT_EQ(KeyIndexToName(144), "OEM_102");
    EXPECT_EQ(KeyIndexToUsage(144), 0x64);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xE2), 144);
    EXPECT_EQ(UsageToName(0x64), "OEM_102");
}

TEST(PinnedKeyTable, VirtualKeysWithoutARowGiveNone) {
    std::array<bool, 256> listed{};
    for (const auto& r : expectedKeyTable())
        if (r && r->virtualKey >= 0) listed[size_t(r->virtualKey)] = true;
    listed[0xE2] = true;  // the ISO key, in its row after the pinned ones
    for (int vk = 0; vk < 256; ++vk) {
        if (!listed[size_t(vk)]) {
            EXPECT_EQ(VirtualKeyToKeyIndex(vk), kNoKey) << vk;
        }
    }
}

TEST(PinnedKeyTable, EveryUsageIsNamedByTheKeyThatProducesIt) {
    std::array<std::string, 256> names{};
    for (const auto& r : expectedKeyTable())
        if (r && r->usage != 0) names[size_t(r->usage)] = r->name;
    // Two keys produce these; the stored code names them once.
    names[0xE0] = "Left Ctrl";
    names[0xE1] = "Left Shift";
    names[0xE2] = "Left Alt";
    names[0xE3] = "Win";
    names[0xE7] = "Win";
    names[0x64] = "OEM_102";
    for (int u = 0; u < 256; ++u)
        EXPECT_EQ(UsageToName(static_cast<std::uint8_t>(u)), names[size_t(u)]) << "usage " << u;
}

struct MenuRow {
    int entry;
    std::string control;
    std::string code;  // empty for the fire key, built from its fields
    std::string nameKey;
    std::string englishName;
};

const std::vector<MenuRow> kMenu = {
    {900, "Key_Left", "010100", "Str210", "Left Key"},
    {901, "Key_Right", "010200", "Str211", "Right Key"},
    {902, "Key_Middle", "010400", "Str212", "Middle Key"},
    {903, "Key_B4", "010800", "Str213", "Backward"},
    {904, "Key_B5", "011000", "Str214", "Forward"},
    {1000, "Key_Fire", "", "Str230", "Fire Key"},
    {1001, "Key_CPI", "050000", "Str231", "DPI"},
    {1002, "Key_CPII", "070000", "Str232", "DPI +"},
    {1003, "Key_CPID", "080000", "Str233", "DPI -"},
    {1004, "Key_LEDSwitch", "090000", "Str234", "LED Switch"},
    {1100, "Key_Computer", "030194", "Str240", "My Computer"},
    {1101, "Key_Calculator", "030192", "Str241", "Calculator"},
    {1102, "Key_EMail", "03018A", "Str242", "E-Mail"},
    {1300, "Key_PlayPause", "0300CD", "Str250", "Play/Pause"},
    {1301, "Key_Stop", "0300B7", "Str251", "Stop"},
    {1302, "Key_PreviousTrack", "0300B6", "Str252", "Previous Track"},
    {1303, "Key_NextTrack", "0300B5", "Str253", "Next Track"},
    {1304, "Key_VolumePlus", "0300E9", "Str254", "Volume +"},
    {1305, "Key_VolumeMinus", "0300EA", "Str255", "Volume -"},
    {1306, "Key_Mute", "0300E2", "Str256", "Mute"},
    {1400, "Key_WWWHome", "030223", "Str260", "Home"},
    {1401, "Key_WWWSearch", "030221", "Str261", "Search"},
    {1402, "Key_WWWBack", "030224", "Str262", "Backward"},
    {1403, "Key_WWWForward", "030225", "Str263", "Forward"},
    {1404, "Key_WWWStop", "030226", "Str264", "Stop"},
    {1405, "Key_WWWRefresh", "030227", "Str265", "Refresh"},
    {1406, "Key_WWWFavorites", "03022A", "Str266", "Favorites"},
};

TEST(PinnedMenuCodes, TheTwentySevenEntriesInOrderWithCodeAndName) {
    const auto entries = menuEntries();
    ASSERT_EQ(entries.size(), kMenu.size());
    const CodeNaming english{.texts = [](std::string_view key) { return LanguageText(2, key); },
                             .macroNameAt = {}};
    for (size_t i = 0; i < kMenu.size(); ++i) {
        const MenuRow& want = kMenu[i];
        EXPECT_EQ(entries[i].entry, want.entry) << want.control;
        EXPECT_EQ(entries[i].control, want.control) << want.entry;
        EXPECT_EQ(entries[i].nameKey, want.nameKey) << want.control;
        const std::string code =
            want.code.empty() ? CodeForMenuEntry(want.entry, {5, 40}) : want.code;
        if (!want.code.empty()) {
            EXPECT_EQ(CodeForMenuEntry(want.entry, {}), want.code);
        }
        EXPECT_EQ(CodeToDisplayName(code, english), want.englishName) << want.control;
    }
    EXPECT_EQ(CodeForMenuEntry(1000, {5, 40}), "040A28");
}

}  // namespace
}  // namespace kvr
