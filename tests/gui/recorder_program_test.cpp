// The real program on a private X server records a key and a mouse click made while another
// window has the focus, and compiles them into the chosen macro of its "Macro.bin".
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "window_fixture.h"
// After Qt's headers: it brings Xlib's.
#include "program_driver.h"

namespace kvr {
namespace {

// The events of a library record, delays left out, each as its hex digits ("8204", "A2").
// The record is a 16-byte name, then the length byte L and L - 1 event bytes.
QStringList macroEvents(const QByteArray& library, int slot) {
    if (library.size() < 272 * (slot + 1)) return {};
    const QByteArray content = library.mid(272 * slot + 16, 256);
    const int length = quint8(content[0]);
    QStringList events;
    for (int p = 1; p < length && p < 255;) {
        const quint8 b = quint8(content[p]);
        const int size = (b == 0xFE || (b & 0x7F) == 0x01 || (b & 0x7F) == 0x02) ? 2 : 1;
        if (b != 0xFE) events << QString(content.mid(p, size).toHex().toUpper());
        p += size;
    }
    return events;
}

// Waits for `done` while the folder or the file changes; the file system's notices drive it.
template <typename Pred>
bool waitForFile(const QString& file, Pred done, std::chrono::milliseconds limit) {
    QFileSystemWatcher watcher;
    watcher.addPath(QFileInfo(file).absolutePath());
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, &QEventLoop::quit);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(limit);
    while (!done()) {
        // A file replaced by a new one leaves the watch; it is watched again here.
        if (watcher.files().isEmpty() && QFile::exists(file)) watcher.addPath(file);
        if (!timeout.isActive()) return false;
        loop.exec();
    }
    return true;
}

// The real program, on a copy of itself in a folder of its own, records while another window has
// the focus; `act` makes the input. The recorded events, delays left out, once the library holds
// them.
class RecorderProgram : public test::WindowTest {
protected:
    QStringList recordInAnotherWindow(const std::function<void(test::XdoTool&, Window)>& act) {
        // The program keeps "Macro.bin" beside itself: a copy in a folder of its own keeps the
        // build folder's library untouched.
        QTemporaryDir dir;
        if (!dir.isValid()) return {"no folder"};
        const QString binary = dir.filePath("kvr5507");
        if (!QFile::copy(QStringLiteral(KVR5507_BINARY), binary)) return {"no copy"};
        QFile(binary).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ExeOwner);
        const QString library = dir.filePath("Macro.bin");
        const QString mouse = dir.filePath("mouse.bin");
        if (!test::writeFactoryMouseFile(mouse)) return {"no mouse file"};
        test::XvfbServer x;
        if (!x.ok()) return {"Xvfb could not be started"};
        QProcess program;
        const Window w = test::startOnMouseFile(program, x, binary, mouse);
        if (w == 0) return {"the program did not start"};
        struct Ending {
            QProcess& program;
            ~Ending() {
                program.kill();
                program.waitForFinished();
            }
        } ending{program};

        // Another window to take the focus while recording.
        Display* d = x.display();
        const Window other =
            XCreateSimpleWindow(d, DefaultRootWindow(d), 700, 600, 100, 80, 0, 0, 0);
        XStoreName(d, other, "other");
        XSelectInput(d, other, StructureNotifyMask);
        XMapWindow(d, other);
        if (!x.waitUntil([&] { return x.isViewable(other); }, std::chrono::seconds(10)))
            return {"the other window did not show"};

        // The same window laid out here tells where the page button, the list and Record lie.
        const QPoint macroButton = test::centreOf(find("Btn_Macro_1"));
        window->Btn_Macro_0Click();
        const QPoint record = test::centreOf(find("Btn_Start"));
        // The program's list holds the library it made beside itself, scrolled to its last
        // entry; the same rows here tell which entry lies under the list's top row.
        auto* list = qobject_cast<QListWidget*>(find("LB_PCMacroName"));
        const QByteArray made = test::readFile(library);
        if (!list || made.size() != 27200) return {"no library beside the program"};
        list->clear();
        // An entry is in use when either of its name's first two bytes is not zero.
        for (int s = 0; s < 100 && (made[272 * s] != 0 || made[272 * s + 1] != 0); ++s)
            list->addItem("entry");
        list->scrollToBottom();
        const QPoint inList(20, 8);
        const int slot = list->indexAt(inList).row();
        if (slot < 0) return {"no entry under the top row"};
        const QPoint topRow = list->viewport()->mapTo(list->window(), inList);

        auto recorded = [&] { return macroEvents(test::readFile(library), slot); };
        // The entry holds a ready-made macro until the recording replaces it.
        const QStringList before = recorded();
        test::XdoTool xdo(x.displayName());
        if (!xdo.pointAt(w, macroButton, true) || !xdo.pointAt(w, topRow, true) ||
            !xdo.pointAt(w, record, true))
            return {"xdotool failed"};
        // The program has taken the click on Record: the recording observes the desktop from now.
        if (!x.roundTrip(w, std::chrono::seconds(10))) return {"no answer from the program"};
        XSetInputFocus(d, other, RevertToParent, CurrentTime);
        XSync(d, False);
        act(xdo, other);
        // Back over Record to stop: neither this click nor the one that started is recorded.
        if (!xdo.pointAt(w, record, true)) return {"xdotool failed"};
        if (!waitForFile(library, [&] { return recorded() != before; }, std::chrono::seconds(10)))
            return {"the library was not written"};
        return recorded();
    }
};

TEST_F(RecorderProgram, KeyAndClickMadeInAnotherWindowAreCompiledIntoTheLibraryFile) {
    const QStringList events = recordInAnotherWindow([](test::XdoTool& xdo, Window other) {
        EXPECT_TRUE(xdo.run({"key", "a"}));
        EXPECT_TRUE(xdo.run({"mousemove", "--sync", "--window", QString::number(other), "50",
                             "40", "click", "3"}));
    });
    EXPECT_EQ(events, QStringList({"8204", "0204", "A2", "22"}));
}

TEST_F(RecorderProgram, AChordTypedByAnotherClientHoldsEachPressAndReleaseOnce) {
    // xdotool releases Ctrl and Shift again after they are up; the desktop saw each once.
    const QStringList events = recordInAnotherWindow([](test::XdoTool& xdo, Window other) {
        EXPECT_TRUE(xdo.run({"key", "ctrl+shift+a"}));
        // Off Record, so that the pointer moves back onto it to stop.
        EXPECT_TRUE(
            xdo.run({"mousemove", "--sync", "--window", QString::number(other), "50", "40"}));
    });
    EXPECT_EQ(events, QStringList({"8101", "8102", "8204", "0102", "0101", "0204"}));
}

}  // namespace
}  // namespace kvr
