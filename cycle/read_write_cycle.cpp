#include "cycle/read_write_cycle.h"

#include <algorithm>
#include <array>
#include <utility>

#include "device/command_protocol.h"
#include "device/device_link.h"
#include "params/param_layout.h"

namespace kvr {

namespace {

// Where the regions sit in the mouse's memory.
constexpr std::uint16_t kParamAddress = 0;
constexpr std::uint16_t kProfileAddress = 64;
constexpr std::uint16_t kMacroAddress = 512;

// The macro area is read through the transfer buffer in pieces of 255 and 1 bytes, and written
// in two halves of 256.
struct MacroPiece {
    std::uint16_t address;
    std::uint16_t length;
    std::size_t areaOffset;
};
constexpr std::array<MacroPiece, 4> kMacroReadPieces{{
    {kMacroAddress, 255, 0},
    {kMacroAddress + 255, 1, 255},
    {kMacroAddress + 256, 255, 256},
    {kMacroAddress + 511, 1, 511},
}};

std::uint16_t u16(std::size_t n) { return static_cast<std::uint16_t>(n); }

// The whole room of a variant's parameter image: chunk padding lands there on a read and is
// taken from there on a write.
std::span<std::uint8_t> paramRoom(DeviceImages& images, const ParamLayout& layout) {
    if (layout.variant == 1) return images.paramV1.bytes;
    return images.paramV2.bytes;
}

}  // namespace

ReadWriteCycle::ReadWriteCycle(std::span<const std::uint8_t> defaultImage, DeviceLink& link,
                               CommandProtocol& protocol, PageModels pages,
                               const CodeNaming& naming, TransferUi& ui)
    : defaultImage_(defaultImage),
      link_(link),
      protocol_(protocol),
      pages_(pages),
      naming_(naming),
      ui_(ui) {
    if (const auto header = readImageHeader(defaultImage_)) header_ = *header;
}

void ReadWriteCycle::setReserveIdentity(int manufacturerId, int productId) {
    reserveManufacturerId_ = manufacturerId;
    reserveProductId_ = productId;
}

bool ReadWriteCycle::loadDefaultImage() {
    return loadDefaultImages(defaultImage_, header_.imageVariant, defaults_);
}

void ReadWriteCycle::copyDefaultsToImages(int variant) {
    if (const ParamLayout* layout = paramLayout(variant)) {
        std::ranges::copy(defaults_.param(*layout), images_.param(*layout).begin());
    }
    std::ranges::copy(defaults_.profile, images_.profile.bytes.begin());
}

void ReadWriteCycle::refreshPages() {
    DataBufToUI(images_, link_.deviceVariant(), data_, pages_, naming_,
                [this] { ui_.showFirstPage(); });
}

void ReadWriteCycle::macroAreaChanged() {
    if (macroAreaReader_) macroAreaReader_();
    ui_.refreshDeviceMacroList();
}

void ReadWriteCycle::forgetMouse(MouseReadState state) {
    mouseMemory_ = state == MouseReadState::Read ? MouseReadState::NotRead : state;
    memoryAsRead_.reset();
    deviceMacroCapability_ = 0;
}

void ReadWriteCycle::InitNoDevice() {
    loadDefaultImage();
    copyDefaultsToImages(header_.imageVariant);
    // DataBuf holds the defaults of the program's own variant, so that nothing in it is left
    // unset before a mouse is read.
    copyImagesToDataBuf(images_, header_.imageVariant, data_);
    if (header_.macroCapability == kMacroCapabilityPresent) {
        images_.macroArea.bytes = defaults_.macroArea;
        macroAreaChanged();
    }
    refreshPages();
}

void ReadWriteCycle::prepareTransfer(bool closeMenus) {
    if (transferDepth_++ == 0) ui_.transferRunning(true);
    if (closeMenus) ui_.hideAllMenu();
    ui_.setPresenceTimerEnabled(false);
    ui_.showInputShields();
    ui_.showBusy();
    ui_.pump();
}

void ReadWriteCycle::endTransfer() {
    ui_.hideBusy();
    ui_.pump();
    ui_.setPresenceTimerEnabled(true);
    ui_.hideInputShields();
    if (--transferDepth_ == 0) ui_.transferRunning(false);
}

ReadWriteCycle::Bracket ReadWriteCycle::openExchange() {
    if (!protocol_.SendCommand(BeginCmd)) return Bracket::NotOpened;
    if (!protocol_.SendCommand(StatusCmd)) return Bracket::NotOpened;
    const CommandReport& status = protocol_.report();
    if (status[1] != kStatusReplyTag) return Bracket::NotOpened;
    return (status[2] & kStatusReadyMask) ? Bracket::Done : Bracket::NotReady;
}

ReadWriteCycle::Bracket ReadWriteCycle::exchange(const std::function<void()>& writes) {
    const Bracket opened = openExchange();
    // A mouse that did not give its status is left alone: no EndCmd.
    if (opened == Bracket::NotOpened) return opened;
    if (opened == Bracket::Done) {
        writes();
        SystemReloadCmd_OnClick();
    }
    // Closing the exchange is all that can be done; its answer changes nothing.
    (void)protocol_.SendCommand(EndCmd);
    return opened;
}

void ReadWriteCycle::SystemReloadCmd_OnClick() {
    // The mouse reloads or it does not; nothing here depends on its answer.
    (void)protocol_.SendCommand(SystemReloadCmd);
}

bool ReadWriteCycle::identityPasses(std::uint8_t manufacturerId, std::uint8_t productId) const {
    if (manufacturerId == header_.manufacturerId && productId == header_.productId) return true;
    return manufacturerId == reserveManufacturerId_ && productId == reserveProductId_;
}

DevInfoResult ReadWriteCycle::ReadDevInfo() {
    forgetMouse();
    const ParamLayout* layout = paramLayout(link_.deviceVariant());
    if (!layout) return DevInfoResult::NoAnswer;

    const Bracket opened = openExchange();
    if (opened == Bracket::NotOpened) return DevInfoResult::NoAnswer;
    if (opened == Bracket::NotReady) {
        (void)protocol_.SendCommand(EndCmd);
        link_.closeHandle();
        return DevInfoResult::NotReady;
    }

    // Short reads right after discovery: no busy window yet. A failed read leaves 0xFF bytes,
    // which the checks below judge like any other answer.
    std::array<std::uint8_t, kChunkSize> identity{};
    (void)protocol_.ReadBlockQuiet(u16(layout->tail + param_tail::kManufacturerId), 2, identity, 2);
    if (!identityPasses(identity[0], identity[1])) {
        mouseMemory_ = MouseReadState::IdentityRefused;
        ui_.setPresenceTimerEnabled(false);
        (void)protocol_.SendCommand(EndCmd);
        ui_.showIdentityError();
        ui_.setPresenceTimerEnabled(true);
        return DevInfoResult::IdentityError;
    }

    std::array<std::uint8_t, kChunkSize> capability{};
    (void)protocol_.ReadBlockQuiet(u16(layout->tail + param_tail::kMacroCapability), 1, capability,
                                   1);
    if (capability[0] == kMacroCapabilityPresent || capability[0] == kMacroCapabilityAbsent) {
        deviceMacroCapability_ = capability[0];
    }

    if (macroSupport()) {
        if (header_.macroCapability != kMacroCapabilityPresent) {
            mouseMemory_ = MouseReadState::WrongVariant;
            (void)protocol_.SendCommand(EndCmd);
            ui_.showWrongVariant();
            ui_.refreshErrorAP();
            return DevInfoResult::WrongVariant;
        }
        ui_.showMacroButtons();
    }
    // A mouse without macro memory is read too: Btn_Read leaves its macro area alone.
    Btn_Read();
    return DevInfoResult::Read;
}

bool ReadWriteCycle::readMacroArea() {
    auto& buffer = images_.macroReadBuffer;
    bool whole = true;
    for (const MacroPiece& piece : kMacroReadPieces) {
        // A failed piece reads as 0xFF and the macro list shows what that means.
        whole &= readBlockWhole(piece.address, piece.length, buffer, buffer.size());
        std::copy_n(
            buffer.begin(), piece.length,
            images_.macroArea.bytes.begin() + static_cast<std::ptrdiff_t>(piece.areaOffset));
    }
    return whole;
}

bool ReadWriteCycle::readBlockWhole(std::uint16_t address, std::uint16_t length,
                                    std::span<std::uint8_t> dest, std::size_t presetSize) {
    return protocol_.ReadBlock(address, length, dest, presetSize) &&
           protocol_.failedChunks() == 0;
}

void ReadWriteCycle::Btn_Read() {
    prepareTransfer(false);
    ui_.refreshPcMacroNames();

    // A failed block stays 0xFF, fails its checksum and shows the template; the mouse is then
    // not taken as read, so the template never overwrites what it really holds.
    bool whole = false;
    MouseMemory asRead{};
    asRead.fill(0xFF);
    if (const ParamLayout* layout = paramLayout(link_.deviceVariant())) {
        whole = readBlockWhole(kParamAddress, u16(layout->blockSize), paramRoom(images_, *layout),
                               layout->blockSize);
        std::copy_n(paramRoom(images_, *layout).begin(), layout->blockSize,
                    asRead.begin() + kMemoryParamAddress);
    }
    whole &= readBlockWhole(kProfileAddress, u16(profile_block::kSize), images_.profile.bytes,
                            profile_block::kSize);
    std::copy_n(images_.profile.bytes.begin(), profile_block::kSize,
                asRead.begin() + kMemoryProfileAddress);
    if (macroSupport()) {
        whole &= readMacroArea();
        // Before the macro list repairs anything: the backup keeps what the mouse held.
        std::ranges::copy(images_.macroArea.bytes, asRead.begin() + kMemoryMacroAddress);
        macroAreaChanged();
    }
    if (whole) {
        memoryAsRead_ = asRead;
    } else {
        memoryAsRead_.reset();
    }
    SystemReloadCmd_OnClick();
    (void)protocol_.SendCommand(EndCmd);
    mouseMemory_ = whole ? MouseReadState::Read : MouseReadState::NotRead;

    refreshPages();
    if (whole) applied_ = settingsFromPages();
    ui_.refreshPointerSettings();
    ui_.showMainPageAfterRead();
    ui_.pump();
    endTransfer();
}

bool ReadWriteCycle::writeBlockWhole(std::uint16_t address, std::uint16_t length,
                                     std::span<const std::uint8_t> source) {
    // A block the mouse did not take whole is sent once more, start command and all chunks.
    for (int sending = 0; sending < 2; ++sending) {
        if (protocol_.WriteBlock(address, length, source) && protocol_.failedChunks() == 0) {
            return true;
        }
    }
    return false;
}

bool ReadWriteCycle::writeImages(const ParamLayout& layout, bool withMacros) {
    bool whole = writeBlockWhole(kParamAddress, u16(layout.blockSize), paramRoom(images_, layout));
    whole &= writeBlockWhole(kProfileAddress, u16(profile_block::kSize), images_.profile.bytes);
    if (withMacros) whole &= writeMacroArea();
    return whole;
}

bool ReadWriteCycle::writeMacroArea() {
    bool whole = true;
    auto& buffer = images_.macroWriteBuffer;
    for (std::size_t half = 0; half < kMacroAreaSize / kMacroWriteSize; ++half) {
        const auto from =
            images_.macroArea.bytes.begin() + static_cast<std::ptrdiff_t>(half * kMacroWriteSize);
        std::copy_n(from, kMacroWriteSize, buffer.begin());
        whole &= writeBlockWhole(u16(kMacroAddress + half * kMacroWriteSize), u16(kMacroWriteSize),
                                 buffer);
    }
    return whole;
}

const ParamLayout* ReadWriteCycle::writableLayout() const {
    if (mouseMemory_ != MouseReadState::Read) return nullptr;
    return paramLayout(link_.deviceVariant());
}

WriteResult ReadWriteCycle::DownloadParameter() {
    const ParamLayout* layout = writableLayout();
    if (!layout) return WriteResult::Refused;
    const int variant = link_.deviceVariant();
    prepareTransfer(true);

    // Commits every edit box first, so an empty or unreadable field never reaches the mouse.
    UIToDataBuf(pages_, variant, data_);
    SetParameterChecksum(data_, *layout);
    FireKeyAndFireKeyModeToDataBuf(pages_.buttons, data_);
    SetProfileChecksum(data_);
    copyDataBufToImages(data_, variant, images_);

    ui_.showBusy();
    ui_.pump();
    ui_.applyPointerSettings();

    const bool withMacros = macroDirty_ && macroSupport();
    bool whole = false;
    const Bracket bracket = exchange([&] { whole = writeImages(*layout, withMacros); });
    endTransfer();

    // Macro changes that did not reach the mouse stay pending for the next write.
    if (!withMacros || (bracket == Bracket::Done && whole)) macroDirty_ = false;
    const WriteResult result = finishWrite(bracket, whole);
    if (result == WriteResult::Written) applied_ = settingsFromPages();
    return result;
}

WriteResult ReadWriteCycle::DefaultParameter() {
    const ParamLayout* layout = writableLayout();
    if (!layout) return WriteResult::Refused;
    const int variant = link_.deviceVariant();
    prepareTransfer(true);

    loadDefaultImage();
    copyDefaultsToImages(variant);
    ui_.clearMacroTexts();
    if (macroSupport()) {
        images_.macroArea.bytes = defaults_.macroArea;
        macroAreaChanged();
    }
    ui_.showBusy();
    ui_.pump();
    refreshPages();

    bool whole = false;
    const Bracket bracket = exchange([&] { whole = writeImages(*layout, macroSupport()); });
    endTransfer();
    const WriteResult result = finishWrite(bracket, whole);
    if (result == WriteResult::Written) applied_ = settingsFromPages();
    return result;
}

WriteResult ReadWriteCycle::WriteImagesAsTheyStand() {
    const ParamLayout* layout = writableLayout();
    if (!layout) return WriteResult::Refused;
    prepareTransfer(true);
    bool whole = false;
    const Bracket bracket = exchange([&] { whole = writeImages(*layout, macroSupport()); });
    if (macroSupport()) macroAreaChanged();
    refreshPages();
    endTransfer();
    const WriteResult result = finishWrite(bracket, whole);
    if (result == WriteResult::Written) applied_ = settingsFromPages();
    return result;
}

int ReadWriteCycle::deviceVariant() const { return link_.deviceVariant(); }

WriteResult ReadWriteCycle::writeDeviceMacros(const std::function<void()>& refreshCodes) {
    macroDirty_ = true;
    if (!writableLayout()) return WriteResult::Refused;
    prepareTransfer(false);
    bool whole = false;
    const Bracket bracket = exchange([&] {
        if (refreshCodes) refreshCodes();
        SetProfileChecksum(data_);
        std::copy_n(data_.begin() + databuf::kProfileStart, databuf::kProfileLength,
                    images_.profile.bytes.begin());
        whole = writeBlockWhole(kProfileAddress, u16(profile_block::kSize), images_.profile.bytes);
        if (macroSupport()) whole &= writeMacroArea();
    });
    endTransfer();
    if (bracket == Bracket::Done && whole) {
        macroDirty_ = false;
        applied_.profile.assign(images_.profile.bytes.begin(), images_.profile.bytes.end());
    }
    return finishWrite(bracket, whole);
}

ReadWriteCycle::SettingsBlocks ReadWriteCycle::settingsFromPages() {
    SettingsBlocks blocks;
    const int variant = link_.deviceVariant();
    const ParamLayout* layout = paramLayout(variant);
    if (!layout) return blocks;
    // As DownloadParameter builds them, on copies of the buffer, the images and the pages:
    // neither the mouse nor what is known of it changes. The fields are committed as Apply
    // would, on the copies: a field keeps what it shows until the owner leaves it or applies.
    SensitivityModel sensitivity = pages_.sensitivity;
    LightModel light = pages_.light;
    ButtonModel buttons = pages_.buttons;
    const PageModels pages{sensitivity, light, buttons};
    DataBuf data = data_;
    UIToDataBuf(pages, variant, data);
    SetParameterChecksum(data, *layout);
    FireKeyAndFireKeyModeToDataBuf(buttons, data);
    SetProfileChecksum(data);
    DeviceImages images = images_;
    copyDataBufToImages(data, variant, images);
    const auto param = std::as_const(images).param(*layout);
    blocks.param.assign(param.begin(), param.end());
    blocks.profile.assign(images.profile.bytes.begin(), images.profile.bytes.end());
    return blocks;
}

bool ReadWriteCycle::hasUnappliedChanges() {
    if (!writableLayout()) return false;
    if (macroDirty_ && macroSupport()) return true;
    return settingsFromPages() != applied_;
}

WriteResult ReadWriteCycle::finishWrite(Bracket bracket, bool whole) {
    switch (bracket) {
        case Bracket::NotOpened:
            return WriteResult::NotOpened;
        case Bracket::NotReady:
            return WriteResult::NotReady;
        case Bracket::Done:
            break;
    }
    if (whole) return WriteResult::Written;
    ui_.reportIncompleteWrite();
    return WriteResult::Incomplete;
}

}  // namespace kvr
