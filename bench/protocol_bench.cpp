// Block transfers through the real protocol against the emulated mouse with real waits. Prints
// each case's time as a ratio to the floor the handshake fixes: 5 ms before every set and 5 ms
// before every poll.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"

namespace {

using namespace kvr;

class NoWindow final : public PresenceHandler {
public:
    void noDeviceFound() override {}
    void readDevInfo() override {}
    void wrongVariant() override {}
};

constexpr int kRepeats = 5;

double ratioOf(EmulatedMouse& mouse, const std::function<bool()>& transfer) {
    mouse.clearWireLog();
    const auto start = std::chrono::steady_clock::now();
    if (!transfer()) return -1;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Every entry of the log, set or poll, had its 5 ms wait before it.
    const auto floor = std::chrono::milliseconds(5) * mouse.wireLog().size();
    return std::chrono::duration<double>(elapsed) / std::chrono::duration<double>(floor);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    VirtualBus bus;
    auto mouse = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, "/dev/hidraw-bench");
    SleepPacer pacer;
    NoWindow window;
    DeviceLink link(bus, pacer, window);
    if (!link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1)) {
        std::fprintf(stderr, "the emulated mouse did not open\n");
        return 1;
    }
    CommandProtocol protocol(link, pacer);
    std::array<std::uint8_t, 258> buffer{};

    struct Case {
        const char* name;
        std::function<bool()> transfer;
    };
    const Case cases[] = {
        {"read_256", [&] { return protocol.ReadBlock(512, 256, buffer, 256); }},
        {"write_256", [&] { return protocol.WriteBlock(512, 256, buffer); }},
    };
    int failures = 0;
    for (const Case& c : cases) {
        std::vector<double> ratios;
        for (int i = 0; i < kRepeats; ++i) ratios.push_back(ratioOf(*mouse, c.transfer));
        const double ratio = median(ratios);
        if (ratio < 0) ++failures;
        std::printf("%s ratio=%.4f\n", c.name, ratio);
    }
    return failures == 0 ? 0 : 1;
}
