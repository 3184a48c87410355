#pragma once
// Buttons follow device macros by name: a button whose label shows a device macro's name runs
// that macro (code 06 + address), so when addresses move or a macro goes away the buttons'
// codes are derived again from their captions.
#include <array>
#include <cstdint>
#include <string>

#include "base/text_lookup.h"
#include "buttons/button_model.h"
#include "macros/device_macro_table.h"
#include "params/data_buf.h"

namespace kvr {

// MacroLinkMarks: one flag per button 1..9 (element 0 is button 1).
using MacroLinkMarks = std::array<bool, kButtonCount>;

// The macro code text of an address: "06" and the address as four upper-case hex digits.
std::string macroCodeText(std::uint16_t address);

// LB_NameClick: SelectedButton shows the name of macro `index` and, while the mouse keeps
// macros, runs it (its code text and three bytes). An index that holds no macro changes nothing.
void LB_NameClick(ButtonModel& buttons, DataBuf& data, const DeviceMacroTable& table,
                  std::size_t index, bool macroSupport);

// InitKeysParameters: marks every button whose caption equals the name of a device macro.
MacroLinkMarks InitKeysParameters(const ButtonModel& buttons, const DeviceMacroTable& table);

// RefreshKeysParameters, after the macro list was rebuilt: each marked button whose caption still
// names a macro (the last equal one) points at that macro's address; the others return to their
// fallback function and caption (button 1 Left Key, 2 Middle, 3 Right, 4 Backward, 5 Forward,
// 6 DPI, 7 Fire Key with the fire-key fields, 8 "Win+D", 9 LED Switch). Clears the marks.
void RefreshKeysParameters(MacroLinkMarks& marks, ButtonModel& buttons, DataBuf& data,
                           const DeviceMacroTable& table, const TextLookup& texts);

// RefreshMacroAddr: every button whose caption equals a device macro's name gets that macro's
// code (with duplicate names the last macro wins), in the model and in DataBuf.
void RefreshMacroAddr(ButtonModel& buttons, DataBuf& data, const DeviceMacroTable& table);

}  // namespace kvr
