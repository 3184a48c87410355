#pragma once
// Page 4: the PC macro library (LB_PCMacroName), the macros stored in the mouse (LB_MacroName)
// and the events of the macro being looked at (LB_macro), with their context panels, the name
// dialog, and the profile files of the Save Profile and Load Profile buttons of every page.
#include <QPointer>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/window_page.h"
#include "base/file_refusal.h"
#include "buttons/button_names.h"
#include "macros/macro_codec.h"
#include "gui/pages/macro_editor_page.h"
#include "gui/pages/macro_name_dialog.h"
#include "macros/pc_macro_library.h"

class QListWidget;

namespace kvr {

class ButtonModel;
class DeviceMacros;
class ProfileFiles;

class MacroPage final : public WindowPage, public MacroLibraryAccess {
    Q_OBJECT
public:
    // Until useLibraryFile() the library lives in memory, filled with the built-in macros. The
    // models and the mouse's macros and profile files must outlive the page.
    MacroPage(PageHost& host, ButtonModel& buttons, DeviceMacros& deviceMacros,
              ProfileFiles& profileFiles);
    ~MacroPage() override;

    void render() override {}
    // The lists, panels and texts are drawn once the page's controls are made.
    void controlsMade(int page) override;
    void languageChanged() override;
    // ClearMacro: hides the three context panels.
    void hideMenus() override;
    void deviceLost() override;

    // CheckPCMacro on "Macro.bin" at `file`; a file that cannot be read or created is reported.
    void useLibraryFile(const std::filesystem::path& file);

    PCMacroLibrary& library() { return library_; }
    DeviceMacros& deviceMacros() { return deviceMacros_; }
    ProfileFiles& profileFiles() { return profileFiles_; }
    // The device macro names in list order (LB_MacroName); index = macro slot.
    std::vector<std::string> deviceMacroNames();

    // Btn_NewName, Btn_NewMacro and Btn_DelMacro, shown once a mouse with macro memory is read.
    void showMacroButtons();
    // Empties the event list, the lines and the hex text.
    void clearMacroTexts();
    // RefreshPCMacroName.
    void RefreshPCMacroName();
    // RefreshMacroName2: LB_MacroName from the device macro table; LB_macro emptied. The button
    // page's macro list follows through deviceMacrosChanged().
    void RefreshMacroName2();

    // The lines and hex text of the macro shown now (mmo_macro, mmo_wrscript).
    const MacroLines& lines() const { return events_ ? events_->editor().lines() : lines_; }
    DelayMode delayMode() const { return delayMode_; }
    QString hexText() const;
    // The open name dialog, or none.
    MacroNameDialog* nameDialog() const { return nameDialog_; }

    // The event list LB_macro, recording and editing; the main window makes it beside this page.
    void setEventList(MacroEditorPage& events) { events_ = &events; }
    // MacroLibraryAccess.
    int selectedPCMacro() const override { return selectedRow("LB_PCMacroName"); }
    MacroLines decodePCMacro(int slot) override;
    bool storePCMacro(int slot, const MacroLines& lines) override;
    void setMacroDirty() override;

    // Handlers.
    void LB_PCMacroNameClick();
    void LB_MacroNameClick();
    void Btn_NewMacroClick();
    void Btn_NewNameClick();
    void ApplyMacroName(const QString& name);
    void Btn_DelPCMacroClick();
    void Btn_ImportOneClick();
    void Btn_ImportClick();
    void Btn_ExportOneClick();
    void Btn_ExportClick();
    void Btn_AddMacroClick();
    void Btn_DelMacroClick();
    void Btn_DevExportClick();
    void Btn_Save_0Click();
    void Btn_Load_0Click();

signals:
    // Button captions or codes changed under the button page (a macro deleted, a profile
    // loaded): it should draw its labels again.
    void buttonsChanged();
    // The device macro list changed (the button page's macro list shows the new names).
    void deviceMacrosChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class NameRequest { None, NewMacro, Rename };
    static constexpr int kPage = 4;

    bool made() const;
    // LB_MacroName from the device macro table.
    void fillDeviceList();

    QListWidget* list(const char* name) const;
    int selectedRow(const char* name) const;
    void selectRow(const char* name, int row);
    // Decoded lines of a content into the event list and the texts.
    void showContent(const MacroContent& content, bool fromLibrary);
    // Empties LB_macro, except while a recording fills it.
    void clearEventList();
    void clearShownMacro();
    void openNameDialog(NameRequest request);
    void showLibraryError(const char* key);
    // A file that fails its check, named with the reason in the current language.
    void showRefusal(const std::filesystem::path& file, const FileRefusal& refusal);
    // A library read or import that failed, told as the message for `file`; false when it did not.
    bool reportUnreadFile(LibraryResult result, const std::filesystem::path& file);
    void showFileError(const char* key, const std::string& error);
    // Press and release on one of the three lists: selection, deselection, context panel.
    bool listMouseEvent(QListWidget* list, QMouseEvent* event);
    // The pressed look of Save or Load Profile; false, after saying so, when no mouse is open.
    bool pressSaveLoad(const char* button);
    // Save and Load Profile for the settings as a text file.
    void saveTextProfile(const std::filesystem::path& file);
    void loadTextProfile(const std::filesystem::path& file);
    // The context panels as wide as their longest caption in the current language.
    void fitPanels();
    bool isPanel(QObject* object) const;

    ButtonModel& buttons_;
    PCMacroLibrary library_;
    DeviceMacros& deviceMacros_;
    ProfileFiles& profileFiles_;
    MacroLines lines_;
    DelayMode delayMode_ = DelayMode::None;
    NameRequest nameRequest_ = NameRequest::None;
    MacroEditorPage* events_ = nullptr;
    // The macro commands a mouse with macro memory offers, shown once such a mouse was read.
    bool macroButtonsShown_ = false;
    QPointer<MacroNameDialog> nameDialog_;
};

}  // namespace kvr
