#include "buttons/function_menu.h"

#include <array>

namespace kvr {

namespace {

using namespace function_menu;

constexpr std::array<MenuGroup, 7> kGroups = {{
    {"Key_Standard", "Str201", MenuGroupKind::Submenu, "Pnl_MseKey", 900, 904},
    {"Key_Special", "Str202", MenuGroupKind::Submenu, "Pnl_Special", 1000, 1004},
    {"Key_Media", "Str203", MenuGroupKind::Submenu, "Pnl_Media", 1300, 1306},
    {"Key_WWW", "Str204", MenuGroupKind::Submenu, "Pnl_WWW", 1400, 1406},
    {"Key_MyPC", "Str207", MenuGroupKind::Submenu, "Pnl_MyPC", 1100, 1102},
    {"Key_Assembly", "Str205", MenuGroupKind::KeyCombination, "", 0, 0},
    {"Key_Macro", "Str206", MenuGroupKind::MacroList, "LB_Name", 0, 0},
}};

// Length of the UTF-8 sequence that starts with `lead`; a stray byte counts as one character.
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::span<const MenuGroup> menuGroups() { return kGroups; }

const MenuGroup* menuGroupOf(std::string_view control) {
    for (const MenuGroup& g : kGroups)
        if (g.control == control) return &g;
    return nullptr;
}

const MenuGroup* menuGroupOfPanel(std::string_view panel) {
    for (const MenuGroup& g : kGroups)
        if (!g.panel.empty() && g.panel == panel) return &g;
    return nullptr;
}

std::vector<MenuEntry> submenuEntries(const MenuGroup& group) {
    std::vector<MenuEntry> entries;
    if (group.kind != MenuGroupKind::Submenu) return entries;
    for (const MenuEntry& e : menuEntries())
        if (e.entry >= group.firstEntry && e.entry <= group.lastEntry) entries.push_back(e);
    return entries;
}

const MenuEntry* menuEntryOf(std::string_view control) {
    for (const MenuEntry& e : menuEntries())
        if (e.control == control) return &e;
    return nullptr;
}

MenuPoint mainMenuAt(MenuPoint centre) {
    MenuPoint at = centre;
    if (centre.x + kMainWidth >= kWindowWidth) at.x = centre.x - kMainWidth;
    if (centre.y + kMainHeight >= kWindowHeight) at.y = centre.y - kMainHeight;
    return at;
}

MenuPoint submenuAt(const MenuRect& mainMenu, const MenuRect& entry, int submenuWidth,
                    int submenuHeight) {
    MenuPoint at;
    if (mainMenu.left + mainMenu.width + kSubWidth >= kWindowWidth)
        at.x = mainMenu.left - submenuWidth;
    else
        at.x = mainMenu.left + entry.left + entry.width;
    const int entryTop = mainMenu.top + entry.top;
    if (entryTop + entry.height + submenuHeight >= kWindowHeight)
        at.y = entryTop + entry.height - submenuHeight;
    else
        at.y = entryTop;
    return at;
}

std::string menuCaption(std::string_view mark, std::string_view text) {
    std::string caption = " ";
    caption += mark;
    caption += ' ';
    caption += text;
    return caption;
}

std::string functionNameOf(std::string_view caption) {
    std::size_t at = 0;
    for (int skipped = 0; skipped < 3 && at < caption.size(); ++skipped)
        at += utf8Length(static_cast<unsigned char>(caption[at]));
    return at < caption.size() ? std::string(caption.substr(at)) : std::string();
}

}  // namespace kvr
