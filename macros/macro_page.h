#pragma once
// Page 4: the PC macro library, the mouse's macros and the macro editor.
#include "app/window_page.h"

namespace kvr {

class MacroPage final : public WindowPage {
    Q_OBJECT
public:
    explicit MacroPage(PageHost& host);

    void render() override {}
    void hideMenus() override;
    void deviceLost() override;

    // Btn_NewName, Btn_NewMacro and Btn_DelMacro, shown once a mouse with macro memory is read.
    void showMacroButtons();
    // Empties the macro's hex text and script.
    void clearMacroTexts();
};

}  // namespace kvr
