#pragma once
// The event lines a recording writes, and what each line costs in the mouse's macro bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macros/input_capture.h"

namespace kvr {

// "1 LeftKey CODE:00A1", "2 C CODE:0206", "0 48", or the delay-mode header "00" / "0150" / "10".
using MacroLine = std::string;
using MacroLines = std::vector<MacroLine>;

// A macro holds at most this many event bytes: its length byte counts itself.
inline constexpr int kMacroEventByteLimit = 254;
// One delay pair holds at most 255 units of 8 ms.
inline constexpr int kDelayPairMs = 2040;
// The longest pause a recording keeps.
inline constexpr int kMaxRecordedDelayMs = 10200;

// "1 LeftKey CODE:00A1" ... "2 Backward CODE:0030".
MacroLine mouseButtonEventLine(MouseButton button, bool press);
// The line of a key event, named after the virtual key; modifiers as 81/01 with their bit, every
// other key as 82/02 with its usage code. Empty for virtual key 0xFF, which is never recorded.
MacroLine keyEventLine(int virtualKey, bool press);
MacroLine delayEventLine(int milliseconds);

// Bytes the delay takes once compiled: a pair per whole 2040 ms, and the final pair even when it
// is FE 00.
int delayByteCost(int milliseconds);
// Bytes an event or delay line takes once compiled; 0 for a line that encodes nothing. Not for
// the header line, which is never compiled.
int macroLineByteCost(std::string_view line);
// Event bytes of lines[1..].
int macroLinesByteCost(const MacroLines& lines);
// The longest delay whose pairs fit into `bytes`; -1 when not even one pair fits.
int longestDelayWithin(int bytes);

}  // namespace kvr
