#pragma once
// The words settings are given in, shared by the configuration file and the command line: names
// compared without case, the light's modes and times by name, a button's function by its name or
// as a key combination.
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "buttons/button_names.h"
#include "params/button_code.h"
#include "settings/light_model.h"

namespace kvr {

// A setting that cannot be taken: the words it was given and why.
struct ArgumentError {
    std::string argument;
    std::string message;
};

// The words of settings as the command line and the configuration file compare them: without
// case; folded also ignores blanks and underscores ("page up" is "Page Up").
std::string lower(std::string_view text);
std::string folded(std::string_view text);

// The light modes by name, as `show` prints them and `set mode` takes them.
std::string lightModeName(LightControlSet set, int mode);
std::vector<std::string> lightModeNames(LightControlSet set);

// The light's times by the names they are given ("off-time").
struct TimeFieldWord {
    TimeField field;
    std::string_view name;
};
std::span<const TimeFieldWord> timeFieldWords();
std::string_view timeFieldName(TimeField field);

// The function a button is given: a menu function by its name, a key combination, or a fire key.
// The names come from `naming`'s table.
std::variant<ButtonCode, ArgumentError> buttonFunctionCode(const std::string& argument,
                                                           const std::string& function,
                                                           const CodeNaming& naming,
                                                           FireKeySetting fire);

}  // namespace kvr
