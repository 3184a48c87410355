// Finding, losing, reading and writing the mouse.
#include <QLabel>
#include <QListWidget>

#include "app/busy_window.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/window_controls.h"
#include "device/pacer.h"

namespace kvr {

bool TForm1::mouseOpen() const { return link_.hasDevice(); }

void TForm1::DevTimerTimer() { link_.DevTimerTimer(); }

void TForm1::NoDeviceFound() {
    QWidget* catcher = controls_->find("Disable");
    catcher->show();
    catcher->raise();
    HideAllMenu();
    services_.dialogs.message(titleText(), messageText("Str100") + "\r" + messageText("Str101"));
    errorAppearance_ = false;
    services_.pacer.pump();
    RefreshErrorAP();
    controls_->get<QListWidget>("LB_macro")->clear();
}

void TForm1::RefreshErrorAP() {
    errorAppearance_ = true;
    controls_->page(1)->show();
    for (int p = 2; p <= 4; ++p) controls_->page(p)->hide();
    setPictureOnCopies("Main", "SetS_02");
    for (const char* b : {"Adv", "Breath", "Macro"}) setPictureOnCopies(b, "SetS_01");
}

void TForm1::readDevInfo() {
    // The identity check and the whole read arrive with the read and write cycle.
    errorAppearance_ = false;
    controls_->find("Disable")->hide();
}

void TForm1::wrongVariant() { services_.dialogs.message(titleText(), messageText("Str102")); }

void TForm1::refreshProfileKeys() {}

void TForm1::Btn_Apply_0Click() {}
void TForm1::Btn_Confirm_0Click() {}
void TForm1::Btn_Reset_0Click() {}

}  // namespace kvr
