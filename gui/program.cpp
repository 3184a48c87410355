#include "gui/program.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "gui/busy_window.h"
#include "gui/desktop_services.h"
#include "gui/dialogs.h"
#include "gui/event_loop_pacer.h"
#include "gui/images/gif_animation.h"
#include "gui/images/pictures.h"
#include "gui/instance_finder.h"
#include "gui/main_window.h"
#include "gui/pages/macro_page.h"
#include "gui/skin.h"
#include "device/emulated_mouse.h"
#include "device/hidapi_backend.h"
#include "device/memory_file.h"
#include "device/virtual_bus.h"
#include "macros/library_place.h"
#include "settings/desktop_pointer_store.h"

namespace kvr {

namespace {

std::vector<AnimationFrame> busyAnimation(Dialogs& dialogs) {
    std::vector<AnimationFrame> frames;
    auto data = findPicture("WaitGif");
    if (!data) {
        dialogs.error("The built-in busy animation is missing.");
        return frames;
    }
    auto gif = decodeGif(*data);
    if (!gif) {
        dialogs.error("The built-in busy animation is damaged.");
        return frames;
    }
    for (GifFrame& f : gif->frames) frames.push_back({toQImage(std::move(f.image)), f.delayMs});
    return frames;
}

// Demo mode: the emulated mouse on a virtual bus, its memory kept in a file when one is given.
struct EmulatedSetup {
    VirtualBus bus;
    std::shared_ptr<EmulatedMouse> mouse;
};

std::unique_ptr<EmulatedSetup> plugEmulatedMouse(const MouseMemory& memory, const std::string& file,
                                                 Dialogs& dialogs) {
    auto setup = std::make_unique<EmulatedSetup>();
    setup->mouse = std::make_shared<EmulatedMouse>(1, memory);
    if (!file.empty()) {
        bindMemoryFile(*setup->mouse, file, [&dialogs](const std::string& message) {
            dialogs.error(QString::fromStdString(message));
        });
    }
    plugMouse(setup->bus, setup->mouse, "emulated:kvr5507");
    return setup;
}

// The window as the desktop shows it: the see-through colour is left out.
QImage windowPicture(QWidget& window) {
    QImage shot = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (window.mask().isEmpty()) return shot;
    QPainter painter(&shot);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QRect& r : QRegion(shot.rect()).subtracted(window.mask()))
        painter.fillRect(r, Qt::transparent);
    return shot;
}

}  // namespace

int runProgram(QApplication& app, const CommandLine& options) {
    // The emulated mouse's file is the user's: one that cannot hold its memory ends the start
    // before any window, untouched.
    MouseMemory emulatedMemory = factoryMemory();
    if (options.emulate && !options.emulateFile.empty()) {
        MemoryFileOpen opened = openMemoryFile(options.emulateFile);
        if (!opened.ok()) {
            std::fprintf(stderr, "kvr5507: --emulate: %s\n", opened.message.c_str());
            return 2;
        }
        emulatedMemory = opened.memory;
    }

    const bool screenshot = !options.screenshotFile.empty();
    std::unique_ptr<InstanceFinder> finder = makePlatformInstanceFinder();
    // A screenshot run shows no window to anybody, so it may run beside the program.
    if (!screenshot && finder->raiseExisting(kMainWindowTitle)) return 0;

    app.setApplicationName(kApplicationTitle);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    EventLoopPacer pacer;
    QtDialogs qtDialogs;
    StderrDialogs stderrDialogs;
    Dialogs& dialogs = screenshot ? static_cast<Dialogs&>(stderrDialogs) : qtDialogs;
    QtDesktopServices desktop;

    std::unique_ptr<EmulatedSetup> emulated;
    std::unique_ptr<HidapiBackend> hidapi;
    HidBackend* hid = nullptr;
    if (options.emulate) {
        emulated = plugEmulatedMouse(emulatedMemory, options.emulateFile, dialogs);
        hid = &emulated->bus;
    } else {
        hidapi = std::make_unique<HidapiBackend>();
        hid = hidapi.get();
    }

    const std::unique_ptr<PointerSettingsStore> pointer = makeDesktopPointerStore();
    MainWindow window(AppServices{*hid, pacer, dialogs, desktop, *pointer});
    // "Macro.bin" in the user's data folder, or beside a copy of the program the user owns.
    const std::filesystem::path dataHome = userDataHome();
    window.macroPage().useLibraryFile(settleLibrary(
        pcMacroLibraryPath(QCoreApplication::applicationDirPath().toStdString(), dataHome),
        dataHome));
    qtDialogs.setParent(&window);
    BusyWindow busy(window, [&dialogs] { return busyAnimation(dialogs); });
    window.setBusyWindow(&busy);

    if (screenshot) {
        // Start-up, then the first presence tick at once, then the picture.
        window.presenceTimer().stop();
        window.show();
        window.DevTimerTimer();
        const QImage shot = windowPicture(window);
        if (!shot.save(QString::fromStdString(options.screenshotFile), "PNG")) {
            std::fprintf(stderr, "kvr5507: cannot write %s\n", options.screenshotFile.c_str());
            return 1;
        }
        return 0;
    }

    window.show();
    finder->announce(&window, kMainWindowTitle);
    return app.exec();
}

}  // namespace kvr
