#pragma once
// State of the button assignment page: the caption of each button label, the code text of each
// button, and the two fire-key fields that every fire-key button shares.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/number_field.h"
#include "buttons/button_names.h"
#include "buttons/key_combination.h"
#include "params/button_code.h"
#include "params/data_buf.h"

namespace kvr {

class ButtonModel {
public:
    static constexpr NumberFieldRule kRepeatRule{
        .emptyValue = "2", .max = kMaxFireRepeat, .oneMeansEmpty = true};
    static constexpr NumberFieldRule kDelayRule{
        .emptyValue = "2", .max = 255, .oneMeansEmpty = true};

    ButtonModel();

    // Buttons are numbered 1..9; other numbers read as empty and are not written.
    const std::string& caption(int button) const;  // label Key1..Key9
    void setCaption(int button, std::string caption);

    const ButtonCodeTexts& codeTexts() const { return codeTexts_; }
    const std::string& codeText(int button) const;
    void setCodeText(int button, std::string text);
    void setCodeTexts(ButtonCodeTexts texts) { codeTexts_ = std::move(texts); }

    // Edt_Repeat1 and Edt_DelayTime1 as typed.
    const std::string& repeatText() const { return repeatText_; }
    const std::string& delayText() const { return delayText_; }
    void setRepeatText(std::string text) { repeatText_ = std::move(text); }
    void setDelayText(std::string text) { delayText_ = std::move(text); }

    // Leaving the fields: empty, unreadable or exactly "1" becomes "2"; a repeat count above 127
    // becomes "127" and a fire time above 255 "255". 0 stays.
    void RepeatValue_OnClick();
    void DelayTimeValue_OnClick();
    // Both fields through their exit rules, as before a write.
    void commitEdits();

    // The fields' values after their exit rules.
    FireKeySetting fireKey() const;
    // Shows the repeat count and fire time a fire-key code carries.
    void showFireKey(ButtonCode code);

    // SelectedButton: the button whose label was clicked last; every menu choice acts on it.
    int selectedButton() const { return selectedButton_; }
    void selectButton(int button) {
        if (isButton(button)) selectedButton_ = button;
    }

    // A button's code text, and its first six digits as the button's code in DataBuf.
    void storeCode(int button, std::string text, DataBuf& data);

    // A fixed function chosen from the menu for SelectedButton, with the function's name as its
    // menu entry reads. The mouse keeps at least one button on the left click: a choice that
    // would leave no label reading `leftKeyName` puts that name back and changes nothing.
    // Returns whether the choice was stored.
    bool KeyStatusOnClick(int entry, std::string_view functionName, std::string_view leftKeyName,
                          DataBuf& data);

    // The key combination dialog's result, cleared when the dialog opens.
    void Key_AssemblyClick() { combo_ = {}; }
    const KeyCombinationResult& keyCombination() const { return combo_; }
    void setKeyCombination(KeyCombinationResult result) { combo_ = std::move(result); }
    // A confirmed combination goes to SelectedButton: the label shows the whole text, the mouse
    // gets the modifiers and the first key.
    void ApplyKeyCombination(DataBuf& data);

private:
    static bool isButton(int button) {
        return button >= 1 && button <= static_cast<int>(kButtonCount);
    }

    std::array<std::string, kButtonCount> captions_;
    ButtonCodeTexts codeTexts_;
    std::string repeatText_ = "2";
    std::string delayText_ = "16";
    int selectedButton_ = 1;
    KeyCombinationResult combo_;
};

}  // namespace kvr
