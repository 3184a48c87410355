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
#include "wait_floor.h"

namespace {

using namespace kvr;
using bench::median;
using bench::ratioOf;

class NoWindow final : public PresenceHandler {
public:
    void noDeviceFound() override {}
    void readDevInfo() override {}
    void wrongVariant() override {}
};

constexpr int kRepeats = 5;

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
