#pragma once
// State of the button assignment page: the caption of each button label, the code text of each
// button, and the two fire-key fields that every fire-key button shares.
#include <array>
#include <string>
#include <utility>

#include "params/button_code.h"
#include "buttons/button_names.h"
#include "params/data_buf.h"
#include "base/number_field.h"

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

private:
    static bool isButton(int button) {
        return button >= 1 && button <= static_cast<int>(kButtonCount);
    }

    std::array<std::string, kButtonCount> captions_;
    ButtonCodeTexts codeTexts_;
    std::string repeatText_ = "2";
    std::string delayText_ = "16";
};

}  // namespace kvr
