#include "base/file_refusal.h"

namespace kvr {

namespace {

constexpr std::string_view kRefusedKey = "Str140";

// The first "%N" of `text` replaced by `value`.
std::string fill(std::string text, std::string_view mark, const std::string& value) {
    if (const std::size_t at = text.find(mark); at != std::string::npos)
        text.replace(at, mark.size(), value);
    return text;
}

}  // namespace

std::string refusalMessage(const std::string& file, const FileRefusal& refusal,
                           const TextLookup& text) {
    const std::string reason = fill(text(refusal.reason), "%1", refusal.value);
    return fill(fill(text(kRefusedKey), "%1", file), "%2", reason);
}

}  // namespace kvr
