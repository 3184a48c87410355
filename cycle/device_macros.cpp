#include "cycle/device_macros.h"

#include <utility>

#include "macros/macro_checks.h"
#include "macros/macro_links.h"

namespace kvr {

namespace {
MacroAreaSpan areaOf(ReadWriteCycle& cycle) { return cycle.images().macroArea.bytes; }
}  // namespace

DeviceMacros::DeviceMacros(ReadWriteCycle& cycle, ButtonModel& buttons, TextLookup texts)
    : cycle_(cycle), buttons_(buttons), texts_(std::move(texts)) {}

void DeviceMacros::ReadAndRefreshMacro2() { table_.ReadAndRefreshMacro2(areaOf(cycle_)); }

MacroNameAt DeviceMacros::macroNameAt() const {
    return [this](std::uint16_t address) -> std::optional<std::string> {
        if (!macroSupport()) return std::nullopt;
        return table_.nameAt(address);
    };
}

AddToMouseOutcome DeviceMacros::Btn_AddMacroClick(const PCMacroSlot& entry, std::size_t number) {
    AddToMouseOutcome outcome;
    if (!macroSupport()) return outcome;
    if ((outcome.refusal = libraryRecordRefusal(entry, number))) return outcome;
    outcome.result = table_.add(entry.name, entry.content, areaOf(cycle_));
    if (outcome.result == AddMacroResult::Added) outcome.write = Btn_SaveMacroClick();
    return outcome;
}

std::optional<WriteResult> DeviceMacros::Btn_DelMacroClick(std::size_t index) {
    if (!macroSupport() || !table_.address(index)) return std::nullopt;
    cycle_.setMacroDirty(true);
    MacroLinkMarks marks = InitKeysParameters(buttons_, table_);
    table_.remove(index, areaOf(cycle_));
    RefreshKeysParameters(marks, buttons_, cycle_.dataBuf(), table_, texts_);
    return Btn_SaveMacroClick();
}

WriteResult DeviceMacros::Btn_SaveMacroClick() {
    return cycle_.writeDeviceMacros([this] {
        if (macroSupport()) RefreshMacroAddr(buttons_, cycle_.dataBuf(), table_);
    });
}

}  // namespace kvr
