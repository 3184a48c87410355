#include "buttons/key_combination.h"

#include "base/bits.h"
#include "buttons/key_table.h"
#include "params/button_code.h"

namespace kvr {

namespace {

constexpr int kLeftWindows = 0x5B;
constexpr int kRightWindows = 0x5C;

std::string hex2(std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

void eraseFirst(std::string& text, const std::string& part) {
    if (const auto at = text.find(part); at != std::string::npos) text.erase(at, part.size());
}

}  // namespace

std::string_view KeyCombination::nameOf(Modifier m) {
    switch (m) {
        case Modifier::Ctrl:
            return "Ctrl";
        case Modifier::Shift:
            return "Shift";
        case Modifier::Alt:
            return "Alt";
        case Modifier::Win:
            return "Win";
    }
    return {};
}

void KeyCombination::FormCreate() {
    editText_.clear();
    typedKeyCount_ = 0;
    firstKeyUsage_ = 0;
    secondKeyUsage_ = 0;
    lastKeyName_.clear();
    typedKeysText_.clear();
    modifierText_.clear();
}

void KeyCombination::RefreshControl() {
    modifierText_.clear();
    for (Modifier m : kModifiers) {
        if (!ticked(m)) continue;
        if (!modifierText_.empty()) modifierText_ += '+';
        modifierText_ += nameOf(m);
    }
}

void KeyCombination::RefreshModify() {
    // Bit order of the boot keyboard report: Ctrl, Shift, Alt, Win.
    static constexpr std::array<int, 4> kBits = {key_modifier::kCtrl, key_modifier::kShift,
                                                 key_modifier::kAlt, key_modifier::kWin};
    for (Modifier m : kModifiers) {
        const int bit = kBits[index(m)];
        modifierByte_ = ticked(m) ? bitSet(modifierByte_, bit) : bitClear(modifierByte_, bit);
    }
}

void KeyCombination::restart() {
    typedKeysText_.clear();
    lastKeyName_.clear();
    RefreshControl();
    editText_ = modifierText_;
    typedKeyCount_ = 0;
    firstKeyUsage_ = 0;
    secondKeyUsage_ = 0;
}

void KeyCombination::Edt_AssemblyKeyDown(int virtualKey, bool modifierHeld) {
    const KeyIndex key = VirtualKeyToKeyIndex(virtualKey);
    // Showing "None" for a key the table lacks would put a false name on the button.
    if (key == kNoKey) return;
    if (typedKeyCount_ == 2) restart();
    if (virtualKey == kLeftWindows || virtualKey == kRightWindows) return;
    if (modifierHeld) return;

    const std::string name(KeyIndexToName(key));
    const std::uint8_t usage = KeyIndexToUsage(key);
    lastKeyName_ = name;
    if (typedKeyCount_ == 0) {
        typedKeysText_ = name;
        firstKeyUsage_ = usage;
    } else {
        typedKeysText_ += "+" + name;
        secondKeyUsage_ = usage;
    }
    editText_ = editText_.empty() ? name : editText_ + "+" + name;
    ++typedKeyCount_;
}

void KeyCombination::modifierClicked(Modifier m, bool tick) {
    ticked_[index(m)] = tick;
    if (tick) {
        RefreshControl();
        editText_ = typedKeysText_.empty() ? modifierText_ : modifierText_ + "+" + typedKeysText_;
        return;
    }
    RefreshControl();
    if (editText_.empty()) return;
    const std::string name(nameOf(m));
    if (editText_.starts_with(name)) {
        if (editText_ == name)
            editText_.clear();
        else
            eraseFirst(editText_, name + "+");
    } else {
        eraseFirst(editText_, "+" + name);
    }
}

KeyCombinationResult KeyCombination::IB_ConfirmClick() {
    RefreshModify();
    return KeyCombinationResult{
        .confirmed = true,
        .caption = editText_,
        .codeText = hex2(code_class::kKeyboard) + hex2(modifierByte_) + hex2(firstKeyUsage_) +
                    hex2(secondKeyUsage_),
    };
}

void KeyCombination::IB_CancelClick() {
    FormCreate();
    ticked_ = {};
}

}  // namespace kvr
