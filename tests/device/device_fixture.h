#pragma once
// A mouse with the factory memory on a virtual bus, the link and the protocol over it, and a
// window stand-in that records what the presence tick asks of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"

namespace kvr {

// Reports print as hexadecimal bytes in failure messages.
inline void PrintTo(const CommandReport& r, std::ostream* os) {
    for (std::uint8_t b : r.bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X ", b);
        *os << text;
    }
}

}  // namespace kvr

namespace kvr::test {

class RecordingPresence final : public PresenceHandler {
public:
    void noDeviceFound() override { record("noDeviceFound"); }
    void readDevInfo() override { record("readDevInfo"); }
    void wrongVariant() override { record("wrongVariant"); }
    bool awaitsRead() const override { return awaiting; }

    bool awaiting = false;
    std::vector<std::string> events;
    // Runs inside every reaction, while the tick is still under way.
    std::function<void()> during;

private:
    void record(const char* what) {
        events.emplace_back(what);
        if (during) during();
    }
};

inline constexpr const char* kMousePath = "/dev/hidraw-mouse";

// A HID interface that is not a mouse: a keyboard, say.
inline VirtualInterface otherDevice(const std::string& path, int featureLength = 0) {
    return {.info = {.path = path,
                     .vendorId = 0x046D,
                     .productId = 0xC31C,
                     .version = 0x0110,
                     .featureReportLength = featureLength},
            .openable = true,
            .device = nullptr};
}

class DeviceTest : public testing::Test {
protected:
    // Plugs the factory mouse and opens it, with a clean wire log and pacer record.
    void openMouse() {
        plugMouse(bus, mouse, kMousePath);
        ASSERT_TRUE(link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1));
        mouse->clearWireLog();
        pacer.clearRecord();
    }

    std::vector<CommandReport> requests() const { return mouse->requests(); }

    VirtualBus bus;
    std::shared_ptr<EmulatedMouse> mouse = std::make_shared<EmulatedMouse>();
    VirtualPacer pacer;
    RecordingPresence window;
    DeviceLink link{bus, pacer, window};
    CommandProtocol protocol{link, pacer};
};

// 04 <command> <b2..b7>
inline CommandReport report(std::initializer_list<std::uint8_t> bytes) {
    CommandReport r;
    std::size_t i = 0;
    for (std::uint8_t b : bytes) r.bytes.at(i++) = b;
    return r;
}

}  // namespace kvr::test
