#include "base/ini_reader.h"

#include <charconv>
#include <limits>

namespace kvr {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

std::string lowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

IniReader IniReader::fromText(std::span<const unsigned char> text) {
    IniReader reader;
    Section* current = nullptr;
    const std::string_view all(reinterpret_cast<const char*>(text.data()), text.size());
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = all.size();
        reader.addLine(all.substr(start, end - start), current);
        start = end + 1;
    }
    return reader;
}

IniReader IniReader::fromLines(std::span<const std::string> lines) {
    IniReader reader;
    Section* current = nullptr;
    for (const std::string& line : lines) reader.addLine(line, current);
    return reader;
}

void IniReader::addLine(std::string_view line, Section*& current) {
    line = trim(line);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[' && line.back() == ']') {
        const std::string name = lowerCase(trim(line.substr(1, line.size() - 2)));
        current = &sections_[name];
        return;
    }
    const std::size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) return;
    const std::string_view key = trim(line.substr(0, equals));
    if (key.empty()) return;
    const auto [it, added] =
        current->values.try_emplace(lowerCase(key), trim(line.substr(equals + 1)));
    if (added) current->order.emplace_back(key);
}

std::optional<std::string_view> IniReader::value(std::string_view section,
                                                 std::string_view key) const {
    const auto s = sections_.find(lowerCase(section));
    if (s == sections_.end()) return std::nullopt;
    const auto v = s->second.values.find(lowerCase(key));
    if (v == s->second.values.end()) return std::nullopt;
    return std::string_view(v->second);
}

std::string IniReader::text(std::string_view section, std::string_view key) const {
    return std::string(value(section, key).value_or(std::string_view()));
}

std::optional<int> IniReader::integer(std::string_view section, std::string_view key) const {
    const std::optional<std::string_view> v = value(section, key);
    if (!v) return std::nullopt;
    return parseInteger(*v);
}

std::vector<std::string> IniReader::keys(std::string_view section) const {
    const auto s = sections_.find(lowerCase(section));
    if (s == sections_.end()) return {};
    return s->second.order;
}

std::vector<std::pair<std::string_view, std::string_view>> IniReader::entries(
    std::string_view section) const {
    std::vector<std::pair<std::string_view, std::string_view>> all;
    const auto s = sections_.find(lowerCase(section));
    if (s == sections_.end()) return all;
    all.reserve(s->second.values.size());
    for (const auto& [key, value] : s->second.values) all.emplace_back(key, value);
    return all;
}

std::optional<int> parseInteger(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // "+-5" is not a number.
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    int result = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, result);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return result;
}

Colour colourOf(int red, int green, int blue) {
    // Computed wide and kept to the colour's 32 bits, so that no table value overflows.
    const long long value = static_cast<long long>(red) + static_cast<long long>(green) * 256 +
                            static_cast<long long>(blue) * 65536;
    return Colour{static_cast<std::uint32_t>(value)};
}

}  // namespace kvr
