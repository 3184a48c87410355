#include "base/ini_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace kvr {
namespace {

IniReader read(std::string_view text) {
    return IniReader::fromText(
        std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

TEST(IniReader, FollowsTheTableRules) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> value;
        std::optional<int> integer;
    };
    const Case cases[] = {
        {"plain key", "[org1]\r\nSize_A=9\r\n", "org1", "Size_A", "9", 9},
        {"blanks around line, key and value", "[org1]\r\n  Size_A \t=  9  \r\n", "org1", "Size_A",
         "9", 9},
        {"trailing blank after a number", "[org1]\r\nBtn_A1_Enable=1 \r\n", "org1", "Btn_A1_Enable",
         "1", 1},
        {"key and section ignore letter case", "[ORG1]\r\nsize_a=9\r\n", "org1", "SIZE_A", "9", 9},
        {"first line with a key wins", "[org1]\r\nKey1_X=135\r\nKEY1_X=999\r\n", "org1", "Key1_X",
         "135", 135},
        {"a repeated section adds only new keys",
         "[org1]\r\nA=1\r\n[org2]\r\nA=2\r\n[org1]\r\nA=3\r\nB=4\r\n", "org1", "B", "4", 4},
        {"comment line is no key", "[org1]\r\n;Size_A=7\r\nSize_A=9\r\n", "org1", "Size_A", "9", 9},
        {"banner line is no key", "[org1]\r\n//****\r\n// Size_A\r\n", "org1", "// Size_A",
         std::nullopt, std::nullopt},
        {"comment with any bytes", "[org1]\r\n;\xB0\xB4\xC5\xA5\x00\xFF=\r\nSize_A=9"s, "org1",
         "Size_A", "9", 9},
        {"lone LF and CR end lines too", "[org1]\nA=1\rB=2\n", "org1", "B", "2", 2},
        {"key of another section", "[org1]\r\nA=1\r\n[org2]\r\n", "org2", "A", std::nullopt,
         std::nullopt},
        {"key before any section", "A=1\r\n[org1]\r\n", "org1", "A", std::nullopt, std::nullopt},
        {"missing key", "[org1]\r\n", "org1", "Size_A", std::nullopt, std::nullopt},
        {"empty value", "[org1]\r\nSize_A=\r\n", "org1", "Size_A", "", std::nullopt},
        {"value with an equals sign", "[org]\r\nWeb=a?b=c\r\n", "org", "Web", "a?b=c",
         std::nullopt},
        {"not a number", "[org1]\r\nSize_A=9a\r\n", "org1", "Size_A", "9a", std::nullopt},
        {"blank inside a number", "[org1]\r\nSize_A=1 2\r\n", "org1", "Size_A", "1 2",
         std::nullopt},
        {"hexadecimal is not decimal", "[org1]\r\nSize_A=0x10\r\n", "org1", "Size_A", "0x10",
         std::nullopt},
        {"minus sign", "[org1]\r\nA=-5\r\n", "org1", "A", "-5", -5},
        {"plus sign", "[org1]\r\nB=+7\r\n", "org1", "B", "+7", 7},
        {"double sign", "[org1]\r\nC=+-1\r\n", "org1", "C", "+-1", std::nullopt},
        {"too large for a number", "[org1]\r\nA=99999999999\r\n", "org1", "A", "99999999999",
         std::nullopt},
        {"text cut inside a line", "[org1]\r\nSize_A=9", "org1", "Size_A", "9", 9},
    };
    for (const Case& c : cases) {
        const IniReader ini = read(c.text);
        const std::optional<std::string_view> value = ini.value(c.section, c.key);
        EXPECT_EQ(value ? std::optional<std::string>(*value) : std::nullopt, c.value) << c.what;
        EXPECT_EQ(ini.integer(c.section, c.key), c.integer) << c.what;
        EXPECT_EQ(ini.text(c.section, c.key), c.value.value_or("")) << c.what;
    }
}

TEST(IniReader, ListsKeysInTableOrderOnce) {
    const IniReader ini = read("[lang1]\r\nTitle=a\r\nStr000=b\r\nstr000=c\r\nStr001=d\r\n");
    EXPECT_EQ(ini.keys("LANG1"), (std::vector<std::string>{"Title", "Str000", "Str001"}));
    EXPECT_TRUE(ini.keys("lang2").empty());
}

TEST(IniReader, ColourHasRedInTheLowByte) {
    EXPECT_EQ(colourOf(113, 111, 100).value, 113u + 111u * 256 + 100u * 65536);
    const Colour c = colourOf(0, 128, 255);
    EXPECT_EQ(c.red(), 0);
    EXPECT_EQ(c.green(), 128);
    EXPECT_EQ(c.blue(), 255);
}

}  // namespace
}  // namespace kvr
