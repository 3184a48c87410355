#include "buttons/button_model.h"

#include <utility>

namespace kvr {

namespace {
const std::string kNoText;
}

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

}  // namespace kvr
