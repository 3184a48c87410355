#pragma once
// A found and read factory mouse with macro memory behind the program's mouse stack (the
// read/write cycle and the device macro table over its macro area), and the expected-request
// builders that compose what a
// transfer of a region must send, from the memory map.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/resources.h"
#include "cycle/mouse_stack.h"
#include "device/device_fixture.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "support/english_texts.h"

namespace kvr::test {

using Requests = std::vector<CommandReport>;

// The window's side of a transfer, as a list of calls.
class CallListUi final : public TransferUi {
public:
    void hideAllMenu() override { calls.emplace_back("hideAllMenu"); }
    void setPresenceTimerEnabled(bool on) override {
        calls.emplace_back(on ? "timerOn" : "timerOff");
    }
    void showInputShields() override { calls.emplace_back("showShields"); }
    void hideInputShields() override { calls.emplace_back("hideShields"); }
    void showBusy() override { calls.emplace_back("showBusy"); }
    void hideBusy() override { calls.emplace_back("hideBusy"); }
    void pump() override {}
    void showIdentityError() override { calls.emplace_back("identityError"); }
    void showWrongVariant() override { calls.emplace_back("wrongVariant"); }
    void refreshErrorAP() override {}
    void showMacroButtons() override {}
    void refreshPcMacroNames() override {}
    void refreshDeviceMacroList() override {
        calls.emplace_back("refreshDeviceMacroList");
        if (onRefreshDeviceMacroList) onRefreshDeviceMacroList();
    }
    void refreshPointerSettings() override {}
    void applyPointerSettings() override {}
    void clearMacroTexts() override {}
    void showFirstPage() override { calls.emplace_back("showFirstPage"); }
    void showMainPageAfterRead() override {}
    void reportIncompleteWrite() override { calls.emplace_back("incompleteWrite"); }

    std::vector<std::string> calls;
    // What the window's list would read when it is redrawn.
    std::function<void()> onRefreshDeviceMacroList;
};

inline void addCommand(Requests& r, std::uint8_t command) { r.push_back(report({4, command})); }

inline void addRange(Requests& r, std::uint8_t start, std::uint8_t next, std::uint16_t address,
                     std::uint16_t length, std::span<const std::uint8_t> bytes) {
    r.push_back(
        report({4, start, static_cast<std::uint8_t>(address & 0xFF),
                static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(length & 0xFF),
                static_cast<std::uint8_t>(length >> 8)}));
    for (std::size_t i = 0; i < chunkCount(length); ++i) {
        CommandReport chunk = report({4, next});
        for (std::size_t b = 0; b < kChunkSize && start == WriteStartCmd; ++b) {
            const std::size_t at = i * kChunkSize + b;
            chunk.bytes[2 + b] = at < bytes.size() ? bytes[at] : 0;
        }
        r.push_back(chunk);
    }
}

inline void addRead(Requests& r, std::uint16_t address, std::uint16_t length) {
    addRange(r, ReadStartCmd, ReadNextCmd, address, length, {});
}

// `bytes` are the chunks' data; padding past them is 0.
inline void addWrite(Requests& r, std::uint16_t address, std::uint16_t length,
                     std::span<const std::uint8_t> bytes) {
    addRange(r, WriteStartCmd, WriteNextCmd, address, length, bytes);
}

class MacroCycleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(image.size(), 585u); }

    // Start-up, then the mouse arrives, is opened and read.
    void connectAndRead() {
        cycle.InitNoDevice();
        plugMouse(bus, mouse, kMousePath);
        link.DevTimerTimer();
        ASSERT_TRUE(link.hasDevice());
        ASSERT_EQ(cycle.ReadDevInfo(), DevInfoResult::Read);
        clearRecords();
    }
    void clearRecords() {
        mouse->clearWireLog();
        ui.calls.clear();
    }

    Requests requests() const { return mouse->requests(); }
    std::span<std::uint8_t> memory(std::size_t at, std::size_t length) {
        return mouse->memory().subspan(at, length);
    }
    // The bracket of a macro write: profile block, both halves of the macro area.
    Requests macroWrite() {
        Requests r;
        addCommand(r, BeginCmd);
        addCommand(r, StatusCmd);
        addWrite(r, 64, 28, memory(64, 30));
        addWrite(r, 512, 256, memory(512, 256));
        addWrite(r, 768, 256, memory(768, 256));
        addCommand(r, SystemReloadCmd);
        addCommand(r, EndCmd);
        return r;
    }

    static std::vector<std::uint8_t> builtInImage() {
        const auto resource = findResource(kDefaultImageResource);
        if (!resource) return {};
        return {resource->begin(), resource->end()};
    }

    std::vector<std::uint8_t> image = builtInImage();
    std::shared_ptr<EmulatedMouse> mouse = std::make_shared<EmulatedMouse>();
    VirtualBus bus;
    VirtualPacer pacer;
    RecordingPresence presence;
    CallListUi ui;
    MouseStack stack{{bus, pacer, presence, ui, englishLookup()}, image};
    DeviceLink& link = stack.link();
    SensitivityModel& sensitivity = stack.sensitivity();
    LightModel& light = stack.light();
    ButtonModel& buttons = stack.buttons();
    ReadWriteCycle& cycle = stack.cycle();
    DeviceMacros& macros = stack.deviceMacros();
};

}  // namespace kvr::test
