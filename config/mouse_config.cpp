#include "config/mouse_config.h"

#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "base/file_io.h"
#include "base/language_table.h"
#include "buttons/key_table.h"
#include "config/setting_words.h"
#include "cycle/device_macros.h"
#include "cycle/read_write_cycle.h"
#include "macros/device_macro_table.h"
#include "macros/macro_links.h"
#include "params/checksum.h"

namespace kvr {

namespace {

constexpr int kMaxColour = 6;
constexpr int kMaxTime = 255;
constexpr int kMaxFireDelay = 255;
constexpr std::string_view kMacroPrefix = "macro:";
constexpr std::string_view kCodePrefix = "code:";
// Far more than any configuration takes; a larger file is not one.
constexpr std::size_t kMaxConfigBytes = 1 << 20;
// The file's words are those of the English table.
constexpr int kFileLanguage = 2;
constexpr int kFirstStepKey = 300;

// The open mouse with the file's words, whatever language the window shows.
class FileMouse {
public:
    explicit FileMouse(ConfiguredMouse mouse)
        : mouse_(mouse),
          table_(LanguageTable::LoadLanguageTable(kFileLanguage).table),
          naming_{[this](std::string_view key) { return text(key); }, mouse.macros.macroNameAt()} {}
    FileMouse(const FileMouse&) = delete;
    FileMouse& operator=(const FileMouse&) = delete;

    std::string text(std::string_view key) const {
        return table_ ? table_->text(key) : std::string();
    }
    // The DPI number of step `index` (0..7).
    std::string stepText(int index) const {
        return text("Str" + std::to_string(kFirstStepKey + index));
    }
    const CodeNaming& naming() const { return naming_; }
    ReadWriteCycle& cycle() { return mouse_.cycle; }
    DeviceMacros& deviceMacros() { return mouse_.macros; }
    SensitivityModel& sensitivity() { return mouse_.cycle.pageModels().sensitivity; }
    LightModel& light() { return mouse_.cycle.pageModels().light; }
    ButtonModel& buttons() { return mouse_.cycle.pageModels().buttons; }

private:
    ConfiguredMouse mouse_;
    std::optional<LanguageTable> table_;
    CodeNaming naming_;
};

std::string joined(const std::vector<std::string>& items, std::string_view separator = ", ") {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : std::string(separator)) + item;
    return out;
}

std::optional<int> dpiNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// --- macro events -------------------------------------------------------------------------------

// The name of a codec event line ("1 LeftKey CODE:00A1" -> "LeftKey").
std::string lineName(const MacroLine& line) {
    const auto code = line.rfind(" CODE:");
    return line.size() > 2 && code != std::string::npos && code > 2 ? line.substr(2, code - 2)
                                                                    : std::string();
}

struct EventName {
    std::uint8_t pressByte;  // the event's first byte when pressed
    std::optional<std::uint8_t> data;
};

// Every name an event line may use, folded: the mouse buttons, the modifiers, the keys. The
// modifiers come before the keys of the same name, as the recorder records them.
const std::map<std::string, EventName>& eventNames() {
    static const std::map<std::string, EventName> names = [] {
        std::map<std::string, EventName> n;
        for (std::uint8_t bit : {0x01, 0x02, 0x04, 0x08, 0x10}) {
            const auto pressed = static_cast<std::uint8_t>(0xA0 | bit);
            n.emplace(folded(lineName(mouseButtonLine(pressed))), EventName{pressed, {}});
        }
        for (int b = 0; b < 8; ++b) {
            const auto bit = static_cast<std::uint8_t>(1U << b);
            const std::string name = lineName(modifierLine(true, bit));
            if (name != "Modifier")
                n.emplace(folded(name),
                          EventName{macro_event::kModifier | macro_event::kPressBit, bit});
        }
        for (int usage = 1; usage < 256; ++usage) {
            const std::string_view name = UsageToName(static_cast<std::uint8_t>(usage));
            if (!name.empty()) {
                n.emplace(folded(name), EventName{macro_event::kKey | macro_event::kPressBit,
                                                  static_cast<std::uint8_t>(usage)});
            }
        }
        return n;
    }();
    return names;
}

std::string eventWords(const MacroLine& line) {
    return (line.starts_with("1 ") ? "press " : "release ") + lineName(line);
}

}  // namespace

std::vector<std::string> macroEventWords(const MacroContent& content) {
    std::vector<std::string> words;
    const std::size_t length = macroLength(content);
    if (length == 0 || !macroChecksumHolds(content)) return words;
    // A two-byte event at L-1 takes the checksum as its second byte, as the mouse would; L is at
    // most 255, so p + 1 never leaves the content.
    std::size_t p = 1;
    while (p + 1 <= length) {
        const std::uint8_t b = content[p];
        const auto code = static_cast<std::uint8_t>(b & ~macro_event::kPressBit);
        const bool press = (b & macro_event::kPressBit) != 0;
        if (const MacroLine line = mouseButtonLine(b); !line.empty()) {
            words.push_back(eventWords(line));
            p += 1;
        } else if (code == macro_event::kModifier) {
            words.push_back(eventWords(modifierLine(press, content[p + 1])));
            p += 2;
        } else if (code == macro_event::kKey) {
            words.push_back(eventWords(keyLine(press, content[p + 1])));
            p += 2;
        } else if (b == macro_event::kDelay) {
            // One line per pause the mouse keeps, so that the file gives back the same bytes.
            words.push_back("wait " + std::to_string(kDelayUnitMs * content[p + 1]) + " ms");
            p += 2;
        } else {
            p += b == macro_event::kSkipTwo ? 2 : 1;
        }
    }
    return words;
}

EncodedMacro encodeMacroEvents(const std::vector<std::string>& events) {
    EncodedMacro encoded;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string& event = events[i];
        auto fail = [&](std::string message) {
            encoded.error = std::move(message);
            encoded.badLine = i;
            return encoded;
        };
        const auto space = event.find(' ');
        const std::string verb = lower(event.substr(0, space));
        const std::string rest =
            space == std::string::npos ? std::string() : event.substr(space + 1);
        if (verb == "wait") {
            int ms = -1;
            const std::string number = rest.ends_with(" ms") ? rest.substr(0, rest.size() - 3) : "";
            const auto [end, ec] =
                std::from_chars(number.data(), number.data() + number.size(), ms);
            if (number.empty() || ec != std::errc() || end != number.data() + number.size() ||
                ms < 0 || ms % kDelayUnitMs != 0) {
                return fail("\"" + event + "\": a pause is \"wait N ms\" with N a multiple of " +
                            std::to_string(kDelayUnitMs));
            }
            // The longest pause one event holds is 2040 ms; longer ones take several.
            do {
                const int part = std::min(ms, kMaxDelayPairMs);
                bytes.push_back(macro_event::kDelay);
                bytes.push_back(static_cast<std::uint8_t>(part / kDelayUnitMs));
                ms -= part;
            } while (ms > 0);
        } else if (verb == "press" || verb == "release") {
            const bool press = verb == "press";
            const auto& names = eventNames();
            // Several modifiers pressed at once: "press Ctrl+Shift".
            std::uint8_t modifiers = 0;
            bool allModifiers = rest.find('+') != std::string::npos;
            for (std::size_t start = 0; allModifiers && start <= rest.size();) {
                const auto plus = std::min(rest.find('+', start), rest.size());
                const auto found = names.find(folded(rest.substr(start, plus - start)));
                if (found == names.end() ||
                    (found->second.pressByte & 0x7F) != macro_event::kModifier) {
                    allModifiers = false;
                    break;
                }
                modifiers = static_cast<std::uint8_t>(modifiers | *found->second.data);
                start = plus + 1;
            }
            const auto found = names.find(folded(rest));
            if (allModifiers) {
                bytes.push_back(press ? 0x81 : 0x01);
                bytes.push_back(modifiers);
            } else if (found != names.end()) {
                const EventName& e = found->second;
                bytes.push_back(
                    press ? e.pressByte
                          : static_cast<std::uint8_t>(e.pressByte & ~macro_event::kPressBit));
                if (e.data) bytes.push_back(*e.data);
            } else {
                return fail("\"" + event +
                            "\": the mouse has no key of this name; keys are named as in "
                            "\"press A\", \"press Ctrl\", \"press LeftKey\", \"press F5\"");
            }
        } else {
            return fail("\"" + event +
                        "\": an event is \"press KEY\", \"release KEY\" or \"wait N ms\"");
        }
        if (bytes.size() > kMaxMacroEventBytes) {
            return fail("the events up to here take " + std::to_string(bytes.size()) +
                        " bytes; a macro holds at most " + std::to_string(kMaxMacroEventBytes));
        }
    }
    if (bytes.empty()) {
        encoded.content = emptyMacroContent();
        return encoded;
    }
    const std::size_t length = bytes.size() + 1;
    encoded.content[0] = static_cast<std::uint8_t>(length);
    std::ranges::copy(bytes, encoded.content.begin() + 1);
    encoded.content[length] = blockChecksum(std::span(encoded.content).first(length));
    return encoded;
}

namespace {

// --- buttons ------------------------------------------------------------------------------------

std::string keyCombinationWords(ButtonCode code) {
    std::string words;
    static constexpr std::array<std::string_view, 4> kModifierWords = {"ctrl", "shift", "alt",
                                                                       "win"};
    for (int bit = 0; bit < 4; ++bit) {
        if (code.data1 & (1U << bit)) words += std::string(kModifierWords[bit]) + "+";
    }
    return words + lower(UsageToName(code.data2));
}

// The words for a button's code; "code:XXXXXX" when no words give the same code back.
std::string buttonWords(const std::string& text, FileMouse& session) {
    const auto code = parseCodeText(text);
    if (!code) return std::string(kCodePrefix) + text;
    const std::string raw = std::string(kCodePrefix) + codeText(*code);
    if (code->codeClass == code_class::kMacro) {
        const auto address = static_cast<std::uint16_t>(code->data1 << 8 | code->data2);
        const auto name = session.deviceMacros().table().nameAt(address);
        const auto index = name ? session.deviceMacros().table().lastIndexOf(*name) : std::nullopt;
        // A macro named twice runs the last of them; a button on the first keeps its code.
        if (index && session.deviceMacros().table().address(*index) == address)
            return std::string(kMacroPrefix) + *name;
        return raw;
    }
    const FireKeySetting fire = session.buttons().fireKey();
    for (const std::string& words :
         {CodeToDisplayName(*code, session.naming()), keyCombinationWords(*code)}) {
        if (words.empty()) continue;
        const auto back = buttonFunctionCode(words, words, session.naming(), fire);
        const auto* backCode = std::get_if<ButtonCode>(&back);
        if (backCode && (*backCode == *code || (code->codeClass == code_class::kFireKey &&
                                                backCode->codeClass == code_class::kFireKey)))
            return words;
    }
    return raw;
}

// --- TOML text ----------------------------------------------------------------------------------

std::string tomlString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

template <typename T>
std::string list(const std::vector<T>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ", ";
        if constexpr (std::is_same_v<T, std::string>) {
            out += tomlString(items[i]);
        } else {
            out += std::to_string(items[i]);
        }
    }
    return out + "]";
}

}  // namespace

namespace {

MouseConfig configOf(FileMouse& session) {
    commitPageEdits(session.cycle().pageModels());
    MouseConfig config;
    const SensitivityModel& levels = session.sensitivity();
    for (int s = 1; s <= SensitivityModel::kSteps; ++s) {
        const std::string text = session.stepText(s - 1);
        if (std::ranges::find(config.steps, text) == config.steps.end())
            config.steps.push_back(text);
    }
    std::ranges::sort(config.steps, {},
                      [](const std::string& s) { return dpiNumber(s).value_or(0); });
    for (int n = 1; n <= levels.levelsInUse(); ++n) {
        // By the level's step, so that a window in another language gives the same numbers.
        const std::uint8_t step = levels.levelValueByte(n, SensitivityModel::kValueNotSet);
        const std::string text =
            step < SensitivityModel::kSteps ? session.stepText(step) : levels.valueText(n);
        config.dpi.push_back(dpiNumber(text).value_or(0));
        config.colors.push_back(levels.colorByte(n));
    }
    config.current = levels.currentLevel();

    const LightModel& light = session.light();
    config.modes = lightModeNames(light.controlSet());
    if (!config.modes.empty()) {
        const int chosen = light.controlSet() == LightControlSet::NT           ? light.ntMode()
                           : light.controlSet() == LightControlSet::ColorModes ? light.colorMode()
                                                                               : light.colorBre();
        if (chosen != 0) config.mode = lightModeName(light.controlSet(), chosen);
    }
    auto onOff = [](OnOff v) { return v == OnOff::On ? "on" : v == OnOff::Off ? "off" : ""; };
    config.mcpi = onOff(light.mcpi());
    config.effect = onOff(light.buttonEffect());
    for (const TimeFieldInfo& t : timeFields()) {
        if (light.timeFieldShown(t.field))
            config.times.emplace_back(timeFieldName(t.field), light.timeByte(t.field));
    }

    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n)
        config.buttons.push_back(buttonWords(session.buttons().codeText(n), session));
    config.fire = session.buttons().fireKey();

    config.macroSupport = session.cycle().macroSupport();
    const DeviceMacroTable& table = session.deviceMacros().table();
    for (std::size_t i = 0; config.macroSupport && i < table.count(); ++i)
        config.macros.push_back({table.name(i), macroEventWords(table.slot(i).content)});
    return config;
}

}  // namespace

ConfigFileText readConfigFile(const std::filesystem::path& file) {
    const FileBytes read = readFileStart(file, kMaxConfigBytes + 1);
    if (!read.result) return {{}, read.result.error, false};
    if (read.bytes.size() > kMaxConfigBytes) {
        return {
            {},
            "larger than " + std::to_string(kMaxConfigBytes) + " bytes; not a configuration file",
            true};
    }
    return {std::string(read.bytes.begin(), read.bytes.end()), {}, false};
}

MouseConfig mouseConfig(ConfiguredMouse mouse) {
    FileMouse session(mouse);
    return configOf(session);
}

std::string configText(const MouseConfig& config) {
    std::string out;
    auto line = [&](const std::string& text = {}) { out += text + "\n"; };
    line("# The settings of a KVR5507 mouse, as `kvr5507ctl export` writes them and");
    line("# `kvr5507ctl apply FILE` writes them back. A section or key left out stays as the");
    line("# mouse has it.");
    if (config.macroSupport && config.macros.empty()) {
        line();
        line("# The mouse keeps no macros: applying this file deletes those it has.");
        line("macros = []");
    }

    line();
    line("[sensitivity]");
    line("# dpi: the levels in use, 1 to 8 of them, each one of " + joined(config.steps));
    line("# colors: a colour from 0 to " + std::to_string(kMaxColour) +
         " for each level in use; level 8's colour is always 7");
    line("# current: the level the mouse starts with, from 1 to the number of levels");
    line("dpi = " + list(config.dpi));
    line("colors = " + list(config.colors));
    line("current = " + std::to_string(config.current));

    if (!config.modes.empty() || !config.mcpi.empty() || !config.effect.empty() ||
        !config.times.empty()) {
        line();
        line("[light]");
        if (!config.modes.empty()) line("# mode: one of " + joined(config.modes));
        line(
            "# mcpi (the button effect switch, M+CPI) and effect (the button effect): "
            "\"on\" or \"off\"");
        if (!config.times.empty()) {
            std::vector<std::string> names;
            for (const auto& [name, value] : config.times) names.push_back(name);
            line("# the times of the light modes, 0 to " + std::to_string(kMaxTime) + ": " +
                 joined(names));
        }
        if (!config.mode.empty()) line("mode = " + tomlString(config.mode));
        if (!config.mcpi.empty()) line("mcpi = " + tomlString(config.mcpi));
        if (!config.effect.empty()) line("effect = " + tomlString(config.effect));
        for (const auto& [name, value] : config.times) line(name + " = " + std::to_string(value));
    }

    line();
    line("[buttons]");
    line("# 1 to 9: a function by its name (\"Left Key\", \"Volume +\", \"Fire Key\", ...), a key");
    line("# combination such as \"ctrl+shift+a\", or \"macro:NAME\" for a macro in the mouse");
    for (std::size_t n = 0; n < config.buttons.size(); ++n)
        line(std::to_string(n + 1) + " = " + tomlString(config.buttons[n]));

    line();
    line("[fire]");
    line("# every \"Fire Key\" button: repeat 0 or 2 to " + std::to_string(kMaxFireRepeat) +
         " shots, delay 0 or 2 to " + std::to_string(kMaxFireDelay));
    line("repeat = " + std::to_string(config.fire.repeat));
    line("delay = " + std::to_string(config.fire.delay));

    if (config.macroSupport && !config.macros.empty()) {
        line();
        line("# The mouse's macros, at most " + std::to_string(kDeviceMacroSlots) + " in " +
             std::to_string(kDeviceMacroAreaSize) + " bytes: a name of up to 8 characters and");
        line("# the events \"press KEY\", \"release KEY\" and \"wait N ms\" (N a multiple of " +
             std::to_string(kDelayUnitMs) + ").");
        line("# Applying a file with macros replaces all of the mouse's macros.");
        for (const MacroWords& macro : config.macros) {
            line("[[macros]]");
            line("name = " + tomlString(macro.name));
            if (macro.events.empty()) {
                line("events = []");
                continue;
            }
            line("events = [");
            for (const std::string& event : macro.events) line("    " + tomlString(event) + ",");
            line("]");
        }
    }
    return out;
}

std::vector<std::string> configChanges(const MouseConfig& before, const MouseConfig& after) {
    std::vector<std::string> changes;
    auto change = [&](const std::string& what, const std::string& from, const std::string& to) {
        if (from != to) changes.push_back(what + ": " + from + " -> " + to);
    };
    change("levels", std::to_string(before.dpi.size()), std::to_string(after.dpi.size()));
    for (std::size_t i = 0; i < std::min(before.dpi.size(), after.dpi.size()); ++i) {
        const std::string level = "level " + std::to_string(i + 1);
        change(level + " dpi", std::to_string(before.dpi[i]), std::to_string(after.dpi[i]));
        change(level + " colour", std::to_string(before.colors[i]),
               std::to_string(after.colors[i]));
    }
    for (std::size_t i = before.dpi.size(); i < after.dpi.size(); ++i) {
        changes.push_back("level " + std::to_string(i + 1) + ": " + std::to_string(after.dpi[i]) +
                          " dpi, colour " + std::to_string(after.colors[i]));
    }
    change("current level", std::to_string(before.current), std::to_string(after.current));
    change("light mode", before.mode, after.mode);
    change("mcpi", before.mcpi, after.mcpi);
    change("effect", before.effect, after.effect);
    for (std::size_t i = 0; i < std::min(before.times.size(), after.times.size()); ++i) {
        change(before.times[i].first, std::to_string(before.times[i].second),
               std::to_string(after.times[i].second));
    }
    for (std::size_t i = 0; i < std::min(before.buttons.size(), after.buttons.size()); ++i)
        change("button " + std::to_string(i + 1), before.buttons[i], after.buttons[i]);
    change("fire repeat", std::to_string(before.fire.repeat), std::to_string(after.fire.repeat));
    change("fire delay", std::to_string(before.fire.delay), std::to_string(after.fire.delay));
    if (before.macros != after.macros) {
        for (const MacroWords& m : before.macros) {
            if (std::ranges::find(after.macros, m.name, &MacroWords::name) == after.macros.end())
                changes.push_back("macro \"" + m.name + "\": deleted");
        }
        for (const MacroWords& m : after.macros) {
            const auto old = std::ranges::find(before.macros, m.name, &MacroWords::name);
            if (old == before.macros.end()) {
                changes.push_back("macro \"" + m.name + "\": added, " +
                                  std::to_string(m.events.size()) + " events");
            } else if (old->events != m.events) {
                changes.push_back("macro \"" + m.name +
                                  "\": " + std::to_string(old->events.size()) + " events -> " +
                                  std::to_string(m.events.size()) + " events");
            }
        }
        std::vector<std::string> orderBefore;
        std::vector<std::string> orderAfter;
        for (const MacroWords& m : before.macros) orderBefore.push_back(m.name);
        for (const MacroWords& m : after.macros) orderAfter.push_back(m.name);
        if (orderBefore != orderAfter && changes.empty())
            change("macro order", joined(orderBefore), joined(orderAfter));
    }
    return changes;
}

namespace {

// --- reading a file -----------------------------------------------------------------------------

// A check that failed: where and why. Thrown inside the reader only.
struct Failure {
    toml::source_position at;
    std::string message;
};

[[noreturn]] void failAt(const toml::node& node, std::string message) {
    throw Failure{node.source().begin, std::move(message)};
}

// The keys of `table` must be among `allowed`.
void onlyKeys(const toml::table& table, std::string_view section,
              const std::vector<std::string>& allowed) {
    for (const auto& [key, node] : table) {
        if (std::ranges::find(allowed, std::string(key.str())) != allowed.end()) continue;
        throw Failure{key.source().begin,
                      "unknown key \"" + std::string(key.str()) + "\"" +
                          (section.empty() ? std::string() : " in [" + std::string(section) + "]") +
                          "; allowed here: " + (allowed.empty() ? "nothing" : joined(allowed))};
    }
}

int integerIn(const toml::node& node, std::string_view what, int low, int high) {
    const auto* value = node.as_integer();
    if (!value) failAt(node, std::string(what) + " must be a whole number");
    const std::int64_t v = value->get();
    if (v < low || v > high) {
        failAt(node, std::string(what) + " must be from " + std::to_string(low) + " to " +
                         std::to_string(high));
    }
    return static_cast<int>(v);
}

// 0 or 2..high: 1 is what an emptied field turns into 2, so it is refused rather than changed.
int fireNumber(const toml::node& node, std::string_view what, int high) {
    const int v = integerIn(node, what, 0, high);
    if (v == 1) failAt(node, std::string(what) + " must be 0 or from 2 to " + std::to_string(high));
    return v;
}

const std::string& text(const toml::node& node, std::string_view what) {
    const auto* value = node.as_string();
    if (!value) failAt(node, std::string(what) + " must be a text in quotes");
    return value->get();
}

const toml::table& section(const toml::node& node, std::string_view name) {
    const auto* table = node.as_table();
    if (!table)
        failAt(node, "\"" + std::string(name) + "\" must be a section [" + std::string(name) + "]");
    return *table;
}

const toml::array& array(const toml::node& node, std::string_view what) {
    const auto* a = node.as_array();
    if (!a) failAt(node, std::string(what) + " must be a list in [ ]");
    return *a;
}

class ConfigReader {
public:
    ConfigReader(const toml::table& root, FileMouse& session)
        : root_(root), session_(session), config_(configOf(session)) {}

    void apply() {
        onlyKeys(root_, {}, {"sensitivity", "light", "buttons", "fire", "macros"});
        if (const auto* node = root_.get("sensitivity")) sensitivity(section(*node, "sensitivity"));
        if (const auto* node = root_.get("light")) light(section(*node, "light"));
        if (const auto* node = root_.get("fire")) fire(section(*node, "fire"));
        if (const auto* node = root_.get("macros")) macros(*node);
        if (const auto* node = root_.get("buttons")) buttons(section(*node, "buttons"));
    }

private:
    void sensitivity(const toml::table& table) {
        onlyKeys(table, "sensitivity", {"dpi", "colors", "current"});
        SensitivityModel& levels = session_.sensitivity();
        if (const auto* node = table.get("dpi")) {
            const toml::array& dpi = array(*node, "dpi");
            if (dpi.empty() || dpi.size() > kDpiLevelCount)
                failAt(*node, "dpi must list 1 to " + std::to_string(kDpiLevelCount) + " levels");
            std::vector<int> steps;
            for (const toml::node& value : dpi) {
                const int number = integerIn(value, "a dpi", 1, 1 << 30);
                int step = 0;
                for (int s = 1; s <= SensitivityModel::kSteps && step == 0; ++s) {
                    if (dpiNumber(session_.stepText(s - 1)) == number) step = s;
                }
                if (step == 0) failAt(value, "a dpi must be one of " + joined(config_.steps));
                steps.push_back(step);
            }
            // As clicks on the level labels, then on each level's segment.
            const int count = static_cast<int>(steps.size());
            while (levels.levelsInUse() > count) levels.DPILevel_OnClick(levels.levelsInUse());
            while (levels.levelsInUse() < count) levels.DPILevel_OnClick(levels.levelsInUse() + 1);
            for (int n = 1; n <= count; ++n)
                levels.stepClicked(n, steps[static_cast<std::size_t>(n - 1)]);
        }
        if (const auto* node = table.get("colors")) {
            const toml::array& colors = array(*node, "colors");
            if (static_cast<int>(colors.size()) != levels.levelsInUse()) {
                failAt(*node, "colors must give one colour for each of the " +
                                  std::to_string(levels.levelsInUse()) + " levels in use");
            }
            for (int n = 1; n <= levels.levelsInUse(); ++n) {
                const toml::node& value = *colors.get(static_cast<std::size_t>(n - 1));
                if (n == kDpiLevelCount) {
                    if (integerIn(value, "level 8's colour", 0, 255) !=
                        SensitivityModel::kLastLevelColor)
                        failAt(value, "level 8's colour is always 7");
                    continue;
                }
                levels.setColorText(n, std::to_string(integerIn(value, "a colour", 0, kMaxColour)));
            }
        }
        if (const auto* node = table.get("current")) {
            levels.CurrentDPI_OnClick(integerIn(*node, "current", 1, levels.levelsInUse()));
        }
    }

    void light(const toml::table& table) {
        std::vector<std::string> allowed;
        if (!config_.modes.empty()) allowed.push_back("mode");
        allowed.insert(allowed.end(), {"mcpi", "effect"});
        for (const auto& [name, value] : config_.times) allowed.push_back(name);
        onlyKeys(table, "light", allowed);
        LightModel& model = session_.light();
        if (const auto* node = table.get("mode")) {
            const std::string mode = lower(text(*node, "mode"));
            const auto found = std::ranges::find(config_.modes, mode);
            if (found == config_.modes.end()) {
                failAt(*node, "this mouse's light offers the modes " + joined(config_.modes));
            }
            const int number = static_cast<int>(found - config_.modes.begin()) + 1;
            switch (model.controlSet()) {
                case LightControlSet::NT:
                    model.LEDNTMode_OnClick(number);
                    break;
                case LightControlSet::ColorModes:
                    model.LEDColorMode_OnClick(number);
                    break;
                case LightControlSet::Breathing:
                    model.LEDColorBre_OnClick(number);
                    break;
                case LightControlSet::None:
                    break;
            }
        }
        for (const std::string_view key : {"mcpi", "effect"}) {
            const auto* node = table.get(key);
            if (!node) continue;
            const std::string value = lower(text(*node, key));
            if (value != "on" && value != "off")
                failAt(*node, std::string(key) + " must be \"on\" or \"off\"");
            if (key == "mcpi") {
                model.lbl_MCPIOnClick(value == "on");
            } else {
                model.lbl_LEDKeyOnClick(value == "on");
            }
        }
        for (const TimeFieldInfo& t : timeFields()) {
            if (const auto* node = table.get(timeFieldName(t.field))) {
                model.setTimeText(
                    t.field, std::to_string(integerIn(*node, timeFieldName(t.field), 0, kMaxTime)));
            }
        }
    }

    void fire(const toml::table& table) {
        onlyKeys(table, "fire", {"repeat", "delay"});
        ButtonModel& buttons = session_.buttons();
        if (const auto* node = table.get("repeat"))
            buttons.setRepeatText(std::to_string(fireNumber(*node, "repeat", kMaxFireRepeat)));
        if (const auto* node = table.get("delay"))
            buttons.setDelayText(std::to_string(fireNumber(*node, "delay", kMaxFireDelay)));
        buttons.commitEdits();
    }

    void macros(const toml::node& node) {
        if (!config_.macroSupport) failAt(node, "this mouse keeps no macros");
        const auto* list = node.as_array();
        if (!list || (!list->empty() && !list->is_array_of_tables()))
            failAt(node, "the macros must each be a [[macros]] section");
        if (list->size() > kDeviceMacroSlots) {
            failAt(*list->get(kDeviceMacroSlots),
                   "the mouse keeps at most " + std::to_string(kDeviceMacroSlots) + " macros");
        }
        DeviceMacroTable table;
        std::array<std::uint8_t, kDeviceMacroAreaSize> area{};
        std::vector<std::string> names;
        for (const toml::node& entry : *list) {
            const toml::table& macro = *entry.as_table();
            onlyKeys(macro, "macros", {"name", "events"});
            const auto* nameNode = macro.get("name");
            if (!nameNode) failAt(entry, "a macro needs a name");
            const std::string& name = text(*nameNode, "name");
            if (name.empty() || macroNameText(MacroNameStrToUnicode(name)) != name)
                failAt(*nameNode, "a macro's name has 1 to 8 characters");
            if (std::ranges::find(names, name) != names.end())
                failAt(*nameNode, "a second macro named \"" + name + "\"; names must differ");
            names.push_back(name);
            std::vector<std::string> events;
            const toml::node* eventsNode = macro.get("events");
            if (eventsNode) {
                for (const toml::node& event : array(*eventsNode, "events"))
                    events.push_back(text(event, "an event"));
            }
            const EncodedMacro encoded = encodeMacroEvents(events);
            if (!encoded.error.empty())
                failAt(*array(*eventsNode, "events").get(encoded.badLine), encoded.error);
            if (table.add(MacroNameStrToUnicode(name), encoded.content, area) !=
                AddMacroResult::Added) {
                failAt(*nameNode, "the macros up to \"" + name + "\" need more than the mouse's " +
                                      std::to_string(kDeviceMacroAreaSize) + " bytes");
            }
        }
        // Buttons on a macro follow it by name; one whose macro the file leaves out is refused.
        const DeviceMacroTable& old = session_.deviceMacros().table();
        ButtonModel& buttons = session_.buttons();
        std::vector<std::pair<int, std::string>> followers;
        for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
            const auto code = parseCodeText(buttons.codeText(n));
            if (!code || code->codeClass != code_class::kMacro) continue;
            const auto name =
                old.nameAt(static_cast<std::uint16_t>(code->data1 << 8 | code->data2));
            if (name) followers.emplace_back(n, *name);
        }
        auto& images = session_.cycle().images();
        if (!std::ranges::equal(images.macroArea.bytes, area)) {
            std::ranges::copy(area, images.macroArea.bytes.begin());
            session_.cycle().setMacroDirty(true);
            session_.deviceMacros().ReadAndRefreshMacro2();
        }
        for (const auto& [n, name] : followers) {
            followersLeft_.emplace_back(n, name);
            if (const auto index = table.lastIndexOf(name)) {
                buttons.storeCode(n, macroCodeText(*table.address(*index)),
                                  session_.cycle().dataBuf());
            }
        }
        macrosNode_ = &node;
    }

    void buttons(const toml::table& table) {
        std::vector<std::string> allowed;
        for (int n = 1; n <= static_cast<int>(kButtonCount); ++n)
            allowed.push_back(std::to_string(n));
        onlyKeys(table, "buttons", allowed);
        ButtonModel& buttons = session_.buttons();
        const DeviceMacroTable& macros = session_.deviceMacros().table();
        for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
            const auto* node = table.get(std::to_string(n));
            if (!node) continue;
            const std::string& words = text(*node, "a button's function");
            std::string code;
            if (lower(words).starts_with(kMacroPrefix)) {
                const std::string name = words.substr(kMacroPrefix.size());
                const auto index = config_.macroSupport ? macros.lastIndexOf(name) : std::nullopt;
                if (!index) {
                    failAt(*node,
                           !config_.macroSupport
                               ? std::string("this mouse keeps no macros")
                               : "the mouse holds no macro named \"" + name + "\"" +
                                     (macros.count() ? "; its macros: " + joined(macros.names())
                                                     : std::string("; it holds none")));
                }
                code = macroCodeText(*macros.address(*index));
            } else if (lower(words).starts_with(kCodePrefix)) {
                const auto parsed = parseCodeText(words.substr(kCodePrefix.size()));
                if (!parsed || words.size() != kCodePrefix.size() + 6)
                    failAt(*node, "a code is \"code:\" and six hexadecimal digits");
                code = codeText(*parsed);
            } else {
                const auto parsed =
                    buttonFunctionCode(words, words, session_.naming(), buttons.fireKey());
                if (const auto* error = std::get_if<ArgumentError>(&parsed))
                    failAt(*node, error->message);
                code = codeText(std::get<ButtonCode>(parsed));
            }
            buttons.storeCode(n, code, session_.cycle().dataBuf());
            std::erase_if(followersLeft_, [n](const auto& f) { return f.first == n; });
        }
        const ButtonCode leftClick = *menuEntries().front().code;
        bool leftClickKept = false;
        for (int n = 1; n <= static_cast<int>(kButtonCount); ++n)
            leftClickKept |= parseCodeText(buttons.codeText(n)) == leftClick;
        if (!leftClickKept) {
            failAt(table, "no button would keep the left click; give one button \"" +
                              session_.text(kLeftKeyNameKey) + "\"");
        }
    }

public:
    // Buttons left out of the file that ran a macro the file's macros leave out.
    void checkFollowers() {
        const DeviceMacroTable& macros = session_.deviceMacros().table();
        for (const auto& [n, name] : followersLeft_) {
            if (!macros.lastIndexOf(name)) {
                failAt(*macrosNode_, "button " + std::to_string(n) + " runs the macro \"" + name +
                                         "\", which these macros leave out; keep it or give "
                                         "the button another function in [buttons]");
            }
        }
        // Every button shows its function's name, as after a read.
        ButtonModel& buttons = session_.buttons();
        for (int n = 1; n <= static_cast<int>(kButtonCount); ++n)
            buttons.setCaption(n, CodeToDisplayName(buttons.codeText(n), session_.naming()));
    }

private:
    const toml::table& root_;
    FileMouse& session_;
    MouseConfig config_;
    std::vector<std::pair<int, std::string>> followersLeft_;
    const toml::node* macrosNode_ = nullptr;
};

}  // namespace

namespace {

// What a file may change, kept so that a file refused halfway changes nothing.
class PagesKept {
public:
    explicit PagesKept(FileMouse& mouse)
        : mouse_(mouse),
          sensitivity_(mouse.sensitivity()),
          light_(mouse.light()),
          buttons_(mouse.buttons()),
          data_(mouse.cycle().dataBuf()),
          images_(mouse.cycle().images()),
          macroDirty_(mouse.cycle().macroDirty()) {}

    void restore() {
        mouse_.sensitivity() = sensitivity_;
        mouse_.light() = light_;
        mouse_.buttons() = buttons_;
        mouse_.cycle().dataBuf() = data_;
        const bool macrosChanged =
            mouse_.cycle().images().macroArea.bytes != images_.macroArea.bytes;
        mouse_.cycle().images() = images_;
        mouse_.cycle().setMacroDirty(macroDirty_);
        if (macrosChanged) mouse_.deviceMacros().ReadAndRefreshMacro2();
    }

private:
    FileMouse& mouse_;
    SensitivityModel sensitivity_;
    LightModel light_;
    ButtonModel buttons_;
    DataBuf data_;
    DeviceImages images_;
    bool macroDirty_;
};

}  // namespace

std::variant<std::monostate, ConfigError> applyConfigText(std::string_view text,
                                                          std::string_view fileName,
                                                          ConfiguredMouse mouse) {
    FileMouse session(mouse);
    PagesKept kept(session);
    try {
        const toml::table root = toml::parse(text, fileName);
        ConfigReader reader(root, session);
        reader.apply();
        reader.checkFollowers();
    } catch (const toml::parse_error& e) {
        kept.restore();
        return ConfigError{static_cast<int>(e.source().begin.line),
                           static_cast<int>(e.source().begin.column), std::string(e.description())};
    } catch (const Failure& f) {
        kept.restore();
        return ConfigError{static_cast<int>(f.at.line), static_cast<int>(f.at.column), f.message};
    }
    return std::monostate{};
}

}  // namespace kvr
