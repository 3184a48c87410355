#include "buttons/button_page.h"

#include <QLabel>
#include <QLineEdit>

#include "app/window_controls.h"
#include "buttons/button_model.h"
#include "device/pacer.h"

namespace kvr {

ButtonPage::ButtonPage(PageHost& host, ButtonModel& buttons) : WindowPage(host), buttons_(buttons) {
    WindowControls& controls = host_.controls();
    controls.get<QLineEdit>("Edt_Repeat1")->setAlignment(Qt::AlignRight);
    controls.get<QLineEdit>("Edt_DelayTime1")->setAlignment(Qt::AlignRight);
}

void ButtonPage::render() {
    WindowControls& controls = host_.controls();
    controls.get<QLineEdit>("Edt_Repeat1")->setText(qText(buttons_.repeatText()));
    controls.get<QLineEdit>("Edt_DelayTime1")->setText(qText(buttons_.delayText()));
    RefreshProfileKeys();
}

void ButtonPage::RefreshProfileKeys() {
    for (int k = 1; k <= 9; ++k)
        host_.controls().get<QLabel>(QString("Key%1").arg(k))->setText(qText(buttons_.caption(k)));
    host_.pacer().pump();
}

void ButtonPage::hideMenus() {
    for (const char* menu :
         {"Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC", "LB_Name"}) {
        if (QWidget* w = host_.controls().find(menu)) w->hide();
    }
}

// The language switch translated the key labels by their shown text; the model keeps what they
// show now.
void ButtonPage::languageChanged() {
    for (int k = 1; k <= 9; ++k)
        buttons_.setCaption(
            k, host_.controls().get<QLabel>(QString("Key%1").arg(k))->text().toStdString());
}

}  // namespace kvr
