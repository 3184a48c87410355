#include "settings/light_model.h"

#include <utility>

#include "base/bits.h"
#include "params/param_layout.h"

namespace kvr {

namespace {

constexpr unsigned kTimeMax = 255;

constexpr std::array<TimeFieldInfo, kTimeFieldCount> kTimeFields = {{
    {TimeField::NTMode1Time, "edt_LEDNTMode1Time", "0", {"0", kTimeMax}},
    {TimeField::NTMode2Time, "edt_LEDNTMode2Time", "3", {"3", kTimeMax}},
    {TimeField::NTMode2Hold, "edt_LEDNTMode2Hold", "3", {"50", kTimeMax}},
    {TimeField::NTMode3Time, "edt_LEDNTMode3Time", "20", {"20", kTimeMax}},
    {TimeField::NTMode3Count, "edt_LEDNTMode3Count", "20", {"16", kTimeMax}},
    {TimeField::OffTime, "edt_OffTime", "0", {"0", kTimeMax}},
    {TimeField::RiseTime, "edt_RiseTime", "3", {"0", kTimeMax}},
    {TimeField::LightTime, "edt_LightTime", "20", {"0", kTimeMax}},
    {TimeField::FallTime, "edt_FallTime", "20", {"0", kTimeMax}},
}};

constexpr std::size_t slot(TimeField field) { return static_cast<std::size_t>(field); }

constexpr std::uint8_t flag(int bit) { return static_cast<std::uint8_t>(1U << bit); }

struct ModeRow {
    LightControlSet set;
    int mode;
    LedModeEncoding encoding;
};

constexpr std::array<ModeRow, 11> kModeRows = {{
    {LightControlSet::NT, 1, {0x01, flag(config_flag::kSevenColor), 0}},
    {LightControlSet::NT, 2, {0x01, 0, flag(config_flag::kSevenColor)}},
    {LightControlSet::NT, 3, {0x02, 0, 0}},
    {LightControlSet::NT, 4, {0x03, 0, 0}},
    {LightControlSet::NT, 5, {0x10, 0, 0}},
    {LightControlSet::ColorModes, 1, {0x04, 0, 0}},
    {LightControlSet::ColorModes, 2, {0x10, 0, 0}},
    {LightControlSet::Breathing, 1, {0x06, flag(config_flag::kBre), flag(config_flag::kSync)}},
    {LightControlSet::Breathing,
     2,
     {0x05, 0, static_cast<std::uint8_t>(flag(config_flag::kSync) | flag(config_flag::kBre))}},
    {LightControlSet::Breathing,
     3,
     {0x06, static_cast<std::uint8_t>(flag(config_flag::kSync) | flag(config_flag::kBre)), 0}},
    {LightControlSet::Breathing, 4, {0x10, 0, 0}},
}};

constexpr int kNTModes = 5;
constexpr int kColorModes = 2;
constexpr int kBreModes = 4;

// In the mode byte as read, bit 4 marks the last mode of the NT and breathing groups, the second
// colour mode, whatever the lower bits hold.
constexpr int kLastModeBit = 4;
constexpr std::uint8_t kNTModeMask = 0x0F;

}  // namespace

const TimeFieldInfo& timeFieldInfo(TimeField field) { return kTimeFields[slot(field)]; }

std::span<const TimeFieldInfo> timeFields() { return kTimeFields; }

LightModel::LightModel() {
    for (const TimeFieldInfo& info : kTimeFields) times_[slot(info.field)] = info.initialText;
}

LightControlSet LightModel::controlSet() const {
    if (words_.type == light_word::kNT) return LightControlSet::NT;
    if (words_.type != light_word::kColor) return LightControlSet::None;
    if (words_.sync == light_word::kSync && words_.breathing == light_word::kNoBre) {
        return LightControlSet::ColorModes;
    }
    return LightControlSet::Breathing;
}

const std::string& LightModel::timeText(TimeField field) const { return times_[slot(field)]; }

bool LightModel::timeFieldShown(TimeField field) const {
    switch (controlSet()) {
        case LightControlSet::NT:
            return field == TimeField::NTMode1Time ||
                   (variant_ == 1 && field <= TimeField::NTMode3Count);
        case LightControlSet::Breathing:
            return field >= TimeField::OffTime;
        default:
            return false;
    }
}

void LightModel::lbl_MCPIOnClick(bool on) { mcpi_ = on ? OnOff::On : OnOff::Off; }

void LightModel::lbl_LEDKeyOnClick(bool on) { buttonEffect_ = on ? OnOff::On : OnOff::Off; }

void LightModel::LEDNTMode_OnClick(int mode) {
    if (mode >= 1 && mode <= kNTModes) ntMode_ = mode;
}

void LightModel::LEDColorMode_OnClick(int mode) {
    if (mode >= 1 && mode <= kColorModes) colorMode_ = mode;
}

void LightModel::LEDColorBre_OnClick(int mode) {
    if (mode >= 1 && mode <= kBreModes) colorBre_ = mode;
}

void LightModel::setTimeText(TimeField field, std::string text) {
    times_[slot(field)] = std::move(text);
}

void LightModel::timeFieldExit(TimeField field) {
    times_[slot(field)] = exitNumberField(times_[slot(field)], timeFieldInfo(field).rule);
}

void LightModel::commitEdits() {
    for (const TimeFieldInfo& info : kTimeFields) timeFieldExit(info.field);
}

void LightModel::loadConfigFlags(std::uint8_t configFlags, int variant) {
    using namespace light_word;
    variant_ = variant;
    words_.type = bitTest(configFlags, config_flag::kColorType) ? kColor : kNT;
    words_.sync = bitTest(configFlags, config_flag::kSync) ? kSync : kNoSync;
    words_.breathing = bitTest(configFlags, config_flag::kBre) ? kBre : kNoBre;
    words_.colorCount = bitTest(configFlags, config_flag::kSevenColor) ? kSevenColor : kCPI;
    mcpi_ = bitTest(configFlags, config_flag::kMcpiOff) ? OnOff::Off : OnOff::On;
}

void LightModel::loadLedMode(std::uint8_t ledMode) {
    using namespace light_word;
    buttonEffect_ = bitTest(ledMode, led_mode::kButtonEffect) ? OnOff::On : OnOff::Off;
    const bool lastMode = bitTest(ledMode, kLastModeBit);
    switch (controlSet()) {
        case LightControlSet::NT:
            switch (ledMode & kNTModeMask) {
                case 1:
                    ntMode_ = words_.colorCount == kSevenColor ? 1 : 2;
                    break;
                case 2:
                    ntMode_ = 3;
                    break;
                case 3:
                    ntMode_ = 4;
                    break;
                default:
                    break;  // no NT mode of its own: the choice stays as it was
            }
            if (lastMode) ntMode_ = 5;
            break;
        case LightControlSet::ColorModes:
            colorMode_ = lastMode ? 2 : 1;
            break;
        case LightControlSet::Breathing:
            if (words_.sync == kNoSync) {
                colorBre_ = words_.breathing == kBre ? 1 : 2;
            } else if (words_.breathing == kBre) {
                colorBre_ = 3;
            }
            if (lastMode) colorBre_ = 4;
            break;
        case LightControlSet::None:
            break;
    }
}

void LightModel::loadTime(TimeField field, std::uint8_t value) {
    times_[slot(field)] = std::to_string(value);
}

int LightModel::chosenMode(LightControlSet set) const {
    switch (set) {
        case LightControlSet::NT:
            return ntMode_;
        case LightControlSet::ColorModes:
            return colorMode_;
        case LightControlSet::Breathing:
            return colorBre_;
        case LightControlSet::None:
            return 0;
    }
    return 0;
}

LedModeEncoding LightModel::encodeLedMode() const {
    LedModeEncoding result;
    const LightControlSet set = controlSet();
    const int mode = chosenMode(set);
    for (const ModeRow& row : kModeRows) {
        if (row.set == set && row.mode == mode) result = row.encoding;
    }
    if (buttonEffect_ == OnOff::On)
        result.ledMode = bitSet(result.ledMode, led_mode::kButtonEffect);
    return result;
}

std::uint8_t LightModel::timeByte(TimeField field) const {
    return static_cast<std::uint8_t>(numberFieldValue(timeText(field), timeFieldInfo(field).rule));
}

}  // namespace kvr
