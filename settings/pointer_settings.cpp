#include "settings/pointer_settings.h"

#include <cstdlib>

namespace kvr {

namespace {

struct LevelRow {
    int pointerSpeed;
    int doubleClickTime;
    int scrollLines;
};

// Level 1 first: the pointer speed grows by 2 from 1, the double-click time falls by 70 ms.
constexpr std::array<LevelRow, PointerSettingsModel::kLevels> kLevelTable = {{
    {1, 900, 1},
    {2, 830, 2},
    {4, 760, 3},
    {6, 690, 4},
    {8, 620, 5},
    {10, 550, 6},
    {12, 480, 7},
    {14, 410, 8},
    {16, 340, 9},
    {18, 270, 10},
}};

int column(const LevelRow& row, PointerScale scale) {
    switch (scale) {
        case PointerScale::Speed:
            return row.pointerSpeed;
        case PointerScale::DoubleClick:
            return row.doubleClickTime;
        case PointerScale::ScrollLines:
            return row.scrollLines;
    }
    return 0;
}

PointerValue storedAs(PointerScale scale) {
    switch (scale) {
        case PointerScale::Speed:
            return PointerValue::MouseSensitivity;
        case PointerScale::DoubleClick:
            return PointerValue::DoubleClickSpeed;
        case PointerScale::ScrollLines:
            return PointerValue::WheelScrollLines;
    }
    return PointerValue::MouseSensitivity;
}

// Passing 0 on as a pointer speed or a double-click time would not keep the setting but reset
// it to the desktop's default; no scroll line count is such a reset.
bool isSetting(PointerScale scale, int value) {
    return scale == PointerScale::ScrollLines || value != 0;
}

}  // namespace

std::string_view pointerValueName(PointerValue value) {
    switch (value) {
        case PointerValue::MouseSensitivity:
            return "MouseSensitivity";
        case PointerValue::MouseThreshold1:
            return "MouseThreshold1";
        case PointerValue::MouseThreshold2:
            return "MouseThreshold2";
        case PointerValue::MouseSpeed:
            return "MouseSpeed";
        case PointerValue::DoubleClickSpeed:
            return "DoubleClickSpeed";
        case PointerValue::WheelScrollLines:
            return "WheelScrollLines";
    }
    return {};
}

int PointerSettingsModel::levelValue(PointerScale scale, int level) {
    if (level < 1 || level > kLevels) return 0;
    return column(kLevelTable[static_cast<std::size_t>(level - 1)], scale);
}

int PointerSettingsModel::levelOf(PointerScale scale, int value) {
    for (int level = 1; level <= kLevels; ++level) {
        if (levelValue(scale, level) == value) return level;
    }
    return 0;
}

int PointerSettingsModel::nearestLevelOf(PointerScale scale, int value) {
    int nearest = 1;
    for (int level = 2; level <= kLevels; ++level) {
        if (std::abs(levelValue(scale, level) - value) <
            std::abs(levelValue(scale, nearest) - value))
            nearest = level;
    }
    return nearest;
}

bool PointerSettingsModel::MseSpd_OnClick(int segment) {
    return segmentClicked(PointerScale::Speed, segment);
}

bool PointerSettingsModel::MseDbSpd_OnClick(int segment) {
    return segmentClicked(PointerScale::DoubleClick, segment);
}

bool PointerSettingsModel::MseScrSpd_OnClick(int segment) {
    return segmentClicked(PointerScale::ScrollLines, segment);
}

bool PointerSettingsModel::segmentClicked(PointerScale scale, int segment) {
    if (segment < 1 || segment > kLevels) return false;
    levels_[slot(scale)] = segment;
    approximate_[slot(scale)] = false;
    return true;
}

void PointerSettingsModel::readScale(PointerSettingsStore& store, PointerScale scale) {
    const std::optional<int> read = store.read(storedAs(scale));
    if (!read || !isSetting(scale, *read)) return;
    values_[slot(scale)] = *read;
    const int exact = levelOf(scale, *read);
    levels_[slot(scale)] = exact != 0 ? exact : nearestLevelOf(scale, *read);
    approximate_[slot(scale)] = exact == 0;
}

void PointerSettingsModel::RefreshMouseSystemParameterA(PointerSettingsStore& store) {
    readScale(store, PointerScale::Speed);
    // The acceleration is passed on only as a whole: a part of it is no setting.
    const auto threshold1 = store.read(PointerValue::MouseThreshold1);
    const auto threshold2 = store.read(PointerValue::MouseThreshold2);
    const auto speed = store.read(PointerValue::MouseSpeed);
    if (threshold1 && threshold2 && speed) acceleration_ = {*threshold1, *threshold2, *speed};
    readScale(store, PointerScale::DoubleClick);
}

void PointerSettingsModel::RefreshMouseSystemParameterB(PointerSettingsStore& store) {
    readScale(store, PointerScale::ScrollLines);
}

void PointerSettingsModel::refresh(PointerSettingsStore& store) {
    RefreshMouseSystemParameterA(store);
    RefreshMouseSystemParameterB(store);
}

void PointerSettingsModel::storeScale(PointerSettingsStore& store, PointerScale scale) {
    const int value = levelValue(scale, level(scale));
    // A desktop value between two levels stays as it is until the owner picks a level.
    if (value == 0 || approximate_[slot(scale)]) return;
    // A desktop without a place for the value still holds the chosen level while the program
    // runs, and takes the value below where it can.
    store.write(storedAs(scale), value);
    values_[slot(scale)] = value;
}

void PointerSettingsModel::ChangedMouseSystemParameterA(PointerSettingsStore& store) {
    storeScale(store, PointerScale::Speed);
    storeScale(store, PointerScale::DoubleClick);
}

void PointerSettingsModel::ChangedMouseSystemParameterB(PointerSettingsStore& store) {
    storeScale(store, PointerScale::ScrollLines);
}

void PointerSettingsModel::apply(PointerSettingsStore& store) {
    ChangedMouseSystemParameterA(store);
    ChangedMouseSystemParameterB(store);
    // Only values read or chosen are passed on: a value never known is no setting of the user's.
    if (const auto speed = value(PointerScale::Speed)) store.applyPointerSpeed(*speed);
    if (acceleration_) store.applyAcceleration(*acceleration_);
    if (const auto time = value(PointerScale::DoubleClick)) store.applyDoubleClickTime(*time);
    if (const auto lines = value(PointerScale::ScrollLines)) store.applyScrollLines(*lines);
}

}  // namespace kvr
