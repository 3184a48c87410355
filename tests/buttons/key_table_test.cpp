#include "buttons/key_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace kvr {
namespace {

struct KeyCase {
    int virtualKey;
    KeyIndex index;
    std::string_view name;
    std::uint8_t usage;
    std::string_view usageName;  // the name the stored usage reads back as

    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
};

// Cases named by their virtual key, "VirtualKey41" for 0x41.
std::string virtualKeyName(const testing::TestParamInfo<KeyCase>& info) {
    const int vk = info.param.virtualKey;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", vk < 0 ? -vk : vk);
    return std::string(vk < 0 ? "VirtualKeyMinus" : "VirtualKey") + hex;
}

class KeyTableTest : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyTableTest, VirtualKeyToIndexNameUsageAndBack) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(VirtualKeyToKeyIndex(c.virtualKey), c.index);
    EXPECT_EQ(KeyIndexToName(c.index), c.name);
    EXPECT_EQ(KeyIndexToUsage(c.index), c.usage);
    EXPECT_EQ(UsageToName(c.usage), c.usageName);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTableTest,
    testing::Values(
        KeyCase{0x41, 78, "A", 0x04, "A"}, KeyCase{0x5A, 103, "Z", 0x1D, "Z"},
        KeyCase{0x30, 104, "0", 0x27, "0"}, KeyCase{0x31, 105, "1", 0x1E, "1"},
        KeyCase{0x39, 113, "9", 0x26, "9"}, KeyCase{0x70, 46, "F1", 0x3A, "F1"},
        KeyCase{0x7B, 57, "F12", 0x45, "F12"}, KeyCase{0x7C, 58, "F13", 0x68, "F13"},
        KeyCase{0x87, 69, "F24", 0x73, "F24"},
        KeyCase{0x60, 30, "0 (numeric pad)", 0x62, "0 (numeric pad)"},
        KeyCase{0x61, 31, "1 (numeric pad)", 0x59, "1 (numeric pad)"},
        KeyCase{0x69, 39, "9 (numeric pad)", 0x61, "9 (numeric pad)"},
        // Generic modifiers store the left key's usage and read back as it.
        KeyCase{0x10, 7, "Shift", 0xE1, "Left Shift"}, KeyCase{0x11, 8, "Ctrl", 0xE0, "Left Ctrl"},
        KeyCase{0x12, 9, "Alt", 0xE2, "Left Alt"},
        KeyCase{0xA0, 72, "Left Shift", 0xE1, "Left Shift"},
        KeyCase{0xA5, 77, "Right Alt", 0xE6, "Right Alt"},
        KeyCase{0x5B, 27, "Left Windows", 0xE3, "Win"},
        KeyCase{0x5C, 28, "Right Windows", 0xE7, "Win"},
        // Named keys the mouse cannot store.
        KeyCase{0xFF, 2, "255", 0x00, ""}, KeyCase{0xDF, 121, "OEM_8", 0x00, ""},
        KeyCase{0xB6, 142, "Launch_App1", 0x00, ""}, KeyCase{0xB7, 143, "Launch_App2", 0x00, ""},
        KeyCase{0x0C, 5, "Clear", 0x9C, "Clear"}, KeyCase{0xBA, 114, "OEM_1", 0x33, "OEM_1"},
        KeyCase{0xB5, 141, "Launch_Media_Select", 0xD1, "Launch_Media_Select"},
        KeyCase{0xA6, 126, "Browser_Back", 0xCA, "Browser_Back"},
        // Codes without a row.
        KeyCase{0x00, 0, "None", 0x00, ""}, KeyCase{0x07, 0, "None", 0x00, ""},
        KeyCase{0xE5, 0, "None", 0x00, ""}, KeyCase{-1, 0, "None", 0x00, ""},
        KeyCase{0x1000, 0, "None", 0x00, ""}),
    virtualKeyName);

TEST(KeyTable, IndicesWithoutRowHaveNoNameAndNoUsage) {
    for (int index : {1, 145, 200, 255}) {
        EXPECT_EQ(KeyIndexToName(static_cast<KeyIndex>(index)), "") << index;
        EXPECT_EQ(KeyIndexToUsage(static_cast<KeyIndex>(index)), 0) << index;
    }
}

TEST(KeyTable, ExactlyTheUnproducedUsagesHaveTheEmptyName) {
    std::set<int> unnamed = {0x00, 0x01, 0x02, 0x03, 0x32,
                             0x66, 0x67, 0x74, 0x76, 0xCF, 0xD0};
    for (int u = 0x78; u <= 0x9B; ++u) unnamed.insert(u);
    for (int u = 0x9D; u <= 0xBF; ++u) unnamed.insert(u);
    for (int u = 0xD2; u <= 0xDF; ++u) unnamed.insert(u);
    for (int u = 0xE8; u <= 0xFF; ++u) unnamed.insert(u);
    for (int u = 0; u <= 0xFF; ++u) {
        EXPECT_EQ(UsageToName(static_cast<std::uint8_t>(u)).empty(), unnamed.contains(u)) << u;
    }
}

TEST(KeyTable, EveryVirtualKeyMapsToItsOwnRow) {
    const auto table = keyTable();
    ASSERT_EQ(table.size(), 145u);
    std::set<int> seen;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].virtualKey == kNoVirtualKey) continue;
        EXPECT_TRUE(seen.insert(table[i].virtualKey).second) << "duplicate key " << i;
        EXPECT_EQ(VirtualKeyToKeyIndex(table[i].virtualKey), i);
    }
    EXPECT_EQ(seen.size(), 143u);
}

}  // namespace
}  // namespace kvr
