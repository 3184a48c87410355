#include "buttons/button_model.h"

#include <optional>
#include <utility>

#include "params/data_buf.h"

namespace kvr {

namespace {
const std::string kNoText;
}  // namespace

ButtonModel::ButtonModel() = default;

const std::string& ButtonModel::caption(int button) const {
    return isButton(button) ? captions_[static_cast<std::size_t>(button - 1)] : kNoText;
}

void ButtonModel::setCaption(int button, std::string caption) {
    if (isButton(button)) captions_[static_cast<std::size_t>(button - 1)] = std::move(caption);
}

const std::string& ButtonModel::codeText(int button) const {
    return isButton(button) ? codeTexts_[static_cast<std::size_t>(button - 1)] : kNoText;
}

void ButtonModel::setCodeText(int button, std::string text) {
    if (isButton(button)) codeTexts_[static_cast<std::size_t>(button - 1)] = std::move(text);
}

void ButtonModel::RepeatValue_OnClick() { repeatText_ = exitNumberField(repeatText_, kRepeatRule); }

void ButtonModel::DelayTimeValue_OnClick() { delayText_ = exitNumberField(delayText_, kDelayRule); }

void ButtonModel::commitEdits() {
    RepeatValue_OnClick();
    DelayTimeValue_OnClick();
}

FireKeySetting ButtonModel::fireKey() const {
    return FireKeySetting{
        .repeat = static_cast<int>(numberFieldValue(repeatText_, kRepeatRule)),
        .delay = static_cast<std::uint8_t>(numberFieldValue(delayText_, kDelayRule)),
    };
}

void ButtonModel::showFireKey(ButtonCode code) {
    repeatText_ = std::to_string(code.data1 >> 1);
    delayText_ = std::to_string(code.data2);
}

void ButtonModel::storeCode(int button, std::string text, DataBuf& data) {
    if (!isButton(button)) return;
    if (const std::optional<ButtonCode> code = parseCodeText(text))
        setButtonCode(data, button, *code);
    setCodeText(button, std::move(text));
}

bool ButtonModel::KeyStatusOnClick(int entry, std::string_view functionName,
                                   std::string_view leftKeyName, DataBuf& data) {
    setCaption(selectedButton_, std::string(functionName));
    bool leftKeyKept = false;
    for (const std::string& c : captions_) leftKeyKept = leftKeyKept || c == leftKeyName;
    if (!leftKeyKept) {
        setCaption(selectedButton_, std::string(leftKeyName));
        return false;
    }
    storeCode(selectedButton_, CodeForMenuEntry(entry, fireKey()), data);
    return true;
}

void ButtonModel::ApplyKeyCombination(DataBuf& data) {
    if (!combo_.confirmed) return;
    setCaption(selectedButton_, combo_.caption);
    storeCode(selectedButton_, combo_.codeText, data);
}

}  // namespace kvr
