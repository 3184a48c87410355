#include "macros/macro_checks.h"

#include <algorithm>
#include <array>

namespace kvr {

namespace {

constexpr std::uint8_t kFirstPrintable = 0x20;

char16_t nameUnit(const MacroName& name, std::size_t i) {
    return static_cast<char16_t>(name[2 * i] << 8 | name[2 * i + 1]);
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

bool allZero(std::span<const std::uint8_t> bytes) {
    return std::ranges::all_of(bytes, [](std::uint8_t b) { return b == 0; });
}

std::string numbered(std::size_t number, const MacroName& name) {
    return std::to_string(number) + " (\"" + macroNameText(name) + "\")";
}

}  // namespace

Refusal macroNameRefusal(const MacroName& name, std::size_t number) {
    const FileRefusal damaged{"Str129", std::to_string(number)};
    if (nameUnit(name, 0) == 0) return damaged;
    for (std::size_t i = 0; i < kMacroNameUnits; ++i) {
        const char16_t unit = nameUnit(name, i);
        if (unit == 0) {
            if (!allZero(std::span(name).subspan(2 * i))) return damaged;
            break;
        }
        if (unit < kFirstPrintable || isLowSurrogate(unit)) return damaged;
        if (isHighSurrogate(unit)) {
            if (i + 1 >= kMacroNameUnits || !isLowSurrogate(nameUnit(name, i + 1))) return damaged;
            ++i;
        }
    }
    return std::nullopt;
}

Refusal libraryRecordRefusal(const PCMacroSlot& record, std::size_t number) {
    if (auto refusal = macroNameRefusal(record.name, number)) return refusal;
    const MacroContent& content = record.content;
    const std::size_t length = macroLength(content);
    const auto after = std::span(content).subspan(std::min(length + 1, content.size()));
    const bool neverRecorded = length == 0 && allZero(content);
    const bool empty = length == 1 && content[1] == 0xFF && allZero(after);
    const bool sound = length > 0 && macroChecksumHolds(content) && allZero(after);
    if (neverRecorded || empty || sound) return std::nullopt;
    return FileRefusal{"Str128", numbered(number, record.name)};
}

Refusal macroFileRefusal(std::span<const std::uint8_t> bytes, bool needsMacro) {
    if (bytes.empty() || bytes.size() % kPCMacroRecordSize != 0 || bytes.size() > kPCMacroFileSize)
        return FileRefusal{"Str131", std::to_string(bytes.size())};
    const std::size_t records = bytes.size() / kPCMacroRecordSize;
    for (std::size_t i = 0; i < records; ++i) {
        const auto record = bytes.subspan(i * kPCMacroRecordSize, kPCMacroRecordSize);
        // A free slot is all zero; one with an unused name but other bytes fails the name check.
        if (allZero(record)) continue;
        PCMacroSlot slot;
        std::copy_n(record.begin(), kMacroNameSize, slot.name.begin());
        std::copy_n(record.begin() + kMacroNameSize, kMacroContentSize, slot.content.begin());
        if (auto refusal = libraryRecordRefusal(slot, i + 1)) return refusal;
    }
    if (needsMacro && allZero(bytes.first(kPCMacroRecordSize))) return FileRefusal{"Str130", {}};
    return std::nullopt;
}

Refusal macroAreaRefusal(ConstMacroAreaSpan area) {
    DeviceMacroTable table;
    table.parse(area);
    for (std::size_t i = 0; i < table.count(); ++i) {
        const DeviceMacroSlot& slot = table.slot(i);
        if (auto refusal = macroNameRefusal(slot.name, i + 1)) return refusal;
        // The empty macro's FF is no checksum.
        const bool empty = macroLength(slot.content) == 1 && slot.content[1] == 0xFF;
        if (!empty && !macroChecksumHolds(slot.content))
            return FileRefusal{"Str128", numbered(i + 1, slot.name)};
    }
    std::array<std::uint8_t, kDeviceMacroAreaSize> packed{};
    table.RefreshMacro2(packed);
    if (!std::ranges::equal(packed, area)) return FileRefusal{"Str127", {}};
    return std::nullopt;
}

}  // namespace kvr
