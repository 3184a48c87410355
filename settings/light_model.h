#pragma once
// State of the Breathing Light page: the light-type words read from the mouse, the five choice
// groups and the nine time fields.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/number_field.h"

namespace kvr {

// A pair of hidden choices (On/Off); None until something chose one.
enum class OnOff { None, On, Off };

// Which mode choices the page offers, decided by the light-type words of the last load.
enum class LightControlSet { None, NT, ColorModes, Breathing };

// The NT fields come first, then the breathing fields.
enum class TimeField {
    NTMode1Time,
    NTMode2Time,
    NTMode2Hold,
    NTMode3Time,
    NTMode3Count,
    OffTime,
    RiseTime,
    LightTime,
    FallTime,
};
inline constexpr std::size_t kTimeFieldCount = 9;

struct TimeFieldInfo {
    TimeField field;
    std::string_view control;  // object name of the edit box
    std::string_view initialText;
    NumberFieldRule rule;
};

const TimeFieldInfo& timeFieldInfo(TimeField field);
// All nine, in TimeField order.
std::span<const TimeFieldInfo> timeFields();

// The words the flags of the mouse translate to; empty before the first load.
namespace light_word {
inline constexpr std::string_view kNT = "NT";
inline constexpr std::string_view kColor = "Color";
inline constexpr std::string_view kSync = "Sync";
inline constexpr std::string_view kNoSync = "NoSync";
inline constexpr std::string_view kBre = "Bre";
inline constexpr std::string_view kNoBre = "NoBre";
inline constexpr std::string_view kSevenColor = "7Color";
inline constexpr std::string_view kCPI = "CPI";
}  // namespace light_word

struct LightTypeWords {
    std::string type;        // "Color" or "NT"
    std::string sync;        // "Sync" or "NoSync"
    std::string breathing;   // "Bre" or "NoBre"
    std::string colorCount;  // "7Color" or "CPI"
};

// What the chosen mode writes: LedMode's low bits and the ConfigFlags bits it sets and clears.
struct LedModeEncoding {
    std::uint8_t ledMode = 0;
    std::uint8_t setFlags = 0;
    std::uint8_t clearFlags = 0;
};

class LightModel {
public:
    LightModel();

    // Queries.
    const LightTypeWords& words() const { return words_; }
    // The mouse is gone: no light type is known until the next load.
    void clearWords() { words_ = {}; }
    LightControlSet controlSet() const;
    OnOff mcpi() const { return mcpi_; }
    OnOff buttonEffect() const { return buttonEffect_; }
    int ntMode() const { return ntMode_; }        // 1..5, 0 = none chosen
    int colorMode() const { return colorMode_; }  // 1..2, 0 = none chosen
    int colorBre() const { return colorBre_; }    // 1..4, 0 = none chosen
    const std::string& timeText(TimeField field) const;
    // Whether the page shows the field, by the control set and the variant of the last load.
    bool timeFieldShown(TimeField field) const;

    // Choices (the click handlers of the labels). Out-of-range modes are ignored.
    void lbl_MCPIOnClick(bool on);
    void lbl_LEDKeyOnClick(bool on);
    void LEDNTMode_OnClick(int mode);
    void LEDColorMode_OnClick(int mode);
    void LEDColorBre_OnClick(int mode);

    // Typing into a time field, and leaving it: empty or unreadable becomes the field's empty
    // value, a number above 255 becomes "255".
    void setTimeText(TimeField field, std::string text);
    void timeFieldExit(TimeField field);
    // Every time field through its exit rule, as before a write.
    void commitEdits();

    // Loading from the mouse's settings: the flags first (words, button effect switch), then the
    // light mode byte, which is read by the words.
    void loadConfigFlags(std::uint8_t configFlags, int variant);
    void loadLedMode(std::uint8_t ledMode);
    void loadTime(TimeField field, std::uint8_t value);

    // Building the mouse's settings.
    // LedMode with the button effect and the mode chosen in the group the page offers.
    LedModeEncoding encodeLedMode() const;
    // The field's number after its exit rule.
    std::uint8_t timeByte(TimeField field) const;

private:
    int chosenMode(LightControlSet set) const;

    LightTypeWords words_;
    int variant_ = 0;
    OnOff mcpi_ = OnOff::None;
    OnOff buttonEffect_ = OnOff::None;
    int ntMode_ = 0;
    int colorMode_ = 0;
    int colorBre_ = 0;
    std::array<std::string, kTimeFieldCount> times_;
};

}  // namespace kvr
