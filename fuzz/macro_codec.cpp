// Macro content bytes as the mouse and the library hold them, decoded into the page's lines and
// compiled back; and name bytes into text and back.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "macros/macro_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    MacroContent content{};
    std::copy_n(data, std::min(size, content.size()), content.begin());
    for (bool support : {true, false}) {
        const DecodedMacro decoded = DecodeMacroContent(content, support);
        if (decoded.lines.empty()) fuzz::broken("a decoded macro has no header line");
        const auto compiled = CompileMacroLines(decoded.lines);
        if (compiled && !macroChecksumHolds(compiled->content) &&
            macroLength(compiled->content) != 1) {
            fuzz::broken("a compiled macro fails its own checksum");
        }
    }
    (void)macroBytes(content);

    MacroName name{};
    std::copy_n(data, std::min(size, name.size()), name.begin());
    const std::string text = macroNameText(name);
    (void)MacroNameStrToUnicode(text);
    (void)MacroNameStrToUnicode(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
