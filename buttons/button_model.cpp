#include "buttons/button_model.h"

#include <optional>
#include <utility>

#include "params/data_buf.h"

namespace kvr {

namespace {
const std::string kNoText;

std::string macroCodeText(std::uint16_t address) { return codeText(macroCode(address)); }

// What a button returns to when the macro it ran is deleted: its caption key (or a fixed
// caption) and its menu entry (or a fixed code text).
struct Fallback {
    std::string_view nameKey;
    std::string_view caption;
    int entry;
    std::string_view code;
};

constexpr std::array<Fallback, kButtonCount> kFallbacks = {{
    {"Str210", "", 900, ""},
    {"Str212", "", 902, ""},
    {"Str211", "", 901, ""},
    {"Str213", "", 903, ""},
    {"Str214", "", 904, ""},
    {"Str231", "", 1001, ""},
    {"Str230", "", kFireKeyEntry, ""},
    {"", "Win+D", 0, "020807"},
    {"Str234", "", 1004, ""},
}};
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

void ButtonModel::LB_NameClick(std::size_t row, MacroList macros, bool macroSupport,
                               DataBuf& data) {
    if (row >= macros.names.size()) return;
    setCaption(selectedButton_, macros.names[row]);
    if (macroSupport && row < macros.addresses.size())
        storeCode(selectedButton_, macroCodeText(macros.addresses[row]), data);
}

void ButtonModel::InitKeysParameters(std::span<const std::string> macroNames) {
    macroLinkMarks_ = {};
    for (std::size_t k = 0; k < kButtonCount; ++k) {
        for (const std::string& name : macroNames)
            if (captions_[k] == name) macroLinkMarks_[k] = true;
    }
}

void ButtonModel::RefreshKeysParameters(MacroList macros, bool macroSupport,
                                        const TextLookup& texts, DataBuf& data) {
    if (!macroSupport) return;
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        if (!macroLinkMarks_[k]) continue;
        macroLinkMarks_[k] = false;
        std::optional<std::size_t> row;
        for (std::size_t i = 0; i < macros.names.size(); ++i)
            if (macros.names[i] == captions_[k]) row = i;
        if (row && *row < macros.addresses.size()) {
            storeCode(n, macroCodeText(macros.addresses[*row]), data);
            continue;
        }
        const Fallback& f = kFallbacks[k];
        setCaption(n, f.nameKey.empty() ? std::string(f.caption)
                                        : (texts ? texts(f.nameKey) : std::string()));
        storeCode(n, f.code.empty() ? CodeForMenuEntry(f.entry, fireKey()) : std::string(f.code),
                  data);
    }
}

}  // namespace kvr
