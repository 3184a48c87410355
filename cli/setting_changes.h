#pragma once
// The settings of one `set` call: read from the words of the command line, then applied to the
// page models in order, so that a write sends them all at once as Apply does.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "buttons/button_names.h"
#include "params/button_code.h"
#include "settings/light_model.h"

namespace kvr {

class MouseSession;

// A setting the command line cannot take: the words it was given and why.
struct ArgumentError {
    std::string argument;
    std::string message;
};

struct SettingChange {
    enum class Kind { Levels, LevelStep, Current, Color, Button, Mcpi, Effect, Mode, Time };
    Kind kind = Kind::Levels;
    std::string argument;  // the words as given, for messages
    int number = 0;        // level, button, level count, or 1 for "on" and 0 for "off"
    std::string value;     // step text, function name or mode name as given
    int colour = 0;
    TimeField time = TimeField::OffTime;
    int timeValue = 0;
    std::optional<FireKeySetting> fire;  // fire:REPEAT,DELAY
};

using SettingChanges = std::variant<std::vector<SettingChange>, ArgumentError>;

// The words after `set`. Only what can be checked without the mouse is checked here.
SettingChanges parseSettingChanges(std::span<const std::string> words);

// Applies the changes to the models of an open mouse, in order. What the mouse's own settings
// rule out (a level not in use, a mode its light does not offer) is refused here, before
// anything is written.
// The words of settings as the command line and the configuration file compare them: without
// case; folded also ignores blanks and underscores ("page up" is "Page Up").
std::string lower(std::string_view text);
std::string folded(std::string_view text);

std::optional<ArgumentError> applySettingChanges(std::span<const SettingChange> changes,
                                                 MouseSession& session);

// The light modes by name, as `show` prints them and `set mode` takes them.
std::string lightModeName(LightControlSet set, int mode);
std::vector<std::string> lightModeNames(LightControlSet set);
std::string_view timeFieldName(TimeField field);

// The function a button is given: a menu function by its name, a key combination, or a fire key.
// The step texts and names come from the English table of `session`.
std::variant<ButtonCode, ArgumentError> buttonFunctionCode(const std::string& argument,
                                                           const std::string& function,
                                                           const CodeNaming& naming,
                                                           FireKeySetting fire);

}  // namespace kvr
