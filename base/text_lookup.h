#pragma once
// Looks up a text of the current language by its key ("Str020"); empty when the key is unknown.
#include <functional>
#include <string>
#include <string_view>

namespace kvr {
using TextLookup = std::function<std::string(std::string_view key)>;
}  // namespace kvr
