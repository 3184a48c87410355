#include "macros/default_library.h"

#include <initializer_list>
#include <stdexcept>

#include "buttons/key_table.h"

namespace kvr {

namespace {

constexpr std::uint8_t kLeftButton = 0x01;
constexpr int kStepDelay = 24;  // a steady pace most programs follow without missing a key

std::uint8_t usageOf(std::string_view keyName) {
    for (const KeyRow& row : keyTable()) {
        if (row.name == keyName && row.usage != 0) return row.usage;
    }
    throw std::logic_error("no key named " + std::string(keyName));
}

std::uint8_t modifierBit(std::string_view name) {
    if (name == "Ctrl") return 0x01;
    if (name == "Shift") return 0x02;
    if (name == "Alt") return 0x04;
    if (name == "Win") return 0x08;
    throw std::logic_error("no modifier named " + std::string(name));
}

// Lines as the editor writes them with a fixed delay between all events.
class Script {
public:
    explicit Script(int delay = kStepDelay) : delay_(delay) {
        lines_.push_back("01" + std::to_string(delay));
    }

    Script& event(MacroLine line) {
        if (lines_.size() > 1) lines_.push_back(delayLine(delay_));
        lines_.push_back(std::move(line));
        return *this;
    }
    // Modifiers held in order around one key, released in reverse order.
    Script& combo(std::initializer_list<std::string_view> modifiers, std::string_view key) {
        for (std::string_view m : modifiers) event(modifierLine(true, modifierBit(m)));
        tap(key);
        for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
            event(modifierLine(false, modifierBit(*m)));
        return *this;
    }
    Script& tap(std::string_view key) {
        event(keyLine(true, usageOf(key)));
        return event(keyLine(false, usageOf(key)));
    }
    Script& click(std::uint8_t button) {
        event(mouseButtonLine(static_cast<std::uint8_t>(0xA0 | button)));
        return event(mouseButtonLine(static_cast<std::uint8_t>(0x20 | button)));
    }
    const MacroLines& lines() const { return lines_; }

private:
    int delay_;
    MacroLines lines_;
};

struct Entry {
    std::string_view name;  // at most 8 characters: the name field's size
    Script script;
};

std::vector<Entry> entries() {
    const auto combo = [](std::initializer_list<std::string_view> modifiers, std::string_view key) {
        return Script().combo(modifiers, key);
    };
    const auto taps = [](std::string_view key, int times, int delay) {
        Script s(delay);
        for (int i = 0; i < times; ++i) s.tap(key);
        return s;
    };
    const auto clicks = [](int times, int delay) {
        Script s(delay);
        for (int i = 0; i < times; ++i) s.click(kLeftButton);
        return s;
    };
    return {
        {"Copy", combo({"Ctrl"}, "C")},
        {"Paste", combo({"Ctrl"}, "V")},
        {"Cut", combo({"Ctrl"}, "X")},
        {"Undo", combo({"Ctrl"}, "Z")},
        {"Redo", combo({"Ctrl"}, "Y")},
        {"SelAll", combo({"Ctrl"}, "A")},
        {"Save", combo({"Ctrl"}, "S")},
        {"Find", combo({"Ctrl"}, "F")},
        {"Print", combo({"Ctrl"}, "P")},
        {"NewWin", combo({"Ctrl"}, "N")},
        {"NewTab", combo({"Ctrl"}, "T")},
        {"CloseTab", combo({"Ctrl"}, "W")},
        {"Reopen", combo({"Ctrl", "Shift"}, "T")},
        {"NextTab", combo({"Ctrl"}, "Tab")},
        {"PrevTab", combo({"Ctrl", "Shift"}, "Tab")},
        {"Refresh", Script().tap("F5")},
        {"Rename", Script().tap("F2")},
        {"SwitchWn", combo({"Alt"}, "Tab")},
        {"CloseWin", combo({"Alt"}, "F4")},
        {"Desktop", combo({"Win"}, "D")},
        {"LockScr", combo({"Win"}, "L")},
        {"Explorer", combo({"Win"}, "E")},
        {"Run", combo({"Win"}, "R")},
        {"TaskMgr", combo({"Ctrl", "Shift"}, "Esc")},
        {"ZoomIn", combo({"Ctrl"}, "OEM_Plus")},
        {"ZoomOut", combo({"Ctrl"}, "OEM_Minus")},
        {"DocStart", combo({"Ctrl"}, "Home")},
        {"DocEnd", combo({"Ctrl"}, "End")},
        {"Bold", combo({"Ctrl"}, "B")},
        {"Italic", combo({"Ctrl"}, "I")},
        {"Underlin", combo({"Ctrl"}, "U")},
        {"ScrShot", Script().tap("Print Screen")},
        {"DblClick", clicks(2, 40)},
        {"TriClick", clicks(3, 40)},
        {"Click x5", clicks(5, 80)},
        {"Space x5", taps("Space bar", 5, 48)},
        {"Enter x3", taps("Enter", 3, 96)},
    };
}

}  // namespace

PCMacroSlots buildDefaultLibrary() {
    PCMacroSlots slots{};
    std::size_t i = 0;
    for (const Entry& entry : entries()) {
        const auto compiled = CompileMacroLines(entry.script.lines());
        if (!compiled)
            throw std::logic_error("built-in macro too long: " + std::string(entry.name));
        slots.at(i++) =
            PCMacroSlot{.name = MacroNameStrToUnicode(entry.name), .content = compiled->content};
    }
    return slots;
}

}  // namespace kvr
