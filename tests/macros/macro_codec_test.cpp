#include "macros/macro_codec.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "macros/default_library.h"

namespace kvr {
namespace {

MacroContent content(std::initializer_list<std::uint8_t> bytes) {
    MacroContent c{};
    std::size_t i = 0;
    for (std::uint8_t b : bytes) c[i++] = b;
    return c;
}

std::vector<std::uint8_t> stored(const MacroContent& c) {
    const auto bytes = macroBytes(c);
    return {bytes.begin(), bytes.end()};
}

TEST(MacroCodec, CompilesLinesIntoLengthEventsAndChecksum) {
    struct Case {
        const char* what;
        MacroLines lines;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        // L = 1 + event bytes, checksum over bytes 0..L-1.
        {"key, 50 ms, key",
         {"00", "1 A CODE:8204", "0 50", "2 A CODE:0204"},
         {0x07, 0x82, 0x04, 0xFE, 0x06, 0x02, 0x04, 0xCD}},
        {"2040 ms ends in FE 00", {"10", "0 2040"}, {0x05, 0xFE, 0xFF, 0xFE, 0x00, 0x5A}},
        {"5 ms is FE 00", {"10", "0 5"}, {0x03, 0xFE, 0x00, 0x5B}},
        {"10200 ms",
         {"10", "0 10200"},
         {0x0D, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0x00, 0xA6}},
        {"mouse buttons keep only their byte",
         {"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"},
         {0x03, 0xA1, 0x21, 0x9F}},
        {"modifiers",
         {"00", "1 Ctrl CODE:8101", "2 Ctrl CODE:0101"},
         {0x05, 0x81, 0x01, 0x01, 0x01, 0xD3}},
        {"only the first and the last four characters count",
         {"00", "1 whatever CODE:8206", "2 CODE:0206"},
         {0x05, 0x82, 0x06, 0x02, 0x06, 0xCF}},
        {"an unreadable delay is 0 ms", {"00", "0 soon"}, {0x03, 0xFE, 0x00, 0x5B}},
        {"lines that are not hexadecimal at the end are left out",
         {"00", "1 A CODE:82ZZ", "1", "2 A CODE:0204"},
         {0x03, 0x02, 0x04, 0x53}},
        {"the library's record 9",
         {"10", "1 E CODE:8208", "0 88", "2 E CODE:0208", "0 40", "1 Q CODE:8214", "0 136",
          "2 Q CODE:0214"},
         {0x0F, 0x82, 0x08, 0xFE, 0x0B, 0x02, 0x08, 0xFE, 0x05, 0x82, 0x14, 0xFE, 0x11, 0x02, 0x14,
          0x30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto compiled = CompileMacroLines(c.lines);
        ASSERT_TRUE(compiled);
        EXPECT_EQ(stored(compiled->content), c.bytes);
        EXPECT_EQ(compiled->hexText, hexBytes(c.bytes));
        EXPECT_TRUE(std::all_of(compiled->content.begin() + static_cast<long>(c.bytes.size()),
                                compiled->content.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

TEST(MacroCodec, NoEventsCompileToTheEmptyMacro) {
    for (const MacroLines& lines : {MacroLines{}, MacroLines{"00"}, MacroLines{"0150", ""}}) {
        const auto compiled = CompileMacroLines(lines);
        ASSERT_TRUE(compiled);
        EXPECT_EQ(compiled->content, emptyMacroContent());
        EXPECT_EQ(compiled->hexText, "");
    }
}

TEST(MacroCodec, MoreThan254EventBytesAreRefused) {
    MacroLines lines{"00"};
    for (int i = 0; i < 127; ++i) lines.push_back(i % 2 ? "2 A CODE:0204" : "1 A CODE:8204");
    const auto longest = CompileMacroLines(lines);  // 254 event bytes: L = 255
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->content[0], 255);
    EXPECT_TRUE(macroChecksumHolds(longest->content));

    lines.push_back("1 LeftKey CODE:00A1");
    EXPECT_FALSE(CompileMacroLines(lines));
    EXPECT_FALSE(CompileMacroLines(MacroLines{"10", "0 2000000000"}));
}

TEST(MacroCodec, DecodesContentIntoLinesAndDelayMode) {
    struct Case {
        const char* what;
        MacroContent content;
        MacroLines lines;
        DelayMode mode;
    };
    const std::vector<Case> cases = {
        {"the empty macro", content({0x01, 0xFF}), {"00"}, DelayMode::None},
        {"no macro", MacroContent{}, {"00"}, DelayMode::None},
        {"a final one-byte release",
         content({0x05, 0xA1, 0xFE, 0x06, 0x21, 0x00}),
         {"10", "1 LeftKey CODE:00A1", "0 48", "2 LeftKey CODE:0021"},
         DelayMode::Recorded},
        {"five pairs merge, the sixth starts a new line",
         content(
             {0x0D, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0x00, 0x01}),
         {"10", "0 10200", "0 0"},
         DelayMode::Recorded},
        {"keys and modifiers by name",
         content({0x09, 0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01, 0x00}),
         {"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"},
         DelayMode::None},
        // Unknown bytes, FC and FD are stepped over; a modifier pair with several bits still
        // shows and decoding goes on after it.
        {"bytes this program never writes",
         content({0x0A, 0x55, 0xFC, 0xFD, 0x12, 0x81, 0x03, 0x81, 0x10, 0xA4, 0x00}),
         {"00", "1 Ctrl+Shift CODE:8103", "1 Modifier CODE:8110", "1 MiddleKey CODE:00A4"},
         DelayMode::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedMacro decoded = DecodeMacroContent(c.content, true);
        EXPECT_EQ(decoded.lines, c.lines);
        EXPECT_EQ(decoded.mode, c.mode);
    }
}

TEST(MacroCodec, DelayHeaderComesFromTheFirstFourDelays) {
    const auto header = [](const MacroLines& lines) {
        const auto compiled = CompileMacroLines(lines);
        const DecodedMacro d = DecodeMacroContent(compiled->content, true);
        return std::make_pair(d.lines[0], d.fixedDelay);
    };
    // 50 ms is stored in 8 ms units and reads back as 48 ms.
    EXPECT_EQ(header({"00", "0 50", "1 A CODE:8204", "0 50", "2 A CODE:0204", "0 50",
                      "1 A CODE:8204", "0 50", "2 A CODE:0204", "0 100"}),
              std::make_pair(std::string("0148"), 48));
    // Fewer than four delays count the missing ones as 0.
    EXPECT_EQ(header({"00", "1 A CODE:8204", "0 50", "2 A CODE:0204", "0 50"}).first, "10");
    EXPECT_EQ(header({"00", "1 A CODE:8204", "2 A CODE:0204"}).first, "00");
}

TEST(MacroCodec, WithoutMacroSupportOnlyTheHeaderIsShown) {
    const DecodedMacro decoded = DecodeMacroContent(content({0x03, 0xA1, 0x21, 0x9F}), false);
    EXPECT_EQ(decoded.lines, MacroLines{"00"});
    EXPECT_EQ(decoded.mode, DelayMode::None);
}

TEST(MacroCodec, ATwoByteEventAtTheEndReadsTheChecksumAndStops) {
    MacroContent c{};
    c[0] = 255;
    for (std::size_t i = 1; i < 255; ++i) c[i] = 0x82;  // every pair: key press of usage 0x82
    c[255] = 0x12;
    const DecodedMacro decoded = DecodeMacroContent(c, true);
    EXPECT_EQ(decoded.lines.size(), 1u + 127u);
}

TEST(MacroCodec, EveryBuiltInMacroDecodesToLinesThatCompileBackToItsBytes) {
    for (const PCMacroSlot& slot : buildDefaultLibrary()) {
        if (!slot.inUse()) break;
        SCOPED_TRACE(macroNameText(slot.name));
        ASSERT_TRUE(macroChecksumHolds(slot.content));
        const DecodedMacro decoded = DecodeMacroContent(slot.content, true);
        const auto again = CompileMacroLines(decoded.lines);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->content, slot.content);
    }
}

TEST(MacroNames, AreBigEndianUtf16CutToEightUnits) {
    const MacroName copy = MacroNameStrToUnicode("Copy");
    EXPECT_EQ(hexBytes(copy), "0043006F007000790000000000000000");
    EXPECT_EQ(macroNameText(copy), "Copy");

    // The name dialog takes 14 characters; the field keeps the first 8.
    EXPECT_EQ(macroNameText(MacroNameStrToUnicode("FourteenLetter")), "Fourteen");
    // A character outside the basic plane takes two units and is never cut in half.
    EXPECT_EQ(macroNameText(MacroNameStrToUnicode("Seven77\xF0\x9F\x98\x80")), "Seven77");
    EXPECT_EQ(macroNameText(MacroNameStrToUnicode("Six666\xF0\x9F\x98\x80")),
              "Six666\xF0\x9F\x98\x80");

    const MacroName library{0x59, 0x73, 0x8B, 0x66, 0x00, 0x45, 0x00, 0x51};
    EXPECT_EQ(macroNameText(library),
              "\xE5\xA5\xB3\xE8\xAD\xA6"
              "EQ");
    EXPECT_EQ(MacroNameStrToUnicode(macroNameText(library)), library);

    // The shown name ends at the first zero unit.
    EXPECT_EQ(macroNameText(MacroName{0x00, 0x41, 0x00, 0x00, 0x00, 0x42}), "A");
    EXPECT_FALSE(macroNameInUse(MacroName{0x00, 0x00, 0x00, 0x42}));
}

}  // namespace
}  // namespace kvr
