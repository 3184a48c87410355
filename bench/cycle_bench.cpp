// The identity check and full read of a mouse with macros, and an Apply, through the real
// protocol against the emulated mouse with real waits. Prints each case's time as a ratio to the
// floor the handshake fixes: 5 ms before every set and 5 ms before every poll.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cycle/mouse_stack.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "wait_floor.h"

namespace {

using namespace kvr;
using bench::median;
using bench::ratioOf;

class NoWindow final : public PresenceHandler, public HeadlessTransferUi {
public:
    void noDeviceFound() override {}
    void readDevInfo() override {}
    void wrongVariant() override {}
};

// The level texts the sensitivity page matches its captions against.
std::string levelText(std::string_view key) {
    static const char* const kTexts[] = {"500",  "800",  "1600", "1200",
                                         "2400", "2400", "3200", "4000"};
    if (key.size() == 6 && key.starts_with("Str30") && key[5] >= '0' && key[5] <= '7') {
        return kTexts[key[5] - '0'];
    }
    return {};
}

constexpr int kRepeats = 3;

}  // namespace

int main() {
    VirtualBus bus;
    auto mouse = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, "/dev/hidraw-bench");
    SleepPacer pacer;
    NoWindow window;
    MouseStack stack({bus, pacer, window, window, levelText});
    if (!stack.hasDefaultImage()) {
        std::fprintf(stderr, "the default image is missing\n");
        return 1;
    }
    DeviceLink& link = stack.link();
    ReadWriteCycle& cycle = stack.cycle();
    cycle.InitNoDevice();
    // The presence tick finds and opens the mouse (after its real settle time).
    link.DevTimerTimer();
    if (link.deviceVariant() != cycle.imageVariant()) {
        std::fprintf(stderr, "the emulated mouse did not open\n");
        return 1;
    }

    struct Case {
        const char* name;
        std::function<bool()> transfer;
    };
    const Case cases[] = {
        {"identity_and_read_with_macros",
         [&] { return cycle.ReadDevInfo() == DevInfoResult::Read; }},
        {"apply", [&] { return cycle.DownloadParameter() == WriteResult::Written; }},
    };
    int failures = 0;
    for (const Case& c : cases) {
        std::vector<double> ratios;
        for (int i = 0; i < kRepeats; ++i) ratios.push_back(ratioOf(*mouse, c.transfer));
        const double ratio = median(ratios);
        if (std::ranges::any_of(ratios, [](double r) { return r < 0; })) ++failures;
        std::printf("%s ratio=%.4f\n", c.name, ratio);
    }
    return failures == 0 ? 0 : 1;
}
