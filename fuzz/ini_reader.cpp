// The INI reader on any 8-bit text, with lookups of what it found.
#include <cstdint>
#include <span>
#include <string>

#include "base/ini_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    const IniReader reader = IniReader::fromText(std::span(data, size));
    for (const char* section : {"org", "Org", "lang1", "layout", ""}) {
        for (const std::string& key : reader.keys(section)) {
            if (!reader.value(section, key)) fuzz::broken("a listed key has no value");
            (void)reader.integer(section, key);
        }
    }
    (void)parseInteger(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
