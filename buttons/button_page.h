#pragma once
// Page 1: the nine button labels over the mouse drawing and the fire-key fields.
#include "app/window_page.h"

namespace kvr {

class ButtonModel;

class ButtonPage final : public WindowPage {
    Q_OBJECT
public:
    ButtonPage(PageHost& host, ButtonModel& buttons);

    void render() override;
    void languageChanged() override;
    void hideMenus() override;

    // Each key label shows its button's name as the model holds it.
    void RefreshProfileKeys();

private:
    ButtonModel& buttons_;
};

}  // namespace kvr
