#include "macros/device_macro_table.h"

#include <algorithm>

namespace kvr {

namespace {

std::uint16_t u16(std::size_t n) { return static_cast<std::uint16_t>(n); }

// Whether the record at `p` is the empty macro in its 33-byte form: length 1, the FF marker and
// 15 zero bytes. Reading it as 18 bytes would take its zero fill for the next record's name and
// lose every macro after it.
bool isResetRecord(ConstMacroAreaSpan area, std::size_t p) {
    if (p + kResetMacroRecordSize > area.size()) return false;
    const std::size_t content = p + kMacroNameSize;
    if (area[content] != 0x01 || area[content + 1] != 0xFF) return false;
    return std::all_of(area.begin() + static_cast<std::ptrdiff_t>(content + 2),
                       area.begin() + static_cast<std::ptrdiff_t>(p + kResetMacroRecordSize),
                       [](std::uint8_t b) { return b == 0; });
}

// The size a record of this content will have once it is checked.
std::uint16_t checkedRecordSize(const MacroContent& content) {
    if (!macroChecksumHolds(content)) return kResetMacroRecordSize;
    return u16(macroLength(content) + kMacroRecordOverhead);
}

}  // namespace

DeviceMacroTable::DeviceMacroTable() { slots_[0].address = kFirstMacroAddress; }

void DeviceMacroTable::parse(ConstMacroAreaSpan area) {
    slots_ = {};
    std::size_t p = 0;
    for (DeviceMacroSlot& slot : slots_) {
        if (p + kMacroRecordOverhead > area.size()) break;
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(p), kMacroNameSize,
                    slot.name.begin());
        const std::size_t length = area[p + kMacroNameSize];
        if (length == 0) break;
        std::size_t size = length + kMacroRecordOverhead;
        if (length == 1 && isResetRecord(area, p)) size = kResetMacroRecordSize;
        // A damaged length that runs past the area ends the list: its name is not a macro.
        if (p + size > area.size()) {
            slot.name = {};
            break;
        }
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(p + kMacroNameSize), length + 1,
                    slot.content.begin());
        slot.size = u16(size);
        p += size;
    }
    recomputeAddresses();
}

bool DeviceMacroTable::CheckMacroContentBuf2() {
    bool reset = false;
    for (DeviceMacroSlot& slot : slots_) {
        if (slot.size == 0 || macroChecksumHolds(slot.content)) continue;
        slot.content = emptyMacroContent();
        slot.size = kResetMacroRecordSize;
        reset = true;
    }
    return reset;
}

void DeviceMacroTable::RefreshMacro2(MacroAreaSpan area) {
    std::ranges::fill(area, 0);
    std::size_t q = 0;
    bool full = false;
    for (DeviceMacroSlot& slot : slots_) {
        if (slot.size == 0) continue;
        if (full || q + slot.size > area.size()) {
            full = true;
            slot = {};
            continue;
        }
        std::ranges::copy(slot.name, area.begin() + static_cast<std::ptrdiff_t>(q));
        std::copy_n(slot.content.begin(), slot.size - kMacroNameSize,
                    area.begin() + static_cast<std::ptrdiff_t>(q + kMacroNameSize));
        q += slot.size;
    }
    recomputeAddresses();
}

int DeviceMacroTable::CheckMacroLen2() {
    totalSize_ = 0;
    for (const DeviceMacroSlot& slot : slots_) totalSize_ += slot.size;
    return totalSize_;
}

void DeviceMacroTable::recomputeAddresses() {
    std::size_t before = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        DeviceMacroSlot& slot = slots_[i];
        slot.address = (i == 0 || slot.size != 0) ? u16(kFirstMacroAddress + before) : 0;
        before += slot.size;
    }
    CheckMacroLen2();
}

void DeviceMacroTable::ReadAndRefreshMacro2(MacroAreaSpan area) {
    parse(area);
    CheckMacroContentBuf2();
    RefreshMacro2(area);
}

std::size_t DeviceMacroTable::count() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(slots_, [](const DeviceMacroSlot& s) { return s.size != 0; }));
}

AddMacroResult DeviceMacroTable::add(const MacroName& name, const MacroContent& content,
                                     MacroAreaSpan area) {
    const std::size_t n = count();
    if (n >= kDeviceMacroSlots) return AddMacroResult::NoFreeSlot;

    std::array<std::uint8_t, kDeviceMacroAreaSize> undo{};
    std::ranges::copy(area, undo.begin());

    DeviceMacroSlot& slot = slots_[n];
    slot.name = name;
    slot.content = macroLength(content) == 0 ? emptyMacroContent() : content;
    // Only bytes 0..L belong to the record.
    const std::size_t length = macroLength(slot.content);
    std::fill(slot.content.begin() + static_cast<std::ptrdiff_t>(length + 1), slot.content.end(),
              0);
    slot.size = checkedRecordSize(slot.content);

    if (CheckMacroLen2() <= static_cast<int>(kDeviceMacroAreaSize)) {
        RefreshMacro2(area);
        ReadAndRefreshMacro2(area);
        return AddMacroResult::Added;
    }
    std::ranges::copy(undo, area.begin());
    ReadAndRefreshMacro2(area);
    return AddMacroResult::AreaFull;
}

bool DeviceMacroTable::remove(std::size_t index, MacroAreaSpan area) {
    if (index >= slots_.size() || slots_[index].size == 0) return false;
    slots_[index] = {};
    RefreshMacro2(area);
    ReadAndRefreshMacro2(area);
    return true;
}

std::vector<std::string> DeviceMacroTable::names() const {
    std::vector<std::string> list;
    for (const DeviceMacroSlot& slot : slots_) {
        if (slot.size == 0) break;
        list.push_back(macroNameText(slot.name));
    }
    return list;
}

std::string DeviceMacroTable::name(std::size_t index) const {
    if (index >= slots_.size() || slots_[index].size == 0) return {};
    return macroNameText(slots_[index].name);
}

std::optional<std::uint16_t> DeviceMacroTable::address(std::size_t index) const {
    if (index >= slots_.size() || slots_[index].size == 0) return std::nullopt;
    return slots_[index].address;
}

std::optional<std::string> DeviceMacroTable::nameAt(std::uint16_t address) const {
    for (const DeviceMacroSlot& slot : slots_) {
        if (slot.size != 0 && slot.address == address) return macroNameText(slot.name);
    }
    return std::nullopt;
}

std::optional<std::size_t> DeviceMacroTable::lastIndexOf(const std::string& name) const {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].size != 0 && macroNameText(slots_[i].name) == name) found = i;
    }
    return found;
}

}  // namespace kvr
