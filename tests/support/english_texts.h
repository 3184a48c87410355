#pragma once
// The English texts the conversions and names read, as a stand-in for the language tables.
#include <map>
#include <string>
#include <string_view>

#include "base/text_lookup.h"

namespace kvr::test {

inline const std::map<std::string, std::string, std::less<>>& englishTexts() {
    static const std::map<std::string, std::string, std::less<>> kTexts = {
        {"Str210", "Left Key"},    {"Str211", "Right Key"},
        {"Str212", "Middle Key"},  {"Str213", "Backward"},
        {"Str214", "Forward"},     {"Str230", "Fire Key"},
        {"Str231", "DPI"},         {"Str232", "DPI +"},
        {"Str233", "DPI -"},       {"Str234", "LED Switch"},
        {"Str240", "My Computer"}, {"Str241", "Calculator"},
        {"Str242", "E-Mail"},      {"Str250", "Play/Pause"},
        {"Str251", "Stop"},        {"Str252", "Previous Track"},
        {"Str253", "Next Track"},  {"Str254", "Volume +"},
        {"Str255", "Volume -"},    {"Str256", "Mute"},
        {"Str260", "Home"},        {"Str261", "Search"},
        {"Str262", "Backward"},    {"Str263", "Forward"},
        {"Str264", "Stop"},        {"Str265", "Refresh"},
        {"Str266", "Favorites"},   {"Str300", "500"},
        {"Str301", "800"},         {"Str302", "1600"},
        {"Str303", "1200"},        {"Str304", "2400"},
        {"Str305", "2400"},        {"Str306", "3200"},
        {"Str307", "4000"},
    };
    return kTexts;
}

// A lookup over a map; keys it lacks read as empty, as in the language tables.
inline TextLookup lookupIn(std::map<std::string, std::string, std::less<>> texts) {
    return [texts = std::move(texts)](std::string_view key) {
        const auto it = texts.find(key);
        return it == texts.end() ? std::string() : it->second;
    };
}

inline TextLookup englishLookup() { return lookupIn(englishTexts()); }

}  // namespace kvr::test
