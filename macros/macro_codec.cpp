#include "macros/macro_codec.h"

#include <algorithm>
#include <charconv>

#include "buttons/key_table.h"
#include "params/checksum.h"

namespace kvr {

namespace {

struct MouseButtonEvent {
    std::uint8_t bit;
    std::string_view name;
};
// Press byte = 0xA0 | bit, release byte = 0x20 | bit.
constexpr std::array<MouseButtonEvent, 5> kMouseButtons{{
    {0x01, "LeftKey"},
    {0x02, "RightKey"},
    {0x04, "MiddleKey"},
    {0x08, "Forward"},
    {0x10, "Backward"},
}};
constexpr std::uint8_t kMouseButtonBase = 0x20;

struct ModifierKey {
    std::uint8_t bit;
    int virtualKey;
};
// Right-hand Ctrl, Shift and Alt record as the left-hand bits.
constexpr std::array<ModifierKey, 5> kModifiers{{
    {0x01, 17},  // Ctrl
    {0x02, 16},  // Shift
    {0x04, 18},  // Alt
    {0x08, 91},  // left Windows key
    {0x80, 92},  // right Windows key
}};

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::uint8_t b) {
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 0x0F]);
}

std::optional<std::uint8_t> hexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return std::nullopt;
}

std::optional<std::uint8_t> hexByte(std::string_view two) {
    const auto high = hexDigit(two[0]);
    const auto low = hexDigit(two[1]);
    if (!high || !low) return std::nullopt;
    return static_cast<std::uint8_t>(*high << 4 | *low);
}

const MouseButtonEvent* mouseButton(std::uint8_t eventByte) {
    const std::uint8_t bit = eventByte & static_cast<std::uint8_t>(~macro_event::kPressBit);
    if ((bit & 0xE0) != kMouseButtonBase) return nullptr;
    for (const MouseButtonEvent& button : kMouseButtons) {
        if ((bit & 0x1F) == button.bit) return &button;
    }
    return nullptr;
}

// One name per modifier bit; several bits (never written by this program) join with "+", and
// bits no modifier owns read "Modifier", so the line still encodes back to its own bytes.
std::string modifierName(std::uint8_t bits) {
    std::string name;
    for (const ModifierKey& modifier : kModifiers) {
        if (!(bits & modifier.bit)) continue;
        if (!name.empty()) name += '+';
        name += KeyIndexToName(VirtualKeyToKeyIndex(modifier.virtualKey));
    }
    return name.empty() ? "Modifier" : name;
}

MacroLine eventLine(bool press, std::string_view name, std::uint8_t first, std::uint8_t second) {
    MacroLine line = press ? "1 " : "2 ";
    line += name;
    line += " CODE:";
    appendHex(line, first);
    appendHex(line, second);
    return line;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

// Code points of UTF-8 text; a malformed sequence reads as one replacement character.
std::u32string codePoints(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = lead;
        if (lead >= 0xF0 && lead < 0xF8) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0x80) {
            extra = -1;
        }
        if (extra < 0 || lead >= 0xF8) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + static_cast<std::size_t>(k) >= text.size()) {
                ok = false;
                break;
            }
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = c << 6 | (next & 0x3F);
        }
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

MacroLine macroEventLine(bool press, std::string_view name, std::uint8_t first,
                         std::uint8_t second) {
    return eventLine(press, name, first, second);
}

std::uint8_t modifierBitOf(int virtualKey) {
    for (const ModifierKey& modifier : kModifiers) {
        if (modifier.virtualKey == virtualKey) return modifier.bit;
    }
    return 0;
}

MacroContent emptyMacroContent() {
    MacroContent content{};
    content[0] = 0x01;
    content[1] = 0xFF;
    return content;
}

bool macroChecksumHolds(const MacroContent& content) {
    const std::size_t length = macroLength(content);
    if (length == 0) return false;
    return content[length] == blockChecksum(std::span(content).first(length));
}

std::span<const std::uint8_t> macroBytes(const MacroContent& content) {
    const std::size_t length = macroLength(content);
    if (length == 0) return {};
    return std::span(content).first(length + 1);
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) appendHex(text, b);
    return text;
}

MacroName MacroNameStrToUnicode(std::string_view text) {
    std::u16string units;
    for (char32_t c : codePoints(text)) {
        if (c == 0) break;
        if (c < 0x10000) {
            if (units.size() + 1 > kMacroNameUnits) break;
            units.push_back(static_cast<char16_t>(c));
        } else {
            // A pair that does not fit whole is left out rather than cut in half.
            if (units.size() + 2 > kMacroNameUnits) break;
            c -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
    }
    MacroName name{};
    for (std::size_t i = 0; i < units.size(); ++i) {
        name[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        name[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
    }
    return name;
}

std::string macroNameText(const MacroName& name) {
    std::string text;
    for (std::size_t i = 0; i < kMacroNameUnits; ++i) {
        const char16_t unit = static_cast<char16_t>(name[2 * i] << 8 | name[2 * i + 1]);
        if (unit == 0) break;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < kMacroNameUnits) {
            const char16_t low = static_cast<char16_t>(name[2 * i + 2] << 8 | name[2 * i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(text, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(text, (unit >= 0xD800 && unit < 0xE000) ? kReplacement : char32_t{unit});
    }
    return text;
}

bool macroNameInUse(const MacroName& name) { return name[0] != 0 || name[1] != 0; }

std::vector<std::uint8_t> delayPairs(int milliseconds) {
    const int d = std::max(milliseconds, 0);
    std::vector<std::uint8_t> pairs;
    for (int full = 0; full < d / kMaxDelayPairMs; ++full) {
        pairs.push_back(macro_event::kDelay);
        pairs.push_back(0xFF);
    }
    pairs.push_back(macro_event::kDelay);
    pairs.push_back(static_cast<std::uint8_t>((d % kMaxDelayPairMs) / kDelayUnitMs));
    return pairs;
}

MacroLine mouseButtonLine(std::uint8_t eventByte) {
    const MouseButtonEvent* button = mouseButton(eventByte);
    if (!button) return {};
    return eventLine((eventByte & macro_event::kPressBit) != 0, button->name, 0x00, eventByte);
}

MacroLine modifierLine(bool press, std::uint8_t modifierBits) {
    const std::uint8_t code =
        press ? macro_event::kModifier | macro_event::kPressBit : macro_event::kModifier;
    return eventLine(press, modifierName(modifierBits), code, modifierBits);
}

MacroLine keyLine(bool press, std::uint8_t usage) {
    const std::uint8_t code =
        press ? macro_event::kKey | macro_event::kPressBit : macro_event::kKey;
    return eventLine(press, UsageToName(usage), code, usage);
}

MacroLine delayLine(int milliseconds) { return "0 " + std::to_string(milliseconds); }

DecodedMacro DecodeMacroContent(const MacroContent& content, bool macroSupport) {
    DecodedMacro decoded;
    decoded.lines.push_back("00");
    if (!macroSupport) return decoded;

    std::array<int, 4> delays{};
    std::size_t delaysSeen = 0;
    const std::size_t last = macroLength(content) == 0 ? 0 : macroLength(content) - 1u;
    // A two-byte event at L-1 takes the checksum as its second byte, as the mouse would; content
    // is 256 bytes and L at most 255, so p + 1 never leaves it.
    std::size_t p = 1;
    while (p <= last) {
        const std::uint8_t b = content[p];
        const std::uint8_t code = b & static_cast<std::uint8_t>(~macro_event::kPressBit);
        const bool press = (b & macro_event::kPressBit) != 0;
        if (const MacroLine line = mouseButtonLine(b); !line.empty()) {
            decoded.lines.push_back(line);
            p += 1;
        } else if (code == macro_event::kModifier) {
            decoded.lines.push_back(modifierLine(press, content[p + 1]));
            p += 2;
        } else if (code == macro_event::kKey) {
            decoded.lines.push_back(keyLine(press, content[p + 1]));
            p += 2;
        } else if (b == macro_event::kDelay) {
            int sum = 0;
            int pairs = 0;
            while (pairs < kMaxMergedDelayPairs && p <= last && content[p] == macro_event::kDelay) {
                sum += kDelayUnitMs * content[p + 1];
                p += 2;
                ++pairs;
            }
            decoded.lines.push_back(delayLine(sum));
            if (delaysSeen < delays.size()) delays[delaysSeen++] = sum;
        } else if (b == macro_event::kSkipTwo) {
            p += 2;
        } else {
            // 0xFC and any byte this program does not know: stepped over alone.
            p += 1;
        }
    }

    if (std::ranges::all_of(delays, [](int d) { return d == 0; })) {
        decoded.mode = DelayMode::None;
        decoded.lines[0] = "00";
    } else if (std::ranges::all_of(delays, [&](int d) { return d == delays[0]; })) {
        decoded.mode = DelayMode::Fixed;
        decoded.fixedDelay = delays[0];
        decoded.lines[0] = "01" + std::to_string(delays[0]);
    } else {
        decoded.mode = DelayMode::Recorded;
        decoded.lines[0] = "10";
    }
    return decoded;
}

std::optional<CompiledMacro> CompileMacroLines(std::span<const MacroLine> lines) {
    std::vector<std::uint8_t> events;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        if (line[0] == '0') {
            int d = 0;
            if (line.size() > 2) {
                const char* begin = line.data() + 2;
                const char* end = line.data() + line.size();
                if (std::from_chars(begin, end, d).ec != std::errc{}) d = 0;
            }
            // Refused before the pairs are built, so an absurd delay costs nothing.
            const std::size_t pairBytes = 2 * (static_cast<std::size_t>(std::max(d, 0)) /
                                                   static_cast<std::size_t>(kMaxDelayPairMs) +
                                               1);
            if (events.size() + pairBytes > kMaxMacroEventBytes) return std::nullopt;
            const std::vector<std::uint8_t> pairs = delayPairs(d);
            events.insert(events.end(), pairs.begin(), pairs.end());
            continue;
        }
        if (line.size() < 4) continue;
        const std::string_view digits = line.substr(line.size() - 4);
        const auto first = hexByte(digits.substr(0, 2));
        const auto second = hexByte(digits.substr(2, 2));
        if (!first || !second) continue;
        if (digits.substr(0, 2) != "00") events.push_back(*first);
        events.push_back(*second);
        if (events.size() > kMaxMacroEventBytes) return std::nullopt;
    }

    CompiledMacro compiled;
    if (events.empty()) {
        compiled.content = emptyMacroContent();
        return compiled;
    }
    const std::size_t length = events.size() + 1;
    compiled.content[0] = static_cast<std::uint8_t>(length);
    std::ranges::copy(events, compiled.content.begin() + 1);
    setChecksum(compiled.content, length);
    compiled.hexText = hexBytes(std::span(compiled.content).first(length + 1));
    return compiled;
}

}  // namespace kvr
