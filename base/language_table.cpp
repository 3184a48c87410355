#include "base/language_table.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "base/resources.h"

namespace kvr {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kHighestTextKey = 600;

bool isSeparator(char32_t c) { return c <= U' '; }

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string tableName(int languageIndex) { return "lang" + std::to_string(languageIndex); }

}  // namespace

std::optional<std::u32string> decodeUtf16Le(std::span<const unsigned char> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return std::nullopt;
    std::u32string text;
    text.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) { return char32_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    for (std::size_t i = 1; i < units; ++i) {
        const char32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                text += char32_t(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        text += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u;
    }
    return text;
}

std::vector<std::string> cutLanguageItems(std::u32string_view text) {
    std::vector<std::string> items;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        std::string item;
        if (text[i] == U'"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == U'"') {
                    if (i + 1 < text.size() && text[i + 1] == U'"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                appendUtf8(item, text[i++]);
            }
        } else {
            while (i < text.size() && !isSeparator(text[i])) appendUtf8(item, text[i++]);
        }
        items.push_back(std::move(item));
    }
    return items;
}

LanguageTableResult LanguageTable::fromBytes(std::span<const unsigned char> bytes,
                                             int languageIndex) {
    const std::optional<std::u32string> text = decodeUtf16Le(bytes);
    if (!text) {
        return {std::nullopt, "The language table \"" + tableName(languageIndex) +
                                  "\" is not UTF-16 text with a byte-order mark."};
    }
    const std::vector<std::string> items = cutLanguageItems(*text);
    return {LanguageTable(IniReader::fromLines(items), languageIndex), {}};
}

namespace {

// The built-in tables never change: each is read once, on first use, and kept. Recording threads
// ask for texts too, hence the lock.
const LanguageTableResult& builtInTable(int languageIndex) {
    static std::mutex mutex;
    static std::map<int, LanguageTableResult> read;
    const std::lock_guard lock(mutex);
    auto it = read.find(languageIndex);
    if (it == read.end()) {
        const std::string name = tableName(languageIndex);
        const auto bytes = findResource(name);
        LanguageTableResult result =
            bytes ? LanguageTable::fromBytes(*bytes, languageIndex)
                  : LanguageTableResult{std::nullopt,
                                        "The language table \"" + name + "\" is missing."};
        it = read.emplace(languageIndex, std::move(result)).first;
    }
    return it->second;
}

}  // namespace

LanguageTableResult LanguageTable::LoadLanguageTable(int languageIndex) {
    return builtInTable(languageIndex);
}

LanguageTable::LanguageTable(IniReader reader, int languageIndex)
    : reader_(std::move(reader)),
      languageIndex_(languageIndex),
      section_(tableName(languageIndex)) {}

std::string LanguageTable::text(std::string_view key) const { return reader_.text(section_, key); }

std::vector<std::string> LanguageTable::keys() const { return reader_.keys(section_); }

std::vector<std::pair<std::string_view, std::string_view>> LanguageTable::entries() const {
    return reader_.entries(section_);
}

std::string LanguageText(int languageIndex, std::string_view key) {
    const LanguageTableResult& loaded = builtInTable(languageIndex);
    return loaded.table ? loaded.table->text(key) : std::string();
}

TextLookup languageLookup(std::function<int()> currentLanguage) {
    return [currentLanguage = std::move(currentLanguage)](std::string_view key) {
        return LanguageText(currentLanguage(), key);
    };
}

namespace {

// The number of a key as the search forms them, "str" and digits without leading zeros, up to
// the highest; empty for any other key. `lowerKey` is in lower case.
std::optional<int> textKeyNumber(std::string_view lowerKey) {
    if (!lowerKey.starts_with("str")) return std::nullopt;
    const std::string_view digits = lowerKey.substr(3);
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n <= kHighestTextKey ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

std::string FindTextKey(std::string_view text, std::span<const LanguageTable> tables) {
    // The last match is the highest key of the last table that has one: searched from there,
    // over each table's own entries rather than over every key the search could form.
    for (auto table = tables.rbegin(); table != tables.rend(); ++table) {
        int highest = -1;
        if (text.empty()) {
            // Every key the table lacks matches, so the entries alone cannot tell.
            for (int n = kHighestTextKey; n >= 0 && highest < 0; --n)
                if (table->text("Str" + std::to_string(n)).empty()) highest = n;
        } else {
            for (const auto& [key, value] : table->entries()) {
                if (value != text) continue;
                if (const std::optional<int> n = textKeyNumber(key)) highest = std::max(highest, *n);
            }
        }
        if (highest >= 0) return "Str" + std::to_string(highest);
    }
    return {};
}

std::string FindTextKey(std::string_view text) {
    std::vector<LanguageTable> tables;
    for (int n = 1; n <= kLanguageCount; ++n) {
        LanguageTableResult loaded = LanguageTable::LoadLanguageTable(n);
        if (loaded.table) tables.push_back(std::move(*loaded.table));
    }
    return FindTextKey(text, tables);
}

void MessageTexts::store(const LanguageTable& table, std::string_view key) {
    for (std::size_t i = 0; i < std::size(kStoredMessageKeys); ++i) {
        if (kStoredMessageKeys[i] == key) texts_[i] = table.text(key);
    }
}

const std::string& MessageTexts::text(std::string_view key) const {
    static const std::string kNone;
    for (std::size_t i = 0; i < std::size(kStoredMessageKeys); ++i) {
        if (kStoredMessageKeys[i] == key) return texts_[i];
    }
    return kNone;
}

TextLookup MessageTexts::lookup() const {
    return [this](std::string_view key) { return text(key); };
}

}  // namespace kvr
