#include "base/resources.h"

#include <algorithm>
#include <cctype>

namespace kvr {

namespace {
bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}
}  // namespace

const EmbeddedResource* findEntryIn(const EmbeddedResource* table, std::string_view name) {
    for (const EmbeddedResource* r = table; r->name != nullptr; ++r) {
        if (sameIgnoringCase(r->name, name)) return r;
    }
    return nullptr;
}

std::optional<std::span<const unsigned char>> findResourceIn(const EmbeddedResource* table,
                                                             std::string_view name) {
    const EmbeddedResource* r = findEntryIn(table, name);
    if (!r) return std::nullopt;
    return std::span<const unsigned char>(r->data, r->size);
}

std::optional<std::span<const unsigned char>> findResource(std::string_view name) {
    return findResourceIn(kEmbeddedResources, name);
}

}  // namespace kvr
