#pragma once
// The mouse's whole configuration as a readable TOML file: written from the open mouse's pages
// (export, Save Profile), and read back onto them (apply, Load Profile) after every part of the
// file was checked. The file's words are the English table's, whatever language the window
// shows, so one file serves every program and language.
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "buttons/button_names.h"
#include "macros/macro_codec.h"

namespace kvr {

class DeviceMacros;
class ReadWriteCycle;

// The open mouse as the file reads and changes it: the read/write cycle with its page models,
// and the mouse's macros. Both must outlive every call given them.
struct ConfiguredMouse {
    ReadWriteCycle& cycle;
    DeviceMacros& macros;
};

// One macro in the file's words: its name and event lines ("press Ctrl", "wait 24 ms").
struct MacroWords {
    std::string name;
    std::vector<std::string> events;
    bool operator==(const MacroWords&) const = default;
};

// What the mouse holds, in the file's words. Parts the mouse does not have stay empty.
struct MouseConfig {
    std::vector<int> dpi;     // the levels in use
    std::vector<int> colors;  // one per level in use
    int current = 1;
    std::vector<std::string> steps;  // the DPI numbers a level can take, as texts
    std::vector<std::string> modes;  // the light modes this mouse offers; empty: no modes
    std::string mode;                // empty when none is chosen
    std::string mcpi;                // "on", "off", or empty when unknown
    std::string effect;
    std::vector<std::pair<std::string, int>> times;  // the light times this mouse uses
    std::vector<std::string> buttons;                // buttons 1..9
    FireKeySetting fire;
    bool macroSupport = false;
    std::vector<MacroWords> macros;
};

// The open mouse's pages in the file's words.
MouseConfig mouseConfig(ConfiguredMouse mouse);

// The configuration as the TOML text export writes.
std::string configText(const MouseConfig& config);

// A configuration file's text, read whole. `error` says why it could not be: the system's
// message, or (`tooLarge`) that it is far larger than any configuration.
struct ConfigFileText {
    std::string text;
    std::string error;
    bool tooLarge = false;
};
ConfigFileText readConfigFile(const std::filesystem::path& file);

// What a file cannot be: where (1-based) and what is allowed there.
struct ConfigError {
    int line = 0;
    int column = 0;
    std::string message;
};

// Reads `text` and, when every part of it is sound for this mouse, puts it on the pages and in
// the macro area (marked for the next write when it differs). A file that fails a check changes
// nothing: the pages, the images and the macros stay as they were.
std::variant<std::monostate, ConfigError> applyConfigText(std::string_view text,
                                                          std::string_view fileName,
                                                          ConfiguredMouse mouse);

// What changed between two configurations, one line each ("button 2: Middle Key -> Volume +").
std::vector<std::string> configChanges(const MouseConfig& before, const MouseConfig& after);

// Macro events in the file's words, and back. `encodeMacroEvents` returns the error's text and
// the index of the bad line when a line is no event the mouse can play.
std::vector<std::string> macroEventWords(const MacroContent& content);
struct EncodedMacro {
    MacroContent content{};
    std::string error;
    std::size_t badLine = 0;
};
EncodedMacro encodeMacroEvents(const std::vector<std::string>& events);

}  // namespace kvr
