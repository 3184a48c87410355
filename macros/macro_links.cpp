#include "macros/macro_links.h"

#include <optional>

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

void LB_NameClick(ButtonModel& buttons, DataBuf& data, const DeviceMacroTable& table,
                  std::size_t index, bool macroSupport) {
    const std::optional<std::uint16_t> address = table.address(index);
    if (!address) return;
    const int button = buttons.selectedButton();
    buttons.setCaption(button, table.name(index));
    if (macroSupport) buttons.storeCode(button, macroCodeText(*address), data);
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
            buttons.storeCode(n, macroCodeText(*table.address(*index)), data);
            continue;
        }
        const Fallback& fallback = kFallbacks[static_cast<std::size_t>(n - 1)];
        if (fallback.entry == 0) {
            buttons.setCaption(n, std::string(fallback.caption));
            buttons.storeCode(n, std::string(fallback.codeText), data);
            continue;
        }
        buttons.setCaption(n, entryName(fallback.entry, texts));
        buttons.storeCode(n, CodeForMenuEntry(fallback.entry, buttons.fireKey()), data);
    }
}

void RefreshMacroAddr(ButtonModel& buttons, DataBuf& data, const DeviceMacroTable& table) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        if (const auto index = table.lastIndexOf(buttons.caption(n))) {
            buttons.storeCode(n, macroCodeText(*table.address(*index)), data);
        }
    }
}

}  // namespace kvr
