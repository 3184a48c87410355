#pragma once
// State of the sensitivity levels on the Advanced page: which levels are in use, the step each
// level shows, the current level and the colour field of each level.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_lookup.h"
#include "base/number_field.h"
#include "params/param_layout.h"

namespace kvr {

class SensitivityModel {
public:
    static constexpr int kLevels = kDpiLevelCount;
    static constexpr int kSteps = 8;
    static constexpr std::uint8_t kValueNotSet = 255;
    // The eighth level's colour is fixed in the mouse.
    static constexpr std::uint8_t kLastLevelColor = 7;
    static constexpr NumberFieldRule kColorRule{.emptyValue = "0", .max = 6};

    // `texts` gives the step texts Str300..Str307 of the current language.
    explicit SensitivityModel(TextLookup texts);

    // Queries. Levels are numbered 1..8; other numbers read as a level not in use.
    int levelsInUse() const { return levelsInUse_; }
    bool inUse(int level) const;
    // Whether the level's segments and check image take clicks.
    bool controlsEnabled(int level) const;
    const std::string& valueText(int level) const;
    // How many of the level's eight segments are lit (0 before anything set them).
    int litSegments(int level) const;
    int currentLevel() const { return currentLevel_; }
    const std::string& colorText(int level) const;

    // Click on the level's label: switches the highest level in use out of use, or the level
    // above it into use. The last level in use stays. Returns whether anything changed.
    bool DPILevel_OnClick(int level);
    // Click on the level's check image: it becomes the current level.
    bool CurrentDPI_OnClick(int level);
    // Click on segment `step` (1..8) of a level: the level uses that step.
    bool stepClicked(int level, int step);

    // Typing into a colour field; the text is kept as typed until the field is left.
    void setColorText(int level, std::string text);
    // Leaving the colour field (RefreshCPIColorValue): empty or unreadable becomes "0", above 6
    // becomes "6".
    void RefreshCPIColorValue(int level);
    // Every colour field through its exit rule, as before a write.
    void commitEdits();

    // Loading from the mouse's settings, the count before the current level. Values the page
    // cannot show are brought into range, and the next write stores them so: a count outside 1..8
    // is clamped, a step above 7 other than 255 (not set) becomes 7, and a current level above the
    // last level in use becomes that level. The count also enables exactly the controls of the
    // levels in use.
    void loadLevelCount(std::uint8_t count);
    void loadLevelValue(int level, std::uint8_t value);
    void loadCurrentLevel(std::uint8_t index);
    void loadColor(int level, std::uint8_t color);

    // Building the mouse's settings.
    std::uint8_t levelCountByte() const { return static_cast<std::uint8_t>(levelsInUse_); }
    // The step index of the first step text equal to the level's value text; `unchanged` when no
    // text equals it, 0 for a level not in use.
    std::uint8_t levelValueByte(int level, std::uint8_t unchanged) const;
    std::uint8_t currentLevelByte() const { return static_cast<std::uint8_t>(currentLevel_ - 1); }
    // Levels 1..7 from their fields after the exit rule; level 8 always 7.
    std::uint8_t colorByte(int level) const;

private:
    struct Level {
        bool inUse = true;
        bool enabled = true;
        std::string valueText;
        int litSegments = 0;
        std::string colorText;
    };

    static bool isLevel(int level) { return level >= 1 && level <= kLevels; }
    Level& at(int level) { return levels_[static_cast<std::size_t>(level - 1)]; }
    const Level& at(int level) const { return levels_[static_cast<std::size_t>(level - 1)]; }
    std::string stepText(int stepIndex) const;

    TextLookup texts_;
    std::array<Level, kLevels> levels_;
    int levelsInUse_ = kLevels;
    int currentLevel_ = 1;
};

}  // namespace kvr
