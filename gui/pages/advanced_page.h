#pragma once
// Page 2: the eight sensitivity levels with their steps, colours and the current level, and the
// desktop's pointer settings on three ten-segment scales.
#include <array>

#include "gui/window_page.h"
#include "settings/pointer_settings.h"

class QLineEdit;

namespace kvr {

class ScaleTrack;
class SensitivityModel;

class AdvancedPage final : public WindowPage {
    Q_OBJECT
public:
    AdvancedPage(PageHost& host, SensitivityModel& sensitivity, PointerSettingsStore& pointerStore);

    void controlsMade(int page) override;
    // Drawing waits for the page's controls to be made.
    void render() override;
    void languageChanged() override;

    // Click handlers, level n = 1..8, segment k = 1..8 or 1..10.
    void DPILevel_OnClick(int n);
    void CurrentDPI_OnClick(int n);
    void DPIVlaue_OnClick(int n, int k);
    // Leaving a level's colour field.
    void RefreshCPIColorValue(int n);
    void MseSpd_OnClick(int k);
    void MseDbSpd_OnClick(int k);
    void MseScrSpd_OnClick(int k);

    // RefreshMouseSystemParameterA/B: the desktop's pointer settings onto the scales. Until the
    // page is first made nobody sees or sets a scale, so the desktop is read then, or at Apply.
    void refreshPointerSettings();
    // ChangedMouseSystemParameterA/B: the scales onto the desktop.
    void applyPointerSettings();
    const PointerSettingsModel& pointerSettings() const { return pointer_; }
    // Whether a scale was set since the desktop's values were last read or written.
    bool pointerSettingsPending() const;
    // The colour fields as the model holds them, as after a write put them through their rule.
    void showFieldTexts();

private:
    static constexpr int kPage = 2;
    bool made() const;
    void renderLevels();
    void renderScale(PointerScale scale);
    void placeScaleTracks();
    QLineEdit* colourField(int n) const;
    std::array<int, 3> scaleLevels() const;
    void readDesktop();

    SensitivityModel& sensitivity_;
    PointerSettingsStore& pointerStore_;
    PointerSettingsModel pointer_;
    // The scales' levels as last read from or written to the desktop.
    std::array<int, 3> settledLevels_{};
    bool desktopReadOwed_ = false;
    std::array<ScaleTrack*, 3> tracks_{};
};

}  // namespace kvr
