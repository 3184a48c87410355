#include "macros/macro_page.h"

#include <QListWidget>
#include <QPlainTextEdit>

#include "app/window_controls.h"

namespace kvr {

MacroPage::MacroPage(PageHost& host) : WindowPage(host) {}

void MacroPage::hideMenus() {
    for (const char* panel : {"Pnl_PCMacro", "Pnl_DevMacro", "Pnl_DevContent"})
        if (QWidget* w = host_.controls().find(panel)) w->hide();
}

void MacroPage::deviceLost() { host_.controls().get<QListWidget>("LB_macro")->clear(); }

void MacroPage::showMacroButtons() {
    for (const char* b : {"Btn_NewName", "Btn_NewMacro", "Btn_DelMacro"})
        host_.controls().find(b)->show();
}

void MacroPage::clearMacroTexts() {
    for (const char* m : {"mmo_macro", "mmo_wrscript"})
        host_.controls().get<QPlainTextEdit>(m)->clear();
}

}  // namespace kvr
