#include "base/language_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kvr {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes utf16Table(std::u16string_view text, bool withMark = true) {
    Bytes bytes;
    if (withMark) bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

TEST(LanguageTable, CutsItemsAtBlanksExceptInsideQuotes) {
    struct Case {
        std::u32string_view text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {U"[lang2]\r\n\r\n\"Str000=Confirm\"\r\n", {"[lang2]", "Str000=Confirm"}},
        {U"\"Str417=Delay Time\"", {"Str417=Delay Time"}},
        {U"Str417=Delay Time", {"Str417=Delay", "Time"}},
        {U"\"Str1=say \"\"hi\"\"\"", {"Str1=say \"hi\""}},
        {U"\"\"\"\"", {"\""}},
        {U"\"\"", {""}},
        {U"a\tb\x01"
         U"c\x7F"
         U"d",
         {"a", "b",
          "c\x7F"
          "d"}},
        {U"\"a b\"c d", {"a b", "c", "d"}},
        {U"\"a b", {"a b"}},
        {U"\"Str007=Avan\u00E7ado\" \"x=\U0001F600\"",
         {"Str007=Avan\xC3\xA7"
          "ado",
          "x=\xF0\x9F\x98\x80"}},
        {U"  \r\n\t ", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(cutLanguageItems(c.text), c.items);
}

TEST(LanguageTable, DecodesUtf16OnlyAfterTheByteOrderMark) {
    EXPECT_FALSE(decodeUtf16Le(utf16Table(u"[lang1]", false)));
    EXPECT_FALSE(decodeUtf16Le(Bytes{0xFE, 0xFF, 0, 'a'}));
    EXPECT_FALSE(decodeUtf16Le(Bytes{0xFF}));
    EXPECT_EQ(decodeUtf16Le(Bytes{0xFF, 0xFE}), U"");
    // A cut last unit is dropped; surrogates pair up or read as a replacement character.
    EXPECT_EQ(decodeUtf16Le(Bytes{0xFF, 0xFE, 'a', 0, 'b'}), U"a");
    EXPECT_EQ(decodeUtf16Le(utf16Table(u"\U0001F600")), U"\U0001F600");
    EXPECT_EQ(decodeUtf16Le(utf16Table(std::u16string{u'x', char16_t(0xD83D), u'y'})), U"x\uFFFDy");
    EXPECT_EQ(decodeUtf16Le(utf16Table(std::u16string{char16_t(0xDE00), char16_t(0xD83D)})),
              U"\uFFFD\uFFFD");
}

TEST(LanguageTable, ReadsQuotedEntriesOfItsOwnSection) {
    const Bytes bytes = utf16Table(
        u"[lang1]\r\n\"Str204=Fun\u00E7\u00E3o \"\r\n\"Str417=Tempo de Atraso\"\r\n"
        u"\"str417=second\"\r\n\";Str999=comment\"\r\n");
    const LanguageTableResult one = LanguageTable::fromBytes(bytes, 1);
    ASSERT_TRUE(one.table) << one.error;
    EXPECT_EQ(one.table->text("Str204"), "Fun\xC3\xA7\xC3\xA3o");
    EXPECT_EQ(one.table->text("STR417"), "Tempo de Atraso");
    EXPECT_EQ(one.table->text("Str999"), "");
    EXPECT_EQ(one.table->text("Str000"), "");

    const LanguageTableResult two = LanguageTable::fromBytes(bytes, 2);
    ASSERT_TRUE(two.table);
    EXPECT_EQ(two.table->text("Str417"), "");

    const LanguageTableResult unmarked =
        LanguageTable::fromBytes(utf16Table(u"[lang1]\r\n\"Str000=a\"", false), 1);
    EXPECT_FALSE(unmarked.table);
    EXPECT_NE(unmarked.error.find("lang1"), std::string::npos);
}

TEST(LanguageTable, BuiltInTablesHoldTheSameKeys) {
    std::set<std::string> firstKeys;
    for (int n = 1; n <= kLanguageCount; ++n) {
        const LanguageTableResult loaded = LanguageTable::LoadLanguageTable(n);
        ASSERT_TRUE(loaded.table) << loaded.error;
        const std::vector<std::string> keys = loaded.table->keys();
        EXPECT_EQ(keys.size(), 121u) << n;
        const std::set<std::string> set(keys.begin(), keys.end());
        if (n == 1) firstKeys = set;
        EXPECT_EQ(set, firstKeys) << n;
        for (const std::string& key : keys) {
            EXPECT_FALSE(loaded.table->text(key).empty()) << key;
        }
    }
    EXPECT_FALSE(LanguageTable::LoadLanguageTable(4).table);
}

TEST(LanguageTable, BuiltInTextsOfEachLanguage) {
    struct Case {
        int language;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {1, "Title", "KVR5507 Gaming Mouse"},
        {2, "Title", "KVR5507 Gaming Mouse"},
        {3, "Title", "KVR5507S Gaming Mouse"},
        {1, "Str204", "Fun\xC3\xA7\xC3\xA3o"},  // stored with a trailing blank
        {2, "Str204", "Fn"},
        {3, "Str204", "WWW Fn"},
        {1, "Str101", "Por favor, confira se o dispositivo est\xC3\xA1 conectado na porta USB"},
        {2, "Str020", "The specified device was not found"},
        {1, "Str400", "Grava\xC3\xA7\xC3\xA3o"},
        {2, "Str433", "Delete Macro"},
        {1, "Str304", "2400"},
        {2, "Str305", "2400"},
        {3, "Str302", "1000"},
        {3, "Str307", "3200"},
        {3, "Str231", "CPI"},
        {3, "Str262", "WWW Back"},
        {3, "Str011", "Language1"},
        {3, "Str013", "Language3"},
        {2, "Str200", "*"},
    };
    for (const Case& c : cases) EXPECT_EQ(LanguageText(c.language, c.key), c.text) << c.key;
    EXPECT_EQ(LanguageText(2, "Str999"), "");
    EXPECT_EQ(LanguageText(7, "Str000"), "");
}

TEST(LanguageTable, ThirdLanguageIsTheSecondWithItsOwnTexts) {
    const std::set<std::string> own = {"Title",  "Str011", "Str012", "Str204", "Str231",
                                       "Str232", "Str233", "Str260", "Str261", "Str262",
                                       "Str263", "Str264", "Str265", "Str266", "Str302",
                                       "Str304", "Str305", "Str306", "Str307"};
    const LanguageTableResult english = LanguageTable::LoadLanguageTable(2);
    const LanguageTableResult third = LanguageTable::LoadLanguageTable(3);
    ASSERT_TRUE(english.table && third.table);
    for (const std::string& key : english.table->keys()) {
        if (own.contains(key)) {
            EXPECT_NE(third.table->text(key), english.table->text(key)) << key;
        } else {
            EXPECT_EQ(third.table->text(key), english.table->text(key)) << key;
        }
    }
}

TEST(LanguageTable, FindTextKeyTakesTheLastMatch) {
    struct Case {
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"Backward", "Str213"},  // Str262 too, but only in language 2
        {"Stop", "Str401"},
        {"Bot\xC3\xA3o Esquerdo", "Str210"},
        {"Left Key", "Str210"},
        {"WWW Back", "Str262"},
        {"1600", "Str304"},     // language 3 moves it
        {"Confirm", "Str501"},  // Str000 is never formed: keys have no leading zeros
        {"Exit", ""},
        {"left key", ""},
        {"Ctrl+Alt+A", ""},
        {"", "Str600"},  // an empty text matches every key that no table has
    };
    for (const Case& c : cases) EXPECT_EQ(FindTextKey(c.text), c.key) << c.text;
}

TEST(LanguageTable, MessageTextsKeepOnlyTheStoredKeys) {
    const LanguageTableResult english = LanguageTable::LoadLanguageTable(2);
    ASSERT_TRUE(english.table);
    MessageTexts messages;
    for (const char* key : {"Title", "Str020", "Str000", "Str307"})
        messages.store(*english.table, key);
    EXPECT_EQ(messages.TitleText(), "KVR5507 Gaming Mouse");
    EXPECT_EQ(messages.text("Str020"), "The specified device was not found");
    EXPECT_EQ(messages.lookup()("Str307"), "4000");
    EXPECT_EQ(messages.text("Str000"), "");
    EXPECT_EQ(messages.text("Str101"), "");
}

}  // namespace
}  // namespace kvr
