#pragma once
// The language tables built into the program ("LANG1".."LANG3"): every text the window shows,
// by key ("Title", "Str020"), read from UTF-16 tables with quoted entries.
#include <array>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ini_reader.h"
#include "base/text_lookup.h"

namespace kvr {

constexpr int kLanguageCount = 3;

// The text of a UTF-16 little-endian table as code points; empty when the byte-order mark
// FF FE is missing. A lone byte at the end is dropped and an unpaired surrogate reads as
// U+FFFD.
std::optional<std::u32string> decodeUtf16Le(std::span<const unsigned char> bytes);

// Cuts a table's text into items, as UTF-8. Blanks and control characters separate items; an
// item that begins with a double quote runs to its closing quote (to the end of the text when
// there is none), may hold blanks, and reads two quotes inside it as one.
std::vector<std::string> cutLanguageItems(std::u32string_view text);

struct LanguageTableResult;

class LanguageTable {
public:
    // A table read from its bytes; its entries are those of section "lang" + index.
    static LanguageTableResult fromBytes(std::span<const unsigned char> bytes, int languageIndex);
    // The built-in table of a language (1..3).
    static LanguageTableResult LoadLanguageTable(int languageIndex);

    int languageIndex() const { return languageIndex_; }
    // The text of a key, letter case of the key ignored; empty when the key is absent.
    std::string text(std::string_view key) const;
    std::vector<std::string> keys() const;
    // Each key, in lower case, with its text.
    std::vector<std::pair<std::string_view, std::string_view>> entries() const;

private:
    LanguageTable(IniReader reader, int languageIndex);

    IniReader reader_;
    int languageIndex_ = 1;
    std::string section_;
};

struct LanguageTableResult {
    std::optional<LanguageTable> table;
    std::string error;  // for the user when there is no table
};

// The text of a key in a built-in language, read afresh; empty when the key or the table is
// absent.
std::string LanguageText(int languageIndex, std::string_view key);

// A lookup of the current language, asked for each time it is used.
TextLookup languageLookup(std::function<int()> currentLanguage);

// The key ("Str100".."Str600") whose text is exactly `text`, searched over the tables in order
// and over the keys in ascending order, the last match winning; empty when none matches. Keys
// are formed without leading zeros, so only "Str100" upward can match a non-empty text, and an
// empty text matches a key that every table lacks.
std::string FindTextKey(std::string_view text, std::span<const LanguageTable> tables);
// The same over the three built-in tables; a table that cannot be read is skipped.
std::string FindTextKey(std::string_view text);

// The texts that a language switch stores for the messages and pages of the window.
inline constexpr std::string_view kStoredMessageKeys[] = {
    "Title",  "Str001", "Str020", "Str100", "Str101", "Str102", "Str103", "Str106",
    "Str107", "Str108", "Str110", "Str111", "Str113", "Str114", "Str115", "Str116",
    "Str117", "Str118", "Str119", "Str120", "Str121", "Str122", "Str123", "Str124",
    "Str125", "Str126", "Str127", "Str128", "Str129", "Str130", "Str131", "Str132",
    "Str140", "Str141", "Str210", "Str300", "Str301", "Str302", "Str303", "Str304",
    "Str305", "Str306", "Str307", "Str400", "Str401", "Str420", "Str421", "Str422"};

class MessageTexts {
public:
    // Stores the table's text of `key`; keys outside kStoredMessageKeys are not kept.
    void store(const LanguageTable& table, std::string_view key);
    // The stored text of a key; empty for a key not stored.
    const std::string& text(std::string_view key) const;
    const std::string& TitleText() const { return text("Title"); }
    // A lookup of the stored texts, valid while this object lives.
    TextLookup lookup() const;

private:
    std::array<std::string, std::size(kStoredMessageKeys)> texts_;
};

}  // namespace kvr
