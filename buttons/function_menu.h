#pragma once
// The two-level function menu of the button page: which group opens which submenu, the menu's
// sizes, where it opens so that it stays inside the window, and how its captions read.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buttons/button_names.h"

namespace kvr {

namespace function_menu {
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 600;
inline constexpr int kRowHeight = 24;
inline constexpr int kMainWidth = 190;
inline constexpr int kMainHeight = 170;  // seven rows and the frame
inline constexpr int kSubWidth = 164;
}  // namespace function_menu

// What a main-menu entry opens.
enum class MenuGroupKind { Submenu, KeyCombination, MacroList };

struct MenuGroup {
    std::string_view control;     // entry of Pnl_Main
    std::string_view captionKey;  // its language text
    MenuGroupKind kind;
    std::string_view panel;  // the submenu panel, or LB_Name for the macro list
    int firstEntry = 0;      // the submenu's fixed entries, by entry number
    int lastEntry = 0;
};

// The seven entries of Pnl_Main, top to bottom.
std::span<const MenuGroup> menuGroups();
const MenuGroup* menuGroupOf(std::string_view control);
const MenuGroup* menuGroupOfPanel(std::string_view panel);
// The fixed entries of a submenu, top to bottom.
std::vector<MenuEntry> submenuEntries(const MenuGroup& group);
const MenuEntry* menuEntryOf(std::string_view control);

struct MenuRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const MenuRect&, const MenuRect&) = default;
};

struct MenuPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const MenuPoint&, const MenuPoint&) = default;
};

// Pnl_Main opens with its corner at the centre of the clicked label, turned to the left or
// upwards where it would reach the window's right or bottom edge.
MenuPoint mainMenuAt(MenuPoint labelCentre);
// A submenu opens beside its entry of Pnl_Main (entry in the panel's coordinates), to the left
// of Pnl_Main near the right edge and ending at the entry's bottom near the bottom edge.
MenuPoint submenuAt(const MenuRect& mainMenu, const MenuRect& entry, int submenuWidth,
                    int submenuHeight);

// " " + mark + " " + text: every menu caption starts with the mark of "Str200" between blanks.
std::string menuCaption(std::string_view mark, std::string_view text);
// The function a menu caption names: the caption without its first three characters.
std::string functionNameOf(std::string_view caption);

}  // namespace kvr
