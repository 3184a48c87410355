// Qt's headers before Xlib's, which the own header brings.
#include <QFile>
#include <QWidget>

#include "device/emulated_mouse.h"
#include "program_driver.h"

#include <cstdio>

namespace kvr::test {

namespace {
const QString kTitle = "KVR5507 Gaming Mouse v1.0";
}  // namespace

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFactoryMouseFile(const QString& path) {
    QFile f(path);
    const MouseMemory memory = factoryMemory();
    return f.open(QIODevice::WriteOnly) &&
           f.write(reinterpret_cast<const char*>(memory.data()), qint64(memory.size())) ==
               qint64(memory.size());
}

QPoint centreOf(const QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

Window startOnMouseFile(QProcess& program, XvfbServer& x, const QString& binary,
                        const QString& mouseFile) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.displayName());
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(binary, {"--emulate=" + mouseFile});
    if (!program.waitForStarted()) return 0;
    Window w = 0;
    if (!x.waitUntil([&] { return (w = x.findWindowTitled(kTitle)) && x.isViewable(w); },
                     std::chrono::seconds(20))) {
        // What the program said and whether it still runs tell a slow start from a stuck one.
        std::fprintf(stderr, "no window after 20 s; the program %s; it wrote: %s\n",
                     program.state() == QProcess::Running ? "still runs" : "has ended",
                     program.readAllStandardError().constData());
        return 0;
    }
    // The busy window is made at the first transfer, the read of the mouse found at the first
    // presence tick; once it has been shown and is hidden again, the mouse is open. The window
    // exists a moment before it is first shown, so having been shown is what counts.
    const bool read = x.waitUntil(
        [&] {
            const Window busy = x.findWindowTitled("FormLoadingUI");
            return busy && x.wasMapped(busy) && !x.isViewable(busy);
        },
        std::chrono::seconds(30));
    // The end of the read is handled, the pages open to clicks.
    return read && x.roundTrip(w, std::chrono::seconds(10)) ? w : 0;
}

ProgramOnFactoryMouse::ProgramOnFactoryMouse(const QString& binary)
    : file(dir.filePath("mouse.bin")) {
    if (writeFactoryMouseFile(file) && x.ok()) window = startOnMouseFile(program, x, binary, file);
}

ProgramOnFactoryMouse::~ProgramOnFactoryMouse() {
    program.kill();
    program.waitForFinished();
}

XdoTool::XdoTool(const QString& display) : env_(QProcessEnvironment::systemEnvironment()) {
    env_.insert("DISPLAY", display);
}

bool XdoTool::run(const QStringList& args) {
    QProcess xdotool;
    xdotool.setProcessEnvironment(env_);
    xdotool.start("xdotool", args);
    return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
}

bool XdoTool::pointAt(Window w, QPoint p, bool click) {
    QStringList args = {"mousemove", "--sync",  "--window", QString::number(w),
                        QString::number(p.x()), QString::number(p.y())};
    if (click) args << "click" << "1";
    return run(args);
}

}  // namespace kvr::test
