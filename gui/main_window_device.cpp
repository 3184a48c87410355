// Finding, losing, reading and writing the mouse.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <utility>

#include "gui/busy_window.h"
#include "config/backups.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/memory_release.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "device/pacer.h"
#include "gui/pages/button_page.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/light_page.h"

namespace kvr {

namespace {
constexpr int kPauseSteps = 11;
constexpr std::chrono::milliseconds kPauseStep{10};
}  // namespace

// What a transfer does to the window around the mouse's bytes.
class WindowTransferUi final : public TransferUi {
public:
    WindowTransferUi(MainWindow& window, BusyWindow*& busy, Pacer& pacer, Dialogs& dialogs)
        : window_(window), busy_(busy), pacer_(pacer), dialogs_(dialogs) {}

    void hideAllMenu() override { window_.HideAllMenu(); }
    void setPresenceTimerEnabled(bool enabled) override {
        if (enabled) window_.presenceTimer().start();
        else window_.presenceTimer().stop();
    }
    void showInputShields() override { window_.ShowInputShields(); }
    void hideInputShields() override { window_.HideInputShields(); }
    void showBusy() override {
        if (busy_) busy_->Show();
    }
    void hideBusy() override {
        if (busy_) busy_->Hide();
    }
    void pump() override { pacer_.pump(); }
    void showIdentityError() override { dialogs_.message(QString(), window_.messageText("Str107")); }
    void showWrongVariant() override {
        dialogs_.message(window_.titleText(), window_.messageText("Str102"));
    }
    void refreshErrorAP() override { window_.RefreshErrorAP(); }
    void showMacroButtons() override { window_.macroPage().showMacroButtons(); }
    void refreshPcMacroNames() override { window_.macroPage().RefreshPCMacroName(); }
    void refreshDeviceMacroList() override { window_.macroPage().RefreshMacroName2(); }
    void refreshPointerSettings() override { window_.advancedPage().refreshPointerSettings(); }
    void applyPointerSettings() override {
        window_.advancedPage().applyPointerSettings();
        // The settings were just built from the pages, every field through its exit rule: a
        // field still being typed in shows what is written.
        window_.advancedPage().showFieldTexts();
        window_.lightPage().showFieldTexts();
        window_.buttonPage().showFireKeyFields();
    }
    void clearMacroTexts() override { window_.macroPage().clearMacroTexts(); }
    void showFirstPage() override { window_.showFirstPageAfterRefresh(); }
    void showMainPageAfterRead() override { window_.showMainPageAfterRead(); }
    void transferRunning(bool running) override { window_.transferRunning(running); }
    void reportIncompleteWrite() override {
        dialogs_.message(window_.titleText(), window_.messageText("Str108"));
    }

private:
    MainWindow& window_;
    BusyWindow*& busy_;
    Pacer& pacer_;
    Dialogs& dialogs_;
};

std::unique_ptr<TransferUi> MainWindow::makeTransferUi() {
    return std::make_unique<WindowTransferUi>(*this, busy_, services_.pacer, services_.dialogs);
}

void MainWindow::prepareMouse() {
    if (!mouse_.hasDefaultImage())
        services_.dialogs.error("The built-in default image \"KVR5507Data\" is missing.");
    cycle().setReserveIdentity(layoutState_.org().ReserveVendorId,
                               layoutState_.org().ReserveProductId);
    mouse_.protocol().setBusyHook([this] {
        if (busy_) busy_->Show();
    });
}

bool MainWindow::mouseOpen() const { return mouse_.link().hasDevice(); }

void MainWindow::DevTimerTimer() { mouse_.link().DevTimerTimer(); }

void MainWindow::NoDeviceFound() {
    QWidget* catcher = controls_->find("Disable");
    catcher->show();
    catcher->raise();
    HideAllMenu();
    // The presence tick goes on while it is up: a mouse found and read then closes it.
    noMouseNotice_ = messageText("Str100") + "\r" + messageText("Str101");
    services_.dialogs.notice(titleText(), noMouseNotice_);
    errorAppearance_ = false;
    services_.pacer.pump();
    RefreshErrorAP();
    cycle().forgetMouse();
    for (WindowPage* page : pages()) page->deviceLost();
}

void MainWindow::RefreshErrorAP() {
    errorAppearance_ = true;
    controls_->page(1)->show();
    for (int p = 2; p <= 4; ++p) controls_->page(p)->hide();
    setPictureOnCopies("Main", "SetS_02");
    for (const char* b : {"Adv", "Breath", "Macro"}) setPictureOnCopies(b, "SetS_01");
}

void MainWindow::readDevInfo() {
    cycle().ReadDevInfo();
    if (cycle().mouseMemory() == MouseReadState::Read && !noMouseNotice_.isEmpty())
        services_.dialogs.withdrawNotice(std::exchange(noMouseNotice_, QString()));
}

void MainWindow::wrongVariant() {
    cycle().forgetMouse(MouseReadState::WrongVariant);
    services_.dialogs.message(titleText(), messageText("Str102"));
}

bool MainWindow::awaitsRead() const {
    return mouse_.link().hasDevice() && mouse_.cycle().mouseMemory() == MouseReadState::NotRead;
}

void MainWindow::transferRunning(bool running) {
    if (running) return;
    releaseFreedMemory();
    if (!closePending_) return;
    // Carried out once the caller of the transfer has finished with the window.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool MainWindow::reportRefusedWrite(WriteResult result) {
    if (result != WriteResult::Refused) return false;
    switch (cycle().mouseMemory()) {
        case MouseReadState::IdentityRefused:
            services_.dialogs.message(QString(), messageText("Str107"));
            break;
        case MouseReadState::WrongVariant:
            services_.dialogs.message(titleText(), messageText("Str102"));
            break;
        case MouseReadState::NotRead:
        case MouseReadState::Read:
            services_.dialogs.message(titleText(), messageText("Str020"));
            break;
    }
    return true;
}

void MainWindow::showFirstPageAfterRefresh() {
    for (int p = 1; p <= 4; ++p)
        setPicture(QString("Img_Base_%1").arg(p), QString("L%1_BackGround").arg(languageIndex()));
    setCurrentPage(1);
    controls_->page(1)->show();
    for (int p = 2; p <= 4; ++p) controls_->page(p)->hide();
    // The page buttons follow the page shown, whichever page the refresh started from.
    setPictureOnCopies("Main", "SetS_02");
    for (const char* b : {"Adv", "Breath", "Macro"}) setPictureOnCopies(b, "SetS_01");
    for (WindowPage* page : pages()) page->render();
}

void MainWindow::showMainPageAfterRead() {
    controls_->page(1)->show();
    for (int p = 2; p <= 4; ++p) controls_->page(p)->hide();
    errorAppearance_ = false;
    if (currentPage_ == 1) Btn_Main_0Click();
    services_.pacer.pump();
}

void MainWindow::pumpedPause() {
    for (int i = 0; i < kPauseSteps; ++i) services_.pacer.wait(kPauseStep);
}

void MainWindow::pressCircularButton(const QString& button) {
    setPictureOnCopies(button, "BtnS_03");
    pumpedPause();
}

bool MainWindow::backUpBeforeWrite() {
    // Only a mouse read whole is written; a write that is refused needs no backup.
    const std::optional<MouseMemory>& memory = cycle().memoryAsRead();
    if (cycle().mouseMemory() != MouseReadState::Read || !memory || backedUp_ == memory)
        return true;
    const std::optional<std::string> failure = saveBackup(*memory);
    if (!failure) {
        backedUp_ = memory;
        return true;
    }
    // A full disk must not keep the owner from changing the mouse: asked, No by default.
    const QStringList buttons = {messageText("Str117"), messageText("Str118")};
    return services_.dialogs.ask(titleText(),
                                 messageText("Str141").arg(QString::fromStdString(*failure)),
                                 buttons, 1, 1) == 0;
}

void MainWindow::Btn_Apply_0Click() {
    pressCircularButton("Apply");
    if (!mouseOpen()) {
        services_.dialogs.message(titleText(), messageText("Str020"));
        return;
    }
    if (!backUpBeforeWrite()) return;
    reportRefusedWrite(cycle().DownloadParameter());
}

void MainWindow::Btn_Confirm_0Click() {
    pressCircularButton("Confirm");
    if (!mouseOpen()) {
        services_.dialogs.message(titleText(), messageText("Str020"));
        return;
    }
    if (!backUpBeforeWrite()) return;
    const WriteResult result = cycle().DownloadParameter();
    // The window closes only when the mouse took the settings; otherwise the edits stay.
    if (reportRefusedWrite(result) || result != WriteResult::Written) return;
    pumpedPause();
    close();
}

void MainWindow::Btn_Reset_0Click() {
    pressCircularButton("Reset");
    if (!mouseOpen()) {
        services_.dialogs.message(titleText(), messageText("Str020"));
        return;
    }
    // Reset replaces everything the owner set in the mouse: asked first, No by default. A mouse
    // that cannot be written hears why without the question.
    if (cycle().mouseMemory() == MouseReadState::Read) {
        const QStringList buttons = {messageText("Str117"), messageText("Str118")};
        if (services_.dialogs.ask(titleText(), messageText("Str115"), buttons, 1, 1) != 0) return;
    }
    if (!backUpBeforeWrite()) return;
    reportRefusedWrite(cycle().DefaultParameter());
}

}  // namespace kvr
