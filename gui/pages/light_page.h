#pragma once
// Page 3: the breathing light's choices and times, in the control set the mouse's light type
// offers, on a panel picture that names that set's choices.
#include "gui/window_page.h"
#include "settings/light_model.h"

class QLineEdit;

namespace kvr {

class LightPage final : public WindowPage {
    Q_OBJECT
public:
    LightPage(PageHost& host, LightModel& light);

    void controlsMade(int page) override;
    // Drawing waits for the page's controls to be made.
    void render() override;
    void languageChanged() override;
    void deviceLost() override;
    QString panelPicture(const QString& standard) const override;

    // Click handlers: On or Off of the two switches, mode 1..5, 1..2, 1..4 of the mode groups.
    void lbl_MCPIOnClick(bool on);
    void lbl_LEDKeyOnClick(bool on);
    void LEDNTMode_OnClick(int mode);
    void LEDColorMode_OnClick(int mode);
    void LEDColorBre_OnClick(int mode);
    // Leaving a time field (edt_OffTimeExit and the others).
    void timeFieldExit(TimeField field);
    // The time fields as the model holds them, as after a write put them through their rule.
    void showFieldTexts();

private:
    static constexpr int kPage = 3;
    bool made() const;
    void renderChoices();
    void showChoice(const QString& name, bool shown, bool chosen);
    void showPanel();
    void placeChoiceLabels();
    QLineEdit* timeEdit(TimeField field) const;

    LightModel& light_;
};

}  // namespace kvr
