#pragma once
// The macros kept in the mouse: up to 15 records packed into the 512-byte macro area (device
// memory 512..1023). A record is the 16-byte name followed by content bytes 0..L, so its size is
// L + 17; records follow each other with no gap and a zero length byte ends the list. A macro's
// address, which a button's macro code (06 hi lo) points at, is that of its length byte:
// 528 for the first record, 528 + the sizes of the records before it for the others.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "macros/macro_codec.h"

namespace kvr {

inline constexpr std::size_t kDeviceMacroSlots = 15;
inline constexpr std::size_t kDeviceMacroAreaSize = 512;
inline constexpr std::uint16_t kDeviceMacroAreaAddress = 512;
inline constexpr std::uint16_t kFirstMacroAddress = kDeviceMacroAreaAddress + kMacroNameSize;
// Name and checksum around the length byte and the events.
inline constexpr std::size_t kMacroRecordOverhead = kMacroNameSize + 1;
// A record whose checksum failed keeps its name and becomes the empty macro in a record of this
// size: 16 name bytes, 01 FF and 15 zero bytes.
inline constexpr std::uint16_t kResetMacroRecordSize = 33;

using MacroAreaSpan = std::span<std::uint8_t, kDeviceMacroAreaSize>;
using ConstMacroAreaSpan = std::span<const std::uint8_t, kDeviceMacroAreaSize>;

struct DeviceMacroSlot {
    MacroName name{};
    MacroContent content{};  // bytes 0..L, the rest zero
    std::uint16_t size = 0;  // record size; 0 = slot empty
    std::uint16_t address = 0;
};

enum class AddMacroResult {
    Added,
    NoFreeSlot,  // 15 macros already: nothing happens
    AreaFull,    // the records would pass 512 bytes: the area is as before (Str103)
};

class DeviceMacroTable {
public:
    DeviceMacroTable();

    // ReadAndRefreshMacro2 without the window's lists: parses `area`, resets records whose
    // checksum fails (CheckMacroContentBuf2) and packs the result back into `area` (RefreshMacro2).
    // Damaged length bytes never make it read past the area: a record that would run past its end
    // ends the list there.
    void ReadAndRefreshMacro2(MacroAreaSpan area);
    // Parsing alone: fills the slots from the area's records.
    void parse(ConstMacroAreaSpan area);
    // Resets every used slot whose checksum fails to the empty macro of record size 33, name kept.
    // Returns whether any was reset.
    bool CheckMacroContentBuf2();
    // Packs the slots into `area` in slot order, zero-filled, and recomputes the addresses and the
    // total size. A slot that would not fit whole is left out with every later one.
    void RefreshMacro2(MacroAreaSpan area);
    // MacroTotalSize from the slot sizes.
    int CheckMacroLen2();

    // Btn_AddMacroClick on the area: the name and content go into the first free slot, packed
    // and parsed again. The record's size is always the size it will have in the mouse: L + 17
    // for a sound macro, 33 for content that is empty or fails its checksum (content with L = 0,
    // a library entry never recorded, goes in as the empty macro).
    AddMacroResult add(const MacroName& name, const MacroContent& content, MacroAreaSpan area);
    // Btn_DelMacroClick on the area: slot `index` is emptied, the later records move down and
    // their addresses shrink. False for an index that holds no macro.
    bool remove(std::size_t index, MacroAreaSpan area);

    // Number of macros; the used slots are always 0..count-1.
    std::size_t count() const;
    const std::array<DeviceMacroSlot, kDeviceMacroSlots>& allSlots() const { return slots_; }
    const DeviceMacroSlot& slot(std::size_t index) const { return slots_.at(index); }
    // The names of the macros in list order (RefreshMacroName2): list index = slot index.
    std::vector<std::string> names() const;
    std::string name(std::size_t index) const;
    // The address of macro `index`; empty for an index that holds no macro.
    std::optional<std::uint16_t> address(std::size_t index) const;
    // The name of the first macro that starts at `address`, for a button's macro code.
    std::optional<std::string> nameAt(std::uint16_t address) const;
    // The last macro whose name equals `name` (duplicate names: the last one wins).
    std::optional<std::size_t> lastIndexOf(const std::string& name) const;
    int totalSize() const { return totalSize_; }

private:
    void recomputeAddresses();

    std::array<DeviceMacroSlot, kDeviceMacroSlots> slots_{};
    int totalSize_ = 0;
};

}  // namespace kvr
