#include "settings/sensitivity_model.h"

#include <algorithm>
#include <utility>

namespace kvr {

namespace {
// The step texts are Str300..Str307.
constexpr int kFirstStepKeyNumber = 300;
}  // namespace

SensitivityModel::SensitivityModel(TextLookup texts) : texts_(std::move(texts)) {
    for (int n = 1; n <= kLevels; ++n) at(n).colorText = std::to_string(n - 1);
}

bool SensitivityModel::inUse(int level) const { return isLevel(level) && at(level).inUse; }

bool SensitivityModel::controlsEnabled(int level) const {
    return isLevel(level) && at(level).enabled;
}

const std::string& SensitivityModel::valueText(int level) const {
    static const std::string kNone;
    return isLevel(level) ? at(level).valueText : kNone;
}

int SensitivityModel::litSegments(int level) const {
    return isLevel(level) ? at(level).litSegments : 0;
}

const std::string& SensitivityModel::colorText(int level) const {
    static const std::string kNone;
    return isLevel(level) ? at(level).colorText : kNone;
}

std::string SensitivityModel::stepText(int stepIndex) const {
    if (!texts_) return {};
    return texts_("Str" + std::to_string(kFirstStepKeyNumber + stepIndex));
}

bool SensitivityModel::DPILevel_OnClick(int level) {
    if (!isLevel(level)) return false;
    Level& l = at(level);
    if (l.inUse && levelsInUse_ == 1) return false;
    if (!l.inUse && level > 1 && at(level - 1).inUse) {
        l.inUse = true;
        l.enabled = true;
        ++levelsInUse_;
        return true;
    }
    const bool highestInUse = level == kLevels || !at(level + 1).inUse;
    if (l.inUse && highestInUse) {
        l.inUse = false;
        l.enabled = false;
        --levelsInUse_;
        if (currentLevel_ == level) currentLevel_ = level - 1;
        return true;
    }
    return false;
}

bool SensitivityModel::CurrentDPI_OnClick(int level) {
    if (!controlsEnabled(level)) return false;
    currentLevel_ = level;
    return true;
}

bool SensitivityModel::stepClicked(int level, int step) {
    if (!controlsEnabled(level) || step < 1 || step > kSteps) return false;
    at(level).litSegments = step;
    at(level).valueText = stepText(step - 1);
    return true;
}

void SensitivityModel::setColorText(int level, std::string text) {
    if (isLevel(level)) at(level).colorText = std::move(text);
}

void SensitivityModel::RefreshCPIColorValue(int level) {
    if (isLevel(level)) at(level).colorText = exitNumberField(at(level).colorText, kColorRule);
}

void SensitivityModel::commitEdits() {
    for (int n = 1; n <= kLevels; ++n) RefreshCPIColorValue(n);
}

void SensitivityModel::loadLevelCount(std::uint8_t count) {
    levelsInUse_ = std::clamp<int>(count, 1, kLevels);
    // Levels out of use take no clicks, as after switching them off, so that a level the mouse
    // does not step through can never be made the current one.
    for (int n = 1; n <= kLevels; ++n) at(n).inUse = at(n).enabled = n <= levelsInUse_;
    // The mouse steps only through the levels in use, so the current level is one of them.
    currentLevel_ = std::min(currentLevel_, levelsInUse_);
}

void SensitivityModel::loadLevelValue(int level, std::uint8_t value) {
    if (!isLevel(level)) return;
    Level& l = at(level);
    if (value == kValueNotSet) {
        // The first step's text, and the segments stay as they were.
        l.valueText = stepText(0);
        return;
    }
    // A step beyond the last has no segment to light: it is taken as the last step.
    const int step = std::min<int>(value, kSteps - 1);
    l.litSegments = step + 1;
    l.valueText = stepText(step);
}

void SensitivityModel::loadCurrentLevel(std::uint8_t index) {
    currentLevel_ = std::min<int>(index + 1, levelsInUse_);
}

void SensitivityModel::loadColor(int level, std::uint8_t color) {
    if (isLevel(level)) at(level).colorText = std::to_string(color);
}

std::uint8_t SensitivityModel::levelValueByte(int level, std::uint8_t unchanged) const {
    if (!inUse(level)) return 0;
    // The first equal text wins: a text two steps share is stored as the lower step.
    for (int i = 0; i < kSteps; ++i) {
        if (stepText(i) == at(level).valueText) return static_cast<std::uint8_t>(i);
    }
    return unchanged;
}

std::uint8_t SensitivityModel::colorByte(int level) const {
    if (level == kLevels) return kLastLevelColor;
    return static_cast<std::uint8_t>(numberFieldValue(colorText(level), kColorRule));
}

}  // namespace kvr
