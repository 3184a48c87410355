#include "buttons/button_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "params/button_code.h"
#include "support/english_texts.h"

namespace kvr {
namespace {

struct TextCase {
    std::string_view text;
    std::optional<ButtonCode> code;
};

TEST(CodeText, ParsesTheFirstSixDigitsAndRefusesBadText) {
    const TextCase cases[] = {
        {"0300E9", ButtonCode{0x03, 0x00, 0xE9}},
        {"0300e9", ButtonCode{0x03, 0x00, 0xE9}},
        {"02010405", ButtonCode{0x02, 0x01, 0x04}},
        {"FFFFFF", ButtonCode{0xFF, 0xFF, 0xFF}},
        {"", std::nullopt},
        {"04", std::nullopt},
        {"03022", std::nullopt},
        {"0G0000", std::nullopt},
        {"01 100", std::nullopt},
        {"-10100", std::nullopt},
    };
    for (const TextCase& c : cases) EXPECT_EQ(parseCodeText(c.text), c.code) << c.text;
}

TEST(CodeText, BytesBecomeSixUpperCaseDigitsClassFirst) {
    EXPECT_EQ(codeText({0x03, 0x00, 0xE9}), "0300E9");
    EXPECT_EQ(codeText({0x00, 0x00, 0x00}), "000000");
    EXPECT_EQ(codeText({0xAB, 0xCD, 0xEF}), "ABCDEF");
}

struct NameCase {
    std::string_view codeText;
    std::string_view name;

    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.codeText; }
};

class DisplayNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(DisplayNameTest, WithMacroSupport) {
    // One stored macro, at 528.
    const CodeNaming naming{
        .texts = test::englishLookup(),
        .macroNameAt = [](std::uint16_t address) -> std::optional<std::string> {
            if (address == 0x0210) return "MyMacro";
            return std::nullopt;
        },
    };
    EXPECT_EQ(CodeToDisplayName(GetParam().codeText, naming), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DisplayNameTest,
    testing::Values(NameCase{"010100", "Left Key"}, NameCase{"011000", "Forward"},
                    NameCase{"0300E9", "Volume +"}, NameCase{"030223", "Home"},
                    NameCase{"03022A", "Favorites"}, NameCase{"030194", "My Computer"},
                    NameCase{"050000", "DPI"}, NameCase{"090000", "LED Switch"},
                    // Fire key whatever its data bytes.
                    NameCase{"040420", "Fire Key"}, NameCase{"040000", "Fire Key"},
                    NameCase{"04FFFF", "Fire Key"},
                    // Keyboard: modifier prefixes in fixed order, then the key.
                    NameCase{"020807", "Win+D"}, NameCase{"020300", "Ctrl+Shift+"},
                    NameCase{"020000", ""}, NameCase{"020100", "Ctrl+"},
                    NameCase{"020F04", "Ctrl+Shift+Alt+Win+A"}, NameCase{"020164", "Ctrl+OEM_102"},
                    NameCase{"020187", "Ctrl+"}, NameCase{"0200E3", "Win"}, NameCase{"02010405", "Ctrl+A"},
                    // Macros by the slot that starts at the address.
                    NameCase{"060210", "MyMacro"}, NameCase{"060200", ""},
                    // No name.
                    NameCase{"000000", ""}, NameCase{"FFFFFF", ""}, NameCase{"0A0000", ""},
                    NameCase{"010300", ""}, NameCase{"0300E8", ""}, NameCase{"0101", ""},
                    NameCase{"zzzzzz", ""}),
    [](const testing::TestParamInfo<NameCase>& info) {
        return "Code" + std::string(info.param.codeText);
    });

TEST(DisplayName, MacroCodesHaveNoNameWithoutMacroSupport) {
    const CodeNaming naming{.texts = test::englishLookup(), .macroNameAt = {}};
    EXPECT_EQ(CodeToDisplayName("060210", naming), "");
}

TEST(DisplayName, MissingLanguageTextGivesAnEmptyName) {
    const CodeNaming naming{.texts = test::lookupIn({}), .macroNameAt = {}};
    EXPECT_EQ(CodeToDisplayName("010100", naming), "");
    EXPECT_EQ(CodeToDisplayName("040420", naming), "");
    EXPECT_EQ(CodeToDisplayName("020807", naming), "Win+D") << "key names are not translated";
}

TEST(MenuEntry, CodesOfFixedEntriesAndTheFireKey) {
    struct Case {
        int entry;
        FireKeySetting fire;
        std::string_view code;
    };
    const Case cases[] = {
        {900, {}, "010100"},
        {901, {}, "010200"},
        {904, {}, "011000"},
        {1001, {}, "050000"},
        {1004, {}, "090000"},
        {1102, {}, "03018A"},
        {1300, {}, "0300CD"},
        {1406, {}, "03022A"},
        {1000, {2, 16}, "040410"},
        {1000, {127, 255}, "04FEFF"},
        {1000, {5, 40}, "040A28"},
        {1000, {0, 0}, "040000"},
        {1000, {300, 1}, "04FE01"},
        {0, {}, ""},
        {905, {}, ""},
        {1200, {}, ""},
        {-1, {}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeForMenuEntry(c.entry, c.fire), c.code) << c.entry;
}

TEST(MenuEntry, EveryFixedEntryIsNamedByItsOwnKey) {
    const CodeNaming naming{.texts = [](std::string_view key) { return std::string(key); },
                            .macroNameAt = {}};
    for (const MenuEntry& e : menuEntries()) {
        const std::string code = CodeForMenuEntry(e.entry, {});
        EXPECT_EQ(code.size(), 6u) << e.control;
        EXPECT_EQ(CodeToDisplayName(code, naming), e.nameKey) << e.control;
    }
}

}  // namespace
}  // namespace kvr
