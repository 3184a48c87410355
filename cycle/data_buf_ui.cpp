#include "cycle/data_buf_ui.h"

#include "base/bits.h"

namespace kvr {

namespace {

std::optional<std::size_t> timeFieldOffset(const ParamLayout& layout, TimeField field) {
    switch (field) {
        case TimeField::NTMode1Time:
            return layout.ntMode1Time;
        case TimeField::NTMode2Time:
            return layout.ntMode2Time;
        case TimeField::NTMode2Hold:
            return layout.ntMode2Hold;
        case TimeField::NTMode3Time:
            return layout.ntMode3Time;
        case TimeField::NTMode3Count:
            return layout.ntMode3Count;
        case TimeField::OffTime:
            return layout.offTime;
        case TimeField::RiseTime:
            return layout.riseTime;
        case TimeField::LightTime:
            return layout.lightTime;
        case TimeField::FallTime:
            return layout.fallTime;
    }
    return std::nullopt;
}

std::optional<ButtonCode> fireKeyButtonCode(const ButtonModel& buttons, int button) {
    const std::optional<ButtonCode> code = parseCodeText(buttons.codeText(button));
    if (code && code->codeClass == code_class::kFireKey) return code;
    return std::nullopt;
}

}  // namespace

void DataBufToUI(const DeviceImages& images, int deviceVariant, DataBuf& data, PageModels pages,
                 const CodeNaming& naming, const ShowFirstPage& showFirstPage) {
    copyImagesToDataBuf(images, deviceVariant, data);
    if (const ParamLayout* layout = paramLayout(deviceVariant))
        checkParameterSection(data, *layout);
    CheckParameterBSection(data);
    CheckProfileSection(data);
    pages.buttons.setCodeTexts(buildButtonCodeTexts(data));
    RefreshUI(data, deviceVariant, pages, naming, showFirstPage);
}

void RefreshUI(const DataBuf& data, int deviceVariant, PageModels pages, const CodeNaming& naming,
               const ShowFirstPage& showFirstPage) {
    SensitivityModel& sensitivity = pages.sensitivity;
    LightModel& light = pages.light;
    const ParamLayout* layout = paramLayout(deviceVariant);
    const auto at = [&](std::size_t offset) { return data[dataBufIndex(*layout, offset)]; };

    if (layout) {
        sensitivity.loadLevelCount(at(layout->dpiLevelCount));
        for (int n = 1; n <= kDpiLevelCount; ++n) {
            sensitivity.loadLevelValue(n, at(layout->dpiLevelValue + n - 1));
        }
    }
    sensitivity.loadCurrentLevel(data[databuf::kCurrentDpiLevel]);
    if (layout) light.loadConfigFlags(at(layout->configFlags), deviceVariant);
    light.loadLedMode(data[databuf::kLedMode]);
    if (layout) {
        for (const TimeFieldInfo& time : timeFields()) {
            if (const auto offset = timeFieldOffset(*layout, time.field)) {
                light.loadTime(time.field, at(*offset));
            }
        }
        for (int n = 1; n <= kDpiLevelCount; ++n) {
            sensitivity.loadColor(n, at(layout->cpiColor + n - 1));
        }
    }

    RefreshFireKeyMode(pages.buttons);
    // The names first: the shown page draws them.
    RefreshProfileKeys(pages.buttons, naming);
    if (showFirstPage) showFirstPage();
}

void commitPageEdits(PageModels pages) {
    pages.sensitivity.commitEdits();
    pages.light.commitEdits();
    pages.buttons.commitEdits();
}

void UIToDataBuf(PageModels pages, int deviceVariant, DataBuf& data) {
    commitPageEdits(pages);
    const SensitivityModel& sensitivity = pages.sensitivity;
    const LightModel& light = pages.light;
    const ParamLayout* layout = paramLayout(deviceVariant);
    const auto at = [&](std::size_t offset) -> std::uint8_t& {
        return data[dataBufIndex(*layout, offset)];
    };

    if (layout) {
        at(layout->dpiLevelCount) = sensitivity.levelCountByte();
        for (int n = 1; n <= kDpiLevelCount; ++n) {
            std::uint8_t& value = at(layout->dpiLevelValue + n - 1);
            value = sensitivity.levelValueByte(n, value);
        }
    }

    const std::uint8_t current = sensitivity.currentLevelByte();
    data[databuf::kCurrentDpiLevel] = current;
    data[databuf::kCurrentDpiLevelInv] = param_tail::kPairSum - current;

    const LedModeEncoding mode = light.encodeLedMode();
    if (layout) {
        std::uint8_t& flags = at(layout->configFlags);
        if (light.mcpi() == OnOff::On) flags = bitClear(flags, config_flag::kMcpiOff);
        if (light.mcpi() == OnOff::Off) flags = bitSet(flags, config_flag::kMcpiOff);
        flags = static_cast<std::uint8_t>((flags | mode.setFlags) & ~mode.clearFlags);
    }
    data[databuf::kLedMode] = mode.ledMode;
    data[databuf::kLedModeInv] = param_tail::kPairSum - mode.ledMode;

    if (layout) {
        for (const TimeFieldInfo& time : timeFields()) {
            if (const auto offset = timeFieldOffset(*layout, time.field)) {
                at(*offset) = light.timeByte(time.field);
            }
        }
        for (int n = 1; n <= kDpiLevelCount; ++n) {
            at(layout->cpiColor + n - 1) = sensitivity.colorByte(n);
        }
    }
}

void FireKeyAndFireKeyModeToDataBuf(ButtonModel& buttons, DataBuf& data) {
    buttons.commitEdits();
    const FireKeySetting fire = buttons.fireKey();
    const ButtonCode code = fireKeyCode(fire.repeat, fire.delay);
    // Fire-key buttons are known by their code class, not by their shown name, so that a macro
    // named like the fire key, or a missing language text, never turns a button into one.
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        if (!fireKeyButtonCode(buttons, n)) continue;
        setButtonCode(data, n, code);
        buttons.setCodeText(n, codeText(code));
    }
}

void RefreshFireKeyMode(ButtonModel& buttons) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        if (const auto code = fireKeyButtonCode(buttons, n)) buttons.showFireKey(*code);
    }
}

void RefreshProfileKeys(ButtonModel& buttons, const CodeNaming& naming) {
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        buttons.setCaption(n, CodeToDisplayName(buttons.codeText(n), naming));
    }
}

}  // namespace kvr
