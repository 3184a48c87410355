#pragma once
// The pointer settings of the advanced page: three ten-segment scales (pointer speed, double-click
// speed, scroll lines), read from the desktop and set on it with every parameter write.
#include <array>
#include <cstddef>
#include <optional>

#include "settings/pointer_settings_store.h"

namespace kvr {

enum class PointerScale { Speed, DoubleClick, ScrollLines };
inline constexpr std::size_t kPointerScaleCount = 3;

class PointerSettingsModel {
public:
    static constexpr int kLevels = 10;

    // The desktop value of a level of a scale (1..10), and the level of a value; 0 when the value
    // is none of the scale's.
    static int levelValue(PointerScale scale, int level);
    static int levelOf(PointerScale scale, int value);
    // The level whose value lies nearest to a desktop value (the lower one of two as near).
    static int nearestLevelOf(PointerScale scale, int value);

    // Level 0: no level known, no segment lit.
    int level(PointerScale scale) const { return levels_[slot(scale)]; }
    // The value the next write passes on; empty when never read nor chosen.
    std::optional<int> value(PointerScale scale) const { return values_[slot(scale)]; }
    const std::optional<PointerAcceleration>& acceleration() const { return acceleration_; }

    // A click on segment N (1..10) of a scale; other numbers are ignored. Returns whether it took.
    bool MseSpd_OnClick(int segment);
    bool MseDbSpd_OnClick(int segment);
    bool MseScrSpd_OnClick(int segment);
    bool segmentClicked(PointerScale scale, int segment);

    // Reading the desktop: the mouse values (A), then the scroll lines (B). A value the desktop
    // lacks leaves its level and value as they were; a value between the scale's levels lights
    // the nearest level but is passed on as read until the owner clicks a segment.
    void RefreshMouseSystemParameterA(PointerSettingsStore& store);
    void RefreshMouseSystemParameterB(PointerSettingsStore& store);
    void refresh(PointerSettingsStore& store);

    // Setting the desktop, as part of every parameter write: each scale with a level stores that
    // level's value (A: speed and double-click, B: scroll lines), then the desktop takes every
    // known value at once, the acceleration as read.
    void ChangedMouseSystemParameterA(PointerSettingsStore& store);
    void ChangedMouseSystemParameterB(PointerSettingsStore& store);
    void apply(PointerSettingsStore& store);

private:
    static constexpr std::size_t slot(PointerScale scale) {
        return static_cast<std::size_t>(scale);
    }
    void readScale(PointerSettingsStore& store, PointerScale scale);
    void storeScale(PointerSettingsStore& store, PointerScale scale);

    std::array<int, kPointerScaleCount> levels_{};
    // The level shown is only the nearest to a desktop value that is none of the scale's.
    std::array<bool, kPointerScaleCount> approximate_{};
    std::array<std::optional<int>, kPointerScaleCount> values_;
    std::optional<PointerAcceleration> acceleration_;
};

}  // namespace kvr
