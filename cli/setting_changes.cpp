#include "cli/setting_changes.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/mouse_session.h"
#include "macros/macro_links.h"

namespace kvr {

namespace {

constexpr int kLastColouredLevel = kDpiLevelCount - 1;
constexpr int kMaxColour = 6;
constexpr int kMaxTime = 255;
constexpr int kMaxDelay = 255;

// Every number the settings take is 0 or more, so -1 stands for a text that is none.
constexpr int kNotANumber = -1;

int wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < 0) {
        return kNotANumber;
    }
    return value;
}

ArgumentError rangeError(const std::string& argument, std::string_view what, int low, int high) {
    return {argument, std::string(what) + " must be a whole number from " + std::to_string(low) +
                          " to " + std::to_string(high)};
}

// "N=VALUE"
std::optional<std::pair<std::string, std::string>> splitAssignment(std::string_view word) {
    const auto eq = word.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::pair{std::string(word.substr(0, eq)), std::string(word.substr(eq + 1))};
}

const char* const kSettingsHelp =
    "levels N | level N=STEP | current N | color N=C | button N FUNCTION | mcpi on|off | "
    "effect on|off | mode NAME | nt1-time|nt2-time|nt2-hold|nt3-time|nt3-count|off-time|"
    "rise-time|light-time|fall-time V";

std::variant<FireKeySetting, ArgumentError> parseFire(const std::string& argument,
                                                      std::string_view repeatAndDelay) {
    const auto comma = repeatAndDelay.find(',');
    const int repeat = wholeNumber(repeatAndDelay.substr(0, comma));
    const int delay = comma == std::string_view::npos
                          ? kNotANumber
                          : wholeNumber(repeatAndDelay.substr(comma + 1));
    // 1 is what an emptied field turns into 2, so it is refused rather than changed.
    if (repeat < 0 || repeat > kMaxFireRepeat || repeat == 1) {
        return ArgumentError{argument,
                             "fire:REPEAT,DELAY: REPEAT must be 0 or a whole number "
                             "from 2 to " +
                                 std::to_string(kMaxFireRepeat)};
    }
    if (delay < 0 || delay > kMaxDelay || delay == 1) {
        return ArgumentError{argument,
                             "fire:REPEAT,DELAY: DELAY must be 0 or a whole number "
                             "from 2 to " +
                                 std::to_string(kMaxDelay)};
    }
    return FireKeySetting{repeat, static_cast<std::uint8_t>(delay)};
}

LightControlSet modeSet(std::string_view name, int& mode) {
    struct Group {
        std::string_view prefix;
        LightControlSet set;
        int modes;
    };
    static constexpr std::array<Group, 3> kGroups = {
        {{"nt-", LightControlSet::NT, 5},
         {"color-", LightControlSet::ColorModes, 2},
         {"breathing-", LightControlSet::Breathing, 4}}};
    for (const Group& g : kGroups) {
        if (!name.starts_with(g.prefix)) continue;
        const int n = wholeNumber(name.substr(g.prefix.size()));
        if (n >= 1 && n <= g.modes) {
            mode = n;
            return g.set;
        }
    }
    return LightControlSet::None;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

}  // namespace

SettingChanges parseSettingChanges(std::span<const std::string> words) {
    std::vector<SettingChange> changes;
    std::size_t i = 0;
    auto take = [&]() -> std::optional<std::string> {
        if (i >= words.size()) return std::nullopt;
        return words[i++];
    };
    if (words.empty())
        return ArgumentError{"set", std::string("no setting given: ") + kSettingsHelp};
    while (i < words.size()) {
        const std::string keyword = lower(words[i++]);
        SettingChange c;
        c.argument = keyword;
        const auto value = take();
        if (!value) {
            return ArgumentError{keyword, "a value must follow \"" + keyword + "\""};
        }
        c.argument += " " + *value;

        if (keyword == "levels") {
            c.kind = SettingChange::Kind::Levels;
            const int n = wholeNumber(*value);
            if (n < 1 || n > kDpiLevelCount) {
                return rangeError(c.argument, "the number of levels", 1, kDpiLevelCount);
            }
            c.number = n;
        } else if (keyword == "level" || keyword == "color") {
            const auto assignment = splitAssignment(*value);
            const int n = assignment ? wholeNumber(assignment->first) : kNotANumber;
            const int highest = keyword == "level" ? kDpiLevelCount : kLastColouredLevel;
            if (n < 1 || n > highest) {
                return rangeError(c.argument,
                                  keyword == "level" ? "N of level N=STEP"
                                                     : "N of color N=C (level 8's "
                                                       "colour is fixed)",
                                  1, highest);
            }
            c.number = n;
            if (keyword == "level") {
                c.kind = SettingChange::Kind::LevelStep;
                c.value = assignment->second;
            } else {
                c.kind = SettingChange::Kind::Color;
                const int colour = wholeNumber(assignment->second);
                if (colour < 0 || colour > kMaxColour) {
                    return rangeError(c.argument, "C of color N=C", 0, kMaxColour);
                }
                c.colour = colour;
            }
        } else if (keyword == "current") {
            c.kind = SettingChange::Kind::Current;
            const int n = wholeNumber(*value);
            if (n < 1 || n > kDpiLevelCount) {
                return rangeError(c.argument, "the current level", 1, kDpiLevelCount);
            }
            c.number = n;
        } else if (keyword == "button") {
            c.kind = SettingChange::Kind::Button;
            const int n = wholeNumber(*value);
            const auto function = take();
            if (function) c.argument += " " + *function;
            if (n < 1 || n > static_cast<int>(kButtonCount)) {
                return rangeError(c.argument, "the button number", 1, kButtonCount);
            }
            if (!function)
                return ArgumentError{c.argument, "a FUNCTION must follow the button number"};
            c.number = n;
            c.value = *function;
            if (lower(*function).starts_with("fire:")) {
                auto fire = parseFire(c.argument, std::string_view(*function).substr(5));
                if (auto* error = std::get_if<ArgumentError>(&fire)) return *error;
                c.fire = std::get<FireKeySetting>(fire);
            }
        } else if (keyword == "mcpi" || keyword == "effect") {
            c.kind = keyword == "mcpi" ? SettingChange::Kind::Mcpi : SettingChange::Kind::Effect;
            const std::string v = lower(*value);
            if (v != "on" && v != "off")
                return ArgumentError{c.argument, keyword + " must be on or off"};
            c.number = v == "on" ? 1 : 0;
        } else if (keyword == "mode") {
            c.kind = SettingChange::Kind::Mode;
            c.value = lower(*value);
            if (modeSet(c.value, c.number) == LightControlSet::None) {
                return ArgumentError{c.argument,
                                     "the mode must be nt-1..nt-5, color-1, color-2 "
                                     "or breathing-1..breathing-4"};
            }
        } else if (const auto t =
                       std::ranges::find(timeFieldWords(), keyword, &TimeFieldWord::name);
                   t != timeFieldWords().end()) {
            c.kind = SettingChange::Kind::Time;
            c.time = t->field;
            const int v = wholeNumber(*value);
            if (v < 0 || v > kMaxTime) return rangeError(c.argument, keyword, 0, kMaxTime);
            c.timeValue = v;
        } else {
            return ArgumentError{
                keyword, std::string("unknown setting; the settings are: ") + kSettingsHelp};
        }
        changes.push_back(std::move(c));
    }
    return changes;
}

namespace {

bool holdsLeftClick(const ButtonModel& buttons, int button) {
    return parseCodeText(buttons.codeText(button)) == menuEntries().front().code;
}

// The mouse keeps at least one button on the left click, as the window's menu does; a call that
// would take it from the last button holding it is refused, naming the change that did.
std::optional<ArgumentError> leftClickTaken(std::span<const SettingChange> changes,
                                            const std::array<bool, kButtonCount>& heldBefore,
                                            const ButtonModel& buttons) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        if (holdsLeftClick(buttons, n)) return std::nullopt;
    }
    for (const SettingChange& c : changes) {
        if (c.kind == SettingChange::Kind::Button &&
            heldBefore[static_cast<std::size_t>(c.number - 1)]) {
            return ArgumentError{c.argument,
                                 "no button would keep the left click; give another "
                                 "button \"Left Key\" in the same call"};
        }
    }
    return std::nullopt;
}

// As a row of the window's macro list chosen for the button: the button is named after the
// macro and runs it from its address. With duplicate names the last macro wins, as the buttons
// follow macros by name.
std::optional<ArgumentError> chooseMacro(const SettingChange& c, MouseSession& session) {
    const std::string name = c.value.substr(std::string_view("macro:").size());
    if (!session.cycle().macroSupport()) {
        return ArgumentError{c.argument, "this mouse keeps no macros"};
    }
    const DeviceMacroTable& table = session.deviceMacros().table();
    const auto index = table.lastIndexOf(name);
    if (!index) {
        std::vector<std::string> names;
        for (const std::string& n : table.names()) names.push_back("\"" + n + "\"");
        return ArgumentError{c.argument, "the mouse holds no macro named \"" + name + "\"" +
                                             (names.empty() ? std::string("; it holds no macros")
                                                            : "; its macros: " + joined(names))};
    }
    ButtonModel& buttons = session.buttons();
    buttons.setCaption(c.number, name);
    buttons.storeCode(c.number, macroCodeText(*table.address(*index)), session.cycle().dataBuf());
    return std::nullopt;
}

}  // namespace

std::optional<ArgumentError> applySettingChanges(std::span<const SettingChange> changes,
                                                 MouseSession& session) {
    SensitivityModel& levels = session.sensitivity();
    LightModel& light = session.light();
    ButtonModel& buttons = session.buttons();
    std::array<bool, kButtonCount> leftClickBefore{};
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        leftClickBefore[static_cast<std::size_t>(n - 1)] = holdsLeftClick(buttons, n);
    }
    for (const SettingChange& c : changes) {
        switch (c.kind) {
            case SettingChange::Kind::Levels:
                // As clicks on the level labels: the highest level goes out of use or the next
                // one comes into use, and the current level follows a level switched off.
                while (levels.levelsInUse() > c.number)
                    levels.DPILevel_OnClick(levels.levelsInUse());
                while (levels.levelsInUse() < c.number)
                    levels.DPILevel_OnClick(levels.levelsInUse() + 1);
                break;
            case SettingChange::Kind::LevelStep: {
                std::vector<std::string> steps;
                int step = 0;
                for (int s = 1; s <= SensitivityModel::kSteps; ++s) {
                    const std::string text = session.text("Str" + std::to_string(299 + s));
                    if (std::ranges::find(steps, text) == steps.end()) steps.push_back(text);
                    if (step == 0 && folded(text) == folded(c.value)) step = s;
                }
                if (step == 0) {
                    return ArgumentError{c.argument, "STEP must be one of " + joined(steps)};
                }
                if (!levels.inUse(c.number)) {
                    return ArgumentError{c.argument, "level " + std::to_string(c.number) +
                                                         " is not in use; levels in use: 1 to " +
                                                         std::to_string(levels.levelsInUse())};
                }
                levels.stepClicked(c.number, step);
                break;
            }
            case SettingChange::Kind::Current:
                if (!levels.CurrentDPI_OnClick(c.number)) {
                    return ArgumentError{c.argument,
                                         "the current level must be a level in use: "
                                         "1 to " +
                                             std::to_string(levels.levelsInUse())};
                }
                break;
            case SettingChange::Kind::Color:
                levels.setColorText(c.number, std::to_string(c.colour));
                break;
            case SettingChange::Kind::Button: {
                if (lower(c.value).starts_with("macro:")) {
                    if (auto error = chooseMacro(c, session)) return error;
                    break;
                }
                if (c.fire) {
                    buttons.setRepeatText(std::to_string(c.fire->repeat));
                    buttons.setDelayText(std::to_string(c.fire->delay));
                }
                auto code = c.fire ? std::variant<ButtonCode, ArgumentError>(
                                         fireKeyCode(c.fire->repeat, c.fire->delay))
                                   : buttonFunctionCode(c.argument, c.value, session.naming(),
                                                        buttons.fireKey());
                if (auto* error = std::get_if<ArgumentError>(&code)) return *error;
                // As a menu choice does: the code goes into DataBuf's profile and the button's
                // text.
                const ButtonCode chosen = std::get<ButtonCode>(code);
                buttons.storeCode(c.number, codeText(chosen), session.cycle().dataBuf());
                buttons.setCaption(c.number, CodeToDisplayName(chosen, session.naming()));
                break;
            }
            case SettingChange::Kind::Mcpi:
                light.lbl_MCPIOnClick(c.number == 1);
                break;
            case SettingChange::Kind::Effect:
                light.lbl_LEDKeyOnClick(c.number == 1);
                break;
            case SettingChange::Kind::Mode: {
                int mode = 0;
                const LightControlSet set = modeSet(c.value, mode);
                if (set != light.controlSet()) {
                    const auto offered = lightModeNames(light.controlSet());
                    return ArgumentError{
                        c.argument, offered.empty()
                                        ? "this mouse's light has no modes"
                                        : "this mouse's light offers the modes " + joined(offered)};
                }
                if (set == LightControlSet::NT) light.LEDNTMode_OnClick(mode);
                if (set == LightControlSet::ColorModes) light.LEDColorMode_OnClick(mode);
                if (set == LightControlSet::Breathing) light.LEDColorBre_OnClick(mode);
                break;
            }
            case SettingChange::Kind::Time:
                if (!light.timeFieldShown(c.time)) {
                    std::vector<std::string> shown;
                    for (const TimeFieldWord& t : timeFieldWords()) {
                        if (light.timeFieldShown(t.field)) shown.emplace_back(t.name);
                    }
                    return ArgumentError{c.argument,
                                         "this mouse's light mode has " +
                                             (shown.empty() ? std::string("no times")
                                                            : "the times " + joined(shown))};
                }
                light.setTimeText(c.time, std::to_string(c.timeValue));
                break;
        }
    }
    return leftClickTaken(changes, leftClickBefore, buttons);
}

}  // namespace kvr
