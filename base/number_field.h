#pragma once
// The rule a numeric edit box applies when the user leaves it, so that what is written to the
// mouse is always a whole number that fits its byte.
#include <optional>
#include <string>
#include <string_view>

namespace kvr {

struct NumberFieldRule {
    std::string_view emptyValue;  // what an empty or unreadable field becomes; a number
    unsigned max;                 // a larger number becomes this
    bool oneMeansEmpty = false;   // the fire-key fields raise exactly "1" like an empty field
};

// The decimal number a field's text stands for: digits only, blanks around them ignored. Empty
// for any other text; very long numbers read as a value above every field's maximum.
std::optional<unsigned> parseFieldNumber(std::string_view text);

// The text the field holds after its exit rule.
std::string exitNumberField(std::string_view text, const NumberFieldRule& rule);

// The number the field stands for after its exit rule.
unsigned numberFieldValue(std::string_view text, const NumberFieldRule& rule);

}  // namespace kvr
