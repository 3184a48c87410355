#pragma once
// Moving the settings between the program and the mouse: the defaults at start-up, the identity
// check and full read of a newly found mouse, the write of the edited settings (Apply, Confirm)
// and the write of the factory settings (Reset). Every exchange runs inside one bracket of the
// command protocol; what the window shows meanwhile goes through TransferUi.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>
#include <span>
#include <utility>

#include "buttons/button_names.h"
#include "params/data_buf.h"
#include "cycle/data_buf_ui.h"
#include "device/emulated_mouse.h"
#include "params/device_images.h"

namespace kvr {

class CommandProtocol;
class DeviceLink;
struct ParamLayout;

// What the window does around a transfer. The window implements it; tests record the calls.
class TransferUi {
public:
    virtual ~TransferUi() = default;

    // Closes every open menu (HideAllMenu).
    virtual void hideAllMenu() = 0;
    virtual void setPresenceTimerEnabled(bool enabled) = 0;
    // The four covering labels Disable_All_1..4 that keep clicks off the pages.
    virtual void showInputShields() = 0;
    virtual void hideInputShields() = 0;
    virtual void showBusy() = 0;
    virtual void hideBusy() = 0;
    // Handles the window's pending events.
    virtual void pump() = 0;

    // Str107 in a box with OK and an empty caption; returns once the box is closed.
    virtual void showIdentityError() = 0;
    // Str102: the mouse keeps macros the program's default image does not provide for.
    virtual void showWrongVariant() = 0;
    // The no-device appearance (RefreshErrorAP).
    virtual void refreshErrorAP() = 0;

    // Btn_NewName, Btn_NewMacro and Btn_DelMacro become visible.
    virtual void showMacroButtons() = 0;
    // RefreshPCMacroName: the names of the PC macro library.
    virtual void refreshPcMacroNames() = 0;
    // ReadAndRefreshMacro2: the device macro list from MacroArea.
    virtual void refreshDeviceMacroList() = 0;
    // RefreshMouseSystemParameterA/B: the pointer settings shown on the advanced page.
    virtual void refreshPointerSettings() = 0;
    // ChangedMouseSystemParameterA/B: the page's pointer settings applied to the system.
    virtual void applyPointerSettings() = 0;
    // Empties mmo_macro and mmo_wrscript.
    virtual void clearMacroTexts() = 0;

    // A transfer began or ended; the window holds a close that arrives meanwhile until the end.
    virtual void transferRunning(bool running) { (void)running; }

    // The window's part of a page refresh: page background and tabs, rb_1 checked, page 1 shown.
    virtual void showFirstPage() = 0;
    // After a read: page 1, the error-appearance flag cleared, and the main page when rb_1 is
    // checked.
    virtual void showMainPageAfterRead() = 0;
    // The mouse did not take every block of a write, even when it was sent a second time.
    virtual void reportIncompleteWrite() = 0;
};

// A transfer without a window: nothing to show, nothing to close, no events to handle.
class HeadlessTransferUi : public TransferUi {
public:
    void hideAllMenu() override {}
    void setPresenceTimerEnabled(bool) override {}
    void showInputShields() override {}
    void hideInputShields() override {}
    void showBusy() override {}
    void hideBusy() override {}
    void pump() override {}
    void showIdentityError() override {}
    void showWrongVariant() override {}
    void refreshErrorAP() override {}
    void showMacroButtons() override {}
    void refreshPcMacroNames() override {}
    void refreshDeviceMacroList() override {}
    void refreshPointerSettings() override {}
    void applyPointerSettings() override {}
    void clearMacroTexts() override {}
    void showFirstPage() override {}
    void showMainPageAfterRead() override {}
    void reportIncompleteWrite() override {}
};

// How the identity check of a newly opened mouse ended.
enum class DevInfoResult {
    NoAnswer,       // BeginCmd or StatusCmd not acknowledged, or not a status reply
    NotReady,       // the mouse is not ready; its handle was closed
    IdentityError,  // the identity matches neither the image nor the reserve identity
    WrongVariant,   // the mouse keeps macros, the program's image has none
    Read,           // the mouse was read
};

// What this program knows of the open mouse's memory. Only a mouse read whole since it was
// opened is ever written: writing one that was not read would replace its identity, light type
// and levels with whatever the program happened to hold.
enum class MouseReadState {
    NotRead,          // no mouse, or it did not answer, or a block of the read failed
    IdentityRefused,  // its identity is neither the image's nor the reserve one
    WrongVariant,     // it keeps macros the program's image has no room for
    Read,             // read whole; writes may go to it
};

// How a write bracket ended.
enum class WriteResult {
    Refused,     // the mouse was not read whole: nothing sent (see MouseReadState)
    NotOpened,   // BeginCmd or StatusCmd not acknowledged, or not a status reply: nothing sent
    NotReady,    // the mouse is not ready: EndCmd only
    Incomplete,  // a block was not taken whole, even on its second sending
    Written,
};

class ReadWriteCycle {
public:
    // `defaultImage` is the built-in default image (parameter block, profile block, macro area);
    // it and every reference must outlive the cycle. The protocol runs on `link`.
    ReadWriteCycle(std::span<const std::uint8_t> defaultImage, DeviceLink& link,
                   CommandProtocol& protocol, PageModels pages, const CodeNaming& naming,
                   TransferUi& ui);

    // What the default image says; variant 0 when it is too short to tell.
    const ImageHeader& imageHeader() const { return header_; }
    int imageVariant() const { return header_.imageVariant; }
    std::uint8_t programMacroCapability() const { return header_.macroCapability; }

    // Whether a mouse with these identity bytes is one this program serves: the default image's
    // identity or the reserve one.
    bool identityPasses(std::uint8_t manufacturerId, std::uint8_t productId) const;
    // Rev_Manu_ID and Rev_Pro_ID of the layout: a second identity a mouse may answer with.
    void setReserveIdentity(int manufacturerId, int productId);
    // Runs whenever the macro area was read, reset or written as it stands, before the window's
    // device macro list is refreshed and before the pages name buttons after their macros.
    void setMacroAreaReader(std::function<void()> reader) { macroAreaReader_ = std::move(reader); }

    // What is known of the open mouse's memory; writes go only to a mouse that was read.
    MouseReadState mouseMemory() const { return mouseMemory_; }
    // A new mouse was opened or the open one was lost: nothing is known of its memory. A mouse
    // of the other variant is remembered as such, so a refused write can say why.
    void forgetMouse(MouseReadState state = MouseReadState::NotRead);
    // The open mouse's memory as its last whole read found it, before this program changed
    // anything: its blocks at their addresses, 0xFF between them. Empty until a mouse was read
    // whole, and once it is lost.
    const std::optional<MouseMemory>& memoryAsRead() const { return memoryAsRead_; }
    // True while an exchange with the mouse runs.
    bool transferRunning() const { return transferDepth_ > 0; }

    // 2 or 10 once the open mouse said so; 0 until then.
    std::uint8_t deviceMacroCapability() const { return deviceMacroCapability_; }
    // MacroSupport: the mouse keeps macros in its memory.
    bool macroSupport() const { return deviceMacroCapability_ == kMacroCapabilityPresent; }

    bool macroDirty() const { return macroDirty_; }
    void setMacroDirty(bool dirty) { macroDirty_ = dirty; }

    DeviceImages& images() { return images_; }
    const DeviceImages& images() const { return images_; }
    const DefaultImages& defaultImages() const { return defaults_; }
    DataBuf& dataBuf() { return data_; }
    const DataBuf& dataBuf() const { return data_; }

    // Fills the default images from the built-in default image. False when it is too short.
    bool loadDefaultImage();
    // Start-up before any mouse is found: the defaults on the pages.
    void InitNoDevice();
    // The identity check of a newly opened mouse of the image's variant, and its full read.
    DevInfoResult ReadDevInfo();
    // Reads the mouse's memory onto the pages, inside an exchange the caller opened.
    void Btn_Read();
    // Writes the pages' settings to the mouse (Apply, Confirm).
    WriteResult DownloadParameter();
    // Writes the factory settings to the mouse (Reset).
    WriteResult DefaultParameter();
    // Writes the images byte for byte as they stand, without the pages' settings (a restored
    // memory image), the macro area too when the mouse keeps macros; the pages then show them.
    WriteResult WriteImagesAsTheyStand();
    // Btn_SaveMacroClick: after a device macro was added or deleted, writes the profile block
    // (rebuilt from DataBuf with its checksum) and, with macro memory, the macro area.
    // `refreshCodes` runs once the mouse said it is ready, before the profile block is built, so
    // that macro buttons follow their macros (RefreshMacroAddr). Macro changes that did not reach
    // the mouse stay pending (MacroDirty) for the next write.
    WriteResult writeDeviceMacros(const std::function<void()>& refreshCodes);
    // What profile files need to bring a loaded image onto the pages: the connected mouse's
    // variant (0 without one), the page models, the names of codes, and the refresh itself.
    int deviceVariant() const;
    PageModels pageModels() const { return pages_; }
    const CodeNaming& naming() const { return naming_; }
    void refreshPagesFromImages() { refreshPages(); }
    // Makes the mouse reload its settings from memory; its answer does not matter.
    void SystemReloadCmd_OnClick();

    // Whether Apply would change the mouse: the pages, or device macros still to be written,
    // differ from what was last read from or written to it. False without a mouse read whole,
    // where Apply cannot write. The pages' fields are committed, as Apply would.
    bool hasUnappliedChanges();

private:
    // The parameter and profile blocks as Apply would write them from the pages now.
    struct SettingsBlocks {
        std::vector<std::uint8_t> param;
        std::vector<std::uint8_t> profile;
        bool operator==(const SettingsBlocks&) const = default;
    };
    SettingsBlocks settingsFromPages();

    enum class Bracket { NotOpened, NotReady, Done };

    void prepareTransfer(bool closeMenus);
    void endTransfer();
    // BeginCmd and StatusCmd; the status reply tells whether the mouse is ready.
    Bracket openExchange();
    // The exchange bracket around `writes`; EndCmd whenever the mouse gave its status.
    Bracket exchange(const std::function<void()>& writes);
    // Parameter and profile images, then the macro area when `withMacros`. Returns whether
    // every block was taken whole.
    bool writeImages(const ParamLayout& layout, bool withMacros);
    // The macro area as two writes of 256 bytes.
    bool writeMacroArea();
    // WriteBlock, and once more when the start or a chunk was not acknowledged.
    WriteResult finishWrite(Bracket bracket, bool whole);
    bool writeBlockWhole(std::uint16_t address, std::uint16_t length,
                         std::span<const std::uint8_t> source);
    // Every piece of the macro area; false when one was not read whole.
    bool readMacroArea();
    bool readBlockWhole(std::uint16_t address, std::uint16_t length, std::span<std::uint8_t> dest,
                        std::size_t presetSize);
    void refreshPages();
    // The macro area was replaced: its reader first, then the window's list.
    void macroAreaChanged();
    void copyDefaultsToImages(int variant);
    // Whether a read or write may start: a layout for the mouse's variant and its memory read.
    const ParamLayout* writableLayout() const;

    std::span<const std::uint8_t> defaultImage_;
    DeviceLink& link_;
    CommandProtocol& protocol_;
    PageModels pages_;
    const CodeNaming& naming_;
    TransferUi& ui_;
    std::function<void()> macroAreaReader_;

    ImageHeader header_;
    DeviceImages images_;
    DefaultImages defaults_;
    DataBuf data_{};
    int reserveManufacturerId_ = 0;
    int reserveProductId_ = 0;
    std::uint8_t deviceMacroCapability_ = 0;
    bool macroDirty_ = false;
    MouseReadState mouseMemory_ = MouseReadState::NotRead;
    std::optional<MouseMemory> memoryAsRead_;
    int transferDepth_ = 0;
    // What the mouse holds since its last read or write, as the pages showed it then.
    SettingsBlocks applied_;
};

}  // namespace kvr
