#include "config/setting_words.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "buttons/key_table.h"

namespace kvr {

std::string lower(std::string_view text) {
    std::string out;
    for (char c : text)
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

// Letters compared without case, blanks and underscores ignored ("page up" is "Page Up").
std::string folded(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '_') continue;
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return out;
}

namespace {

constexpr std::array<TimeFieldWord, kTimeFieldCount> kTimeNames = {{
    {TimeField::NTMode1Time, "nt1-time"},
    {TimeField::NTMode2Time, "nt2-time"},
    {TimeField::NTMode2Hold, "nt2-hold"},
    {TimeField::NTMode3Time, "nt3-time"},
    {TimeField::NTMode3Count, "nt3-count"},
    {TimeField::OffTime, "off-time"},
    {TimeField::RiseTime, "rise-time"},
    {TimeField::LightTime, "light-time"},
    {TimeField::FallTime, "fall-time"},
}};

std::optional<ButtonCode> keyCombination(std::string_view text) {
    struct Modifier {
        std::string_view name;
        int bit;
    };
    static constexpr std::array<Modifier, 4> kModifiers = {{{"ctrl", key_modifier::kCtrl},
                                                            {"shift", key_modifier::kShift},
                                                            {"alt", key_modifier::kAlt},
                                                            {"win", key_modifier::kWin}}};
    std::uint8_t modifiers = 0;
    // Every part before the last '+' is a modifier; the last part is the key.
    for (auto plus = text.find('+'); plus != std::string_view::npos; plus = text.find('+')) {
        const std::string part = folded(text.substr(0, plus));
        const auto m = std::ranges::find(kModifiers, part, &Modifier::name);
        if (m == kModifiers.end()) return std::nullopt;
        modifiers = static_cast<std::uint8_t>(modifiers | (1U << m->bit));
        text.remove_prefix(plus + 1);
    }
    const std::string key = folded(text);
    if (key.empty()) return std::nullopt;
    for (const KeyRow& row : keyTable()) {
        if (row.usage != 0 && folded(row.name) == key) {
            return ButtonCode{code_class::kKeyboard, modifiers, row.usage};
        }
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

}  // namespace

std::span<const TimeFieldWord> timeFieldWords() { return kTimeNames; }

std::string_view timeFieldName(TimeField field) {
    for (const TimeFieldWord& t : kTimeNames) {
        if (t.field == field) return t.name;
    }
    return {};
}

std::string lightModeName(LightControlSet set, int mode) {
    if (mode == 0) return "none";
    switch (set) {
        case LightControlSet::NT:
            return "nt-" + std::to_string(mode);
        case LightControlSet::ColorModes:
            return "color-" + std::to_string(mode);
        case LightControlSet::Breathing:
            return "breathing-" + std::to_string(mode);
        case LightControlSet::None:
            break;
    }
    return "none";
}

std::vector<std::string> lightModeNames(LightControlSet set) {
    const int modes = set == LightControlSet::NT           ? 5
                      : set == LightControlSet::ColorModes ? 2
                      : set == LightControlSet::Breathing  ? 4
                                                           : 0;
    std::vector<std::string> names;
    for (int m = 1; m <= modes; ++m) names.push_back(lightModeName(set, m));
    return names;
}

std::variant<ButtonCode, ArgumentError> buttonFunctionCode(const std::string& argument,
                                                           const std::string& function,
                                                           const CodeNaming& naming,
                                                           FireKeySetting fire) {
    const std::string wanted = folded(function);
    // By its English name, or by its menu entry without "Key_"; names two entries share (two
    // "Stop"s, two "Backward"s) give the first entry, the standard mouse and media functions.
    for (const MenuEntry& e : menuEntries()) {
        const std::string name = naming.texts ? naming.texts(e.nameKey) : std::string();
        const std::string_view control = e.control.substr(e.control.find('_') + 1);
        if (wanted != folded(name) && wanted != folded(control) && wanted != folded(e.control)) {
            continue;
        }
        return e.code ? *e.code : fireKeyCode(fire.repeat, fire.delay);
    }
    if (const auto code = keyCombination(function)) return *code;
    std::vector<std::string> names;
    for (const MenuEntry& e : menuEntries()) {
        if (naming.texts) names.push_back("\"" + naming.texts(e.nameKey) + "\"");
    }
    return ArgumentError{argument, "FUNCTION must be a menu function (" + joined(names) +
                                       "), a key combination such as ctrl+shift+a, "
                                       "fire:REPEAT,DELAY or macro:NAME"};
}

}  // namespace kvr
