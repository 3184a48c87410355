#pragma once
// The settings of one `set` call: read from the words of the command line, then applied to the
// page models in order, so that a write sends them all at once as Apply does.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/setting_words.h"
#include "settings/light_model.h"

namespace kvr {

class MouseSession;

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
std::optional<ArgumentError> applySettingChanges(std::span<const SettingChange> changes,
                                                 MouseSession& session);

}  // namespace kvr
