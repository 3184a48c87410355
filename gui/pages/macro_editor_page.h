#pragma once
// The macro page's event list LB_macro and everything that changes it: recording (Btn_Start and
// its delay modes), deleting an event, and the insert panel with its delay and key insertion.
// The macro page lends it the PC macro library through MacroLibraryAccess.
#include <memory>

#include "gui/window_page.h"
#include "macros/input_capture.h"
#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "macros/tick_clock.h"

class QListWidget;

namespace kvr {

// What the event list needs of the PC macro library.
class MacroLibraryAccess {
public:
    virtual ~MacroLibraryAccess() = default;
    // The entry selected in LB_PCMacroName; -1 when none is.
    virtual int selectedPCMacro() const = 0;
    // The lines of the entry's stored content (as DecodeMacroContent gives them).
    virtual MacroLines decodePCMacro(int slot) = 0;
    // Compiles the lines into the entry and saves the library; false (the user was told) when
    // they could not be stored.
    virtual bool storePCMacro(int slot, const MacroLines& lines) = 0;
    // MacroDirty: the next write also writes the mouse's macro area.
    virtual void setMacroDirty() = 0;
};

class MacroEditorPage final : public WindowPage, private RecordingTarget {
    Q_OBJECT
public:
    MacroEditorPage(PageHost& host, MacroLibraryAccess& library, InputCapture& capture,
                    const TickClock& clock);
    // A recording still running is stopped and kept.
    ~MacroEditorPage() override;

    void render() override { renderList(); }
    // Connects to the macro page's controls and draws the list once they are made; the macro
    // page tells it.
    void controlsMade(int page) override;
    void languageChanged() override;
    void hideMenus() override;

    MacroEditor& editor() { return editor_; }
    MacroRecorder& recorder() { return recorder_; }
    const RecordDelay& recordDelay() const { return recordDelay_; }
    const RecordDelay& insertDelay() const { return insertDelay_; }

    // A decoded macro; `fromLibrary` false for a macro of the mouse, which is read-only.
    void showLines(MacroLines lines, bool fromLibrary);
    void clearLines();
    bool editable() const { return fromLibrary_; }
    bool insertPanelOpen() const { return editor_.insertPanelOpen(); }
    // The window closes: a running recording is stopped and stored. True if one ran.
    bool finishRecording() { return recorder_.finish(); }
    // The page was shown again: the insert panel or the delay group, whichever is in use.
    void pageShown();

    // Handlers.
    void Btn_StartClick();
    void IB_RecDelayClick() { setRecordDelayMode(RecordDelayMode::Recorded); }
    void IB_DelayTimeClick() { setRecordDelayMode(RecordDelayMode::Fixed); }
    void IB_NoDelayClick() { setRecordDelayMode(RecordDelayMode::None); }
    void Edt_DelayChange();
    void IB_InsertRecDelayClick() { setInsertDelayMode(RecordDelayMode::Recorded); }
    void IB_InsertDelayTimeClick() { setInsertDelayMode(RecordDelayMode::Fixed); }
    void IB_InsertNoDelayClick() { setInsertDelayMode(RecordDelayMode::None); }
    void Edt_InsertDelayChange();
    void Btn_DelClick();
    void Btn_InsertClick();
    void CB_InsertChange(int index);
    void Btn_InsertStartClick();
    void Btn_OKClick();
    void Btn_CancelClick();
    void DisableMacroLists();
    void EnableMacroLists();

    // Turns what the capture saw into lines; runs on the window's thread when woken.
    void takeRecordedInput();

private:
    static constexpr int kPage = 4;
    bool made() const;
    void storeRecording(int slot, const MacroLines& lines) override;
    QListWidget* eventList() const;
    void renderList();
    void setRecordDelayMode(RecordDelayMode mode);
    void setInsertDelayMode(RecordDelayMode mode);
    void drawDelayChoices(bool insert);
    void recordingStarted();
    void recordingStopped();
    void insertRecordingStarted();
    void insertRecordingStopped();
    void closeInsertPanel();
    void showCaptureFailure();
    // What the window shows after a click on one of the two record buttons.
    // Stopped comes only from a recording that ran, so its window state is always there to undo.
    void followRecordClick(MacroRecorder::Click click, void (MacroEditorPage::*started)(),
                           void (MacroEditorPage::*stopped)());
    // Tells the recorder where the record buttons are on the desktop now.
    void publishRecordButtonAreas();
    void setEnabled(const char* name, bool enabled);
    void setColour(const char* name, bool grey, bool listColour);

    MacroLibraryAccess& library_;
    MacroEditor editor_;
    MacroRecorder recorder_;
    RecordDelay recordDelay_;
    RecordDelay insertDelay_;
    bool fromLibrary_ = false;
    bool insertRecording_ = false;
    int editSlot_ = -1;  // the entry the open insert panel edits
    bool rendering_ = false;
};

}  // namespace kvr
