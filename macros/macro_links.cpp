#include "macros/macro_links.h"

#include "buttons/button_names.h"

namespace kvr {

namespace {

struct Fallback {
    int entry;                 // menu entry whose function the button gets back; 0: see below
    std::string_view caption;  // for entry 0: fixed caption and code
    std::string_view codeText;
};

// Position = button - 1.
constexpr std::array<Fallback, kButtonCount> kFallbacks{{
    {900, {}, {}},
    {902, {}, {}},
    {901, {}, {}},
    {903, {}, {}},
    {904, {}, {}},
    {1001, {}, {}},
    {kFireKeyEntry, {}, {}},
    {0, "Win+D", "020807"},
    {1004, {}, {}},
}};

std::string entryName(int entry, const TextLookup& texts) {
    for (const MenuEntry& e : menuEntries()) {
        if (e.entry == entry) return texts ? texts(e.nameKey) : std::string();
    }
    return {};
}

}  // namespace

std::string macroCodeText(std::uint16_t address) { return codeText(macroCode(address)); }

void storeButtonCode(ButtonModel& buttons, DataBuf& data, int button, const std::string& text) {
    buttons.setCodeText(button, text);
    if (const auto code = parseCodeText(text)) setButtonCode(data, button, *code);
}

MacroLinkMarks InitKeysParameters(const ButtonModel& buttons, const DeviceMacroTable& table) {
    MacroLinkMarks marks{};
    const std::vector<std::string> names = table.names();
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        for (const std::string& name : names) {
            if (buttons.caption(n) == name) marks[static_cast<std::size_t>(n - 1)] = true;
        }
    }
    return marks;
}

void RefreshKeysParameters(MacroLinkMarks& marks, ButtonModel& buttons, DataBuf& data,
                           const DeviceMacroTable& table, const TextLookup& texts) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        bool& mark = marks[static_cast<std::size_t>(n - 1)];
        if (!mark) continue;
        mark = false;
        if (const auto index = table.lastIndexOf(buttons.caption(n))) {
            storeButtonCode(buttons, data, n, macroCodeText(*table.address(*index)));
            continue;
        }
        const Fallback& fallback = kFallbacks[static_cast<std::size_t>(n - 1)];
        if (fallback.entry == 0) {
            buttons.setCaption(n, std::string(fallback.caption));
            storeButtonCode(buttons, data, n, std::string(fallback.codeText));
            continue;
        }
        buttons.setCaption(n, entryName(fallback.entry, texts));
        storeButtonCode(buttons, data, n, CodeForMenuEntry(fallback.entry, buttons.fireKey()));
    }
}

void RefreshMacroAddr(ButtonModel& buttons, DataBuf& data, const DeviceMacroTable& table) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        if (const auto index = table.lastIndexOf(buttons.caption(n))) {
            storeButtonCode(buttons, data, n, macroCodeText(*table.address(*index)));
        }
    }
}

}  // namespace kvr
