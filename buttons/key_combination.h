#pragma once
// What the key combination dialog composes: up to four ticked modifiers and up to two typed keys,
// shown as text ("Ctrl+Alt+A") and turned into a keyboard code text at Confirm.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvr {

enum class Modifier { Ctrl, Shift, Alt, Win };

// What Confirm hands to the button page.
struct KeyCombinationResult {
    bool confirmed = false;  // ComboConfirmed
    std::string caption;     // ComboCaption: the text the dialog showed
    std::string codeText;    // ComboCodeText: "02", modifiers, first key, second key
};

class KeyCombination {
public:
    static constexpr std::array<Modifier, 4> kModifiers = {Modifier::Ctrl, Modifier::Shift,
                                                           Modifier::Alt, Modifier::Win};
    static std::string_view nameOf(Modifier m);

    // The dialog as it opens: nothing typed, nothing shown. The boxes keep their ticks.
    void FormCreate();

    // A key press with its virtual key; `modifierHeld` when Shift, Alt or Ctrl is down (also when
    // the key is one of them). A third key starts the composition again; the Windows keys and
    // presses with a held modifier add nothing, as modifiers come from the boxes only. A key
    // the key table does not know is ignored altogether.
    void Edt_AssemblyKeyDown(int virtualKey, bool modifierHeld);

    // A box was ticked or unticked.
    void modifierClicked(Modifier m, bool ticked);

    // Code text and caption of the composition.
    KeyCombinationResult IB_ConfirmClick();
    // Everything emptied and every box unticked.
    void IB_CancelClick();

    const std::string& editText() const { return editText_; }
    bool ticked(Modifier m) const { return ticked_[index(m)]; }
    int typedKeyCount() const { return typedKeyCount_; }
    std::uint8_t firstKeyUsage() const { return firstKeyUsage_; }
    std::uint8_t secondKeyUsage() const { return secondKeyUsage_; }
    const std::string& typedKeysText() const { return typedKeysText_; }
    const std::string& lastKeyName() const { return lastKeyName_; }
    const std::string& modifierText() const { return modifierText_; }
    std::uint8_t modifierByte() const { return modifierByte_; }

private:
    static std::size_t index(Modifier m) { return static_cast<std::size_t>(m); }
    void RefreshControl();
    void RefreshModify();
    void restart();

    std::array<bool, 4> ticked_{};
    std::string editText_;
    int typedKeyCount_ = 0;
    std::uint8_t firstKeyUsage_ = 0;
    std::uint8_t secondKeyUsage_ = 0;
    std::string lastKeyName_;
    std::string typedKeysText_;
    std::string modifierText_;
    std::uint8_t modifierByte_ = 0;
};

}  // namespace kvr
