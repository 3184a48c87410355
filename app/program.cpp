#include "app/program.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/busy_window.h"
#include "app/dialogs.h"
#include "app/event_loop_pacer.h"
#include "app/instance_finder.h"
#include "app/main_window.h"
#include "device/hid_backend.h"

namespace kvr {

int runProgram(QApplication& app, const CommandLine& options) {
    const bool screenshot = !options.screenshotFile.empty();
    std::unique_ptr<InstanceFinder> finder = makePlatformInstanceFinder();
    // A screenshot run shows no window to anybody, so it may run beside the program.
    if (!screenshot && finder->raiseExisting(kMainWindowTitle)) return 0;

    app.setApplicationName(kApplicationTitle);
    app.setApplicationDisplayName(kApplicationTitle);
    app.setQuitOnLastWindowClosed(false);

    EventLoopPacer pacer;
    QtDialogs qtDialogs;
    StderrDialogs stderrDialogs;
    Dialogs& dialogs = screenshot ? static_cast<Dialogs&>(stderrDialogs) : qtDialogs;

    std::unique_ptr<HidBackend> hid;  // set below
    (void)hid;
    (void)dialogs;
    return 0;
}

}  // namespace kvr
