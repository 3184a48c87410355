#pragma once
// Checks of macros that come from files: a library record, a macro file for Import One / All and
// the macro area of a profile or memory image. A macro that fails them would be reset to the empty
// macro on its way into the mouse, or would show events the mouse never plays; so it is refused
// with its reason before anything changes.
#include <cstddef>
#include <span>

#include "base/file_refusal.h"
#include "macros/device_macro_table.h"
#include "macros/pc_macro_library.h"

namespace kvr {

// A name is up to 8 UTF-16 units with no control character and no lone surrogate, ended by zero
// units only. `number` counts from 1 for the message.
Refusal macroNameRefusal(const MacroName& name, std::size_t number);
// A library record in use: its name, and content that is never recorded (all zero), the empty
// macro (01 FF), or events under a checksum that holds, with nothing after it.
Refusal libraryRecordRefusal(const PCMacroSlot& record, std::size_t number);
// A macro file of whole 272-byte records, up to 100: every record free (all zero) or sound.
// `needsMacro`: the first record must hold a macro (Import One).
Refusal macroFileRefusal(std::span<const std::uint8_t> bytes, bool needsMacro);
// The mouse's macro area: every record's name and checksum, and a table that reads back to the
// very same bytes (no record past the end, no bytes after the list).
Refusal macroAreaRefusal(ConstMacroAreaSpan area);

}  // namespace kvr
