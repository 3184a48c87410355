#pragma once
// A macro in its three forms: the event lines the macro page shows and edits (MacroLine), the
// content bytes the mouse replays (MacroContent: length byte, events, checksum), and the 16-byte
// name shared by the mouse's records and the PC library's records.
//
// Content bytes: byte 0 is L = 1 + number of event bytes, bytes 1..L-1 the events, byte L the
// checksum of bytes 0..L-1, the rest zero. 01 FF is the empty macro; byte 0 = 0 holds no macro.
// Events: A1/21 left, A2/22 right, A4/24 middle, A8/28 forward, B0/30 backward (press/release);
// 81 m / 01 m a modifier bit m; 82 u / 02 u a key of usage u; FE n a delay of 8 x n ms.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

inline constexpr std::size_t kMacroContentSize = 256;
inline constexpr std::size_t kMacroNameSize = 16;
inline constexpr std::size_t kMacroNameUnits = 8;
// L is one byte and counts itself, so a macro holds at most 254 event bytes.
inline constexpr std::size_t kMaxMacroEventBytes = 254;
inline constexpr int kDelayUnitMs = 8;
inline constexpr int kMaxDelayPairMs = 255 * kDelayUnitMs;  // 2040
// Reading merges at most this many delay pairs into one line: 10200 ms.
inline constexpr int kMaxMergedDelayPairs = 5;

using MacroContent = std::array<std::uint8_t, kMacroContentSize>;
// Up to 8 UTF-16 code units, high byte first, zero-padded.
using MacroName = std::array<std::uint8_t, kMacroNameSize>;
// "1 LeftKey CODE:00A1", "2 C CODE:0206", "0 48", or the delay-mode header "00" / "0150" / "10".
using MacroLine = std::string;
using MacroLines = std::vector<MacroLine>;

// An event line: "1 " or "2 ", the event's name, " CODE:" and the two bytes in hexadecimal.
MacroLine macroEventLine(bool press, std::string_view name, std::uint8_t first,
                         std::uint8_t second);
// The modifier bit a virtual key records as (Ctrl, Shift, Alt, left and right Windows key; the
// right-hand Ctrl, Shift and Alt share the left-hand bits); 0 for any other key.
std::uint8_t modifierBitOf(int virtualKey);

namespace macro_event {
inline constexpr std::uint8_t kPressBit = 0x80;
inline constexpr std::uint8_t kModifier = 0x01;  // 81 m / 01 m
inline constexpr std::uint8_t kKey = 0x02;       // 82 u / 02 u
inline constexpr std::uint8_t kDelay = 0xFE;     // FE n
// Never written by this program; stepped over as one- and two-byte items when read.
inline constexpr std::uint8_t kSkipOne = 0xFC;
inline constexpr std::uint8_t kSkipTwo = 0xFD;
}  // namespace macro_event

// The empty macro: 01 FF and zeros (its FF is not a checksum).
MacroContent emptyMacroContent();
// L, the length byte.
inline std::uint8_t macroLength(const MacroContent& content) { return content[0]; }
// Whether byte L holds the checksum of bytes 0..L-1; false for L = 0.
bool macroChecksumHolds(const MacroContent& content);
// Content bytes 0..L (length, events, checksum); empty for L = 0.
std::span<const std::uint8_t> macroBytes(const MacroContent& content);

// Upper-case hexadecimal digit pairs with nothing between them ("0782").
std::string hexBytes(std::span<const std::uint8_t> bytes);

// MacroNameStrToUnicode: the UTF-8 text as UTF-16 units, high byte first. Names longer than 8
// units are cut (never inside a surrogate pair); nothing is written past the 16 bytes.
MacroName MacroNameStrToUnicode(std::string_view text);
// The displayed name: the units up to the first zero unit, as UTF-8.
std::string macroNameText(const MacroName& name);
// A slot is in use when the first or second name byte is not zero.
bool macroNameInUse(const MacroName& name);

// The delay pairs of d ms: floor(d / 2040) pairs FE FF, then FE floor((d mod 2040) / 8), the last
// one even when it is FE 00. Negative delays count as 0.
std::vector<std::uint8_t> delayPairs(int milliseconds);

enum class DelayMode { None, Fixed, Recorded };

struct DecodedMacro {
    MacroLines lines;  // lines[0] is the header
    DelayMode mode = DelayMode::None;
    int fixedDelay = 0;  // for DelayMode::Fixed: the Edt_Delay value
};

// DecodeMacroContent. Without macro support only the header "00" is produced. Unknown bytes are
// skipped one at a time; never reads past the content.
DecodedMacro DecodeMacroContent(const MacroContent& content, bool macroSupport);

struct CompiledMacro {
    MacroContent content{};
    std::string hexText;  // mmo_wrscript: bytes 0..L as hex; empty for the empty macro
};

// CompileMacroLines: lines after the header are encoded (only their first character and last four
// characters count; lines too short or not hexadecimal there are skipped). Empty when the events
// would need more than 254 bytes: such a macro cannot be stored.
std::optional<CompiledMacro> CompileMacroLines(std::span<const MacroLine> lines);

// Line texts of single events, as the recorder and the editor write them.
MacroLine mouseButtonLine(std::uint8_t eventByte);  // "1 LeftKey CODE:00A1"; empty if not a button
MacroLine modifierLine(bool press, std::uint8_t modifierBits);
MacroLine keyLine(bool press, std::uint8_t usage);
MacroLine delayLine(int milliseconds);

}  // namespace kvr
