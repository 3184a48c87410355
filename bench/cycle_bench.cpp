// The identity check and full read of a mouse with macros, and an Apply, through the real
// protocol against the emulated mouse with real waits. Prints each case's time as a ratio to the
// floor the handshake fixes: 5 ms before every set and 5 ms before every poll. Then the same read
// and an Apply in the real window (offscreen), with a 5 ms timer beside them: the largest gap
// between two of its ticks is how long the window could not paint (`stall_ms`).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "base/resources.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "wait_floor.h"
#include "cycle/read_write_cycle.h"
#include "gui/busy_window.h"
#include "gui/desktop_services.h"
#include "gui/dialogs.h"
#include "gui/event_loop_pacer.h"
#include "gui/main_window.h"
#include "settings/memory_pointer_store.h"

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

// The largest gap, in milliseconds, between two ticks of a 5 ms timer while the window reads a
// mouse whole and then applies its settings; negative when the mouse did not open.
double largestStallMs(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen screen has no window manager to raise or shape windows: that is expected.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith("This plugin does not support"))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    VirtualBus bus;
    auto mouse = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, "/dev/hidraw-stall");
    EventLoopPacer pacer;
    StderrDialogs dialogs;
    QtDesktopServices desktop;
    MemoryPointerStore pointer;
    MainWindow window(AppServices{bus, pacer, dialogs, desktop, pointer});
    window.presenceTimer().stop();
    BusyWindow busy(window, BusyWindow::FrameSource{});
    window.setBusyWindow(&busy);
    window.show();

    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> last;
    double worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        if (last) worst = std::max(worst, std::chrono::duration<double, std::milli>(now - *last).count());
        last = now;
    });
    bool opened = false;
    // Both transfers start from the running loop, as a presence tick and a click do.
    QTimer::singleShot(50, [&] {
        window.DevTimerTimer();
        opened = window.mouseOpen();
        if (opened) window.Btn_Apply_0Click();
        app.quit();
    });
    ticker.start(5);
    app.exec();
    return opened ? worst : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto image = findResource(kDefaultImageResource);
    if (!image) {
        std::fprintf(stderr, "the default image is missing\n");
        return 1;
    }
    VirtualBus bus;
    auto mouse = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, "/dev/hidraw-bench");
    SleepPacer pacer;
    NoWindow window;
    DeviceLink link(bus, pacer, window);
    CommandProtocol protocol(link, pacer);

    SensitivityModel sensitivity(levelText);
    LightModel light;
    ButtonModel buttons;
    const CodeNaming naming{.texts = levelText, .macroNameAt = {}};
    ReadWriteCycle cycle(*image, link, protocol, PageModels{sensitivity, light, buttons}, naming,
                         window);
    link.setImageVariant(cycle.imageVariant());
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
    const double stall = largestStallMs(argc, argv);
    if (stall < 0) {
        std::fprintf(stderr, "the window did not open the emulated mouse\n");
        ++failures;
    }
    std::printf("stall_ms value=%.1f\n", stall);
    return failures == 0 ? 0 : 1;
}
