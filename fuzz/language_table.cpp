// A language table from any bytes: UTF-16 decoding, cutting into items and the lookups the
// window makes.
#include <cstdint>
#include <span>
#include <string>

#include "base/language_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    const std::span<const unsigned char> bytes(data, size);
    if (const auto text = decodeUtf16Le(bytes)) (void)cutLanguageItems(*text);
    for (int language = 1; language <= kLanguageCount; ++language) {
        const LanguageTableResult result = LanguageTable::fromBytes(bytes, language);
        if (!result.table) {
            if (result.error.empty()) fuzz::broken("a refused table has no message");
            continue;
        }
        for (const std::string& key : result.table->keys()) (void)result.table->text(key);
        MessageTexts texts;
        for (std::string_view key : kStoredMessageKeys) texts.store(*result.table, key);
        (void)FindTextKey(texts.text("Str100"), std::span(&*result.table, 1));
    }
    return 0;
}
