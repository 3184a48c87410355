#pragma once
// The macros in the mouse as the macro page changes them: the table parsed from the cycle's
// macro area, adding a library macro ("Add to Mouse"), deleting one with the buttons that point
// at it, and writing the result at once. Every operation does nothing while the mouse has no
// macro memory.
#include <optional>

#include "base/text_lookup.h"
#include "buttons/button_model.h"
#include "buttons/button_names.h"
#include "cycle/read_write_cycle.h"
#include "macros/device_macro_table.h"
#include "macros/pc_macro_library.h"

namespace kvr {

struct AddToMouseOutcome {
    AddMacroResult result = AddMacroResult::NoFreeSlot;
    std::optional<WriteResult> write;  // set when the macro was added and written
    Refusal refusal;                   // set when the entry fails its check: nothing happened
};

class DeviceMacros {
public:
    // `cycle` and `buttons` must outlive this; `texts` names the fallback functions of buttons
    // whose macro was deleted.
    DeviceMacros(ReadWriteCycle& cycle, ButtonModel& buttons, TextLookup texts);

    const DeviceMacroTable& table() const { return table_; }
    bool macroSupport() const { return cycle_.macroSupport(); }

    // ReadAndRefreshMacro2 on the cycle's macro area (after a read, a profile load, at start):
    // the table is parsed, damaged records are reset and the area is packed again.
    void ReadAndRefreshMacro2();
    // For CodeNaming::macroNameAt: the name of the macro that starts at an address.
    MacroNameAt macroNameAt() const;

    // Btn_AddMacroClick: the library entry goes into the mouse and is written. NoFreeSlot with 15
    // macros (nothing happens), AreaFull when it would not fit (Str103; the area is as before).
    // A damaged entry (libraryRecordRefusal; `number` counts from 1 for its message) is refused
    // before anything happens: the mouse would get the empty macro in its place.
    AddToMouseOutcome Btn_AddMacroClick(const PCMacroSlot& entry, std::size_t number = 1);
    // Btn_DelMacroClick: removes macro `index`; buttons that pointed at a macro by name follow it
    // to its new address or return to their fallback function; then writes. Empty when nothing
    // was deleted.
    std::optional<WriteResult> Btn_DelMacroClick(std::size_t index);
    // Btn_SaveMacroClick: the button codes follow the macros by name, then the profile block and
    // the macro area are written.
    WriteResult Btn_SaveMacroClick();

private:
    ReadWriteCycle& cycle_;
    ButtonModel& buttons_;
    TextLookup texts_;
    DeviceMacroTable table_;
};

}  // namespace kvr
