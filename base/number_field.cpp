#include "base/number_field.h"

#include <cassert>

namespace kvr {

namespace {

// Any value above every field's maximum will do; it only has to stop the sum growing.
constexpr unsigned kSaturated = 1'000'000;

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<unsigned> parseFieldNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > kSaturated) value = kSaturated;
    }
    return value;
}

std::string exitNumberField(std::string_view text, const NumberFieldRule& rule) {
    const std::optional<unsigned> value = parseFieldNumber(text);
    if (!value || (rule.oneMeansEmpty && trimBlanks(text) == "1")) {
        return std::string(rule.emptyValue);
    }
    if (*value > rule.max) return std::to_string(rule.max);
    return std::string(trimBlanks(text));
}

unsigned numberFieldValue(std::string_view text, const NumberFieldRule& rule) {
    const std::optional<unsigned> value = parseFieldNumber(exitNumberField(text, rule));
    assert(value && "a field's empty value is a number");
    return value.value_or(0);
}

}  // namespace kvr
