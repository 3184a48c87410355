// The real program with the emulated mouse kept in a file, driven by pointer moves and clicks
// on a private X server: a function chosen from the button menu reaches the file with Apply.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "buttons/button_page.h"
#include "params/checksum.h"
#include "window_fixture.h"
#include "x11_session.h"

namespace kvr {
namespace {

const QString kTitle = "KVR5507 Gaming Mouse v1.0";

class Pointer {
public:
    Pointer(const QString& display, Window window) : window_(window) {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display);
    }
    // Moves the pointer to a point of the window, and clicks there when asked.
    bool at(QPoint p, bool click) {
        QStringList args = {"mousemove", "--sync", "--window", QString::number(window_),
                            QString::number(p.x()), QString::number(p.y())};
        if (click)
            args << "click"
                 << "1";
        QProcess xdotool;
        xdotool.setProcessEnvironment(env_);
        xdotool.start("xdotool", args);
        return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
    }

private:
    QProcessEnvironment env_;
    Window window_;
};

// Where a control lies in the window.
QPoint centreOf(const QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

using ButtonPageProgram = test::WindowTest;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(ButtonPageProgram, VolumePlusChosenByMouseIsWrittenIntoTheMouseFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath("mouse.bin");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const MouseMemory memory = factoryMemory();
        f.write(reinterpret_cast<const char*>(memory.data()), qint64(memory.size()));
    }

    test::XvfbServer x;
    ASSERT_TRUE(x.ok()) << "Xvfb could not be started";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.displayName());
    env.insert("QT_QPA_PLATFORM", "xcb");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KVR5507_BINARY), {"--emulate=" + file});
    ASSERT_TRUE(program.waitForStarted());
    Window w = 0;
    ASSERT_TRUE(x.waitUntil([&] { return (w = x.findWindowTitled(kTitle)) && x.isViewable(w); },
                            std::chrono::seconds(20)));
    // The busy window is made at the first transfer, the read of the mouse found at the first
    // presence tick; once it is hidden again the mouse is open.
    ASSERT_TRUE(x.waitUntil(
        [&] {
            const Window busy = x.findWindowTitled("FormLoadingUI");
            return busy && !x.isViewable(busy);
        },
        std::chrono::seconds(30)));

    // The same window laid out here tells where the label, the menu entries and Apply lie.
    ButtonPage& page = window->buttonPage();
    const QPoint key2 = centreOf(find("Key2"));
    page.ShowPnlMain_OnClick(2);
    const QPoint media = centreOf(find("Key_Media"));
    page.KeyByTagMouseEnter("Key_Media");
    const QPoint volumePlus = centreOf(find("Key_VolumePlus"));
    const QPoint apply = centreOf(find("Btn_Apply_1"));

    auto written = [&] {
        const QByteArray m = readFile(file);
        return m.size() == 1024 && quint8(m[67]) == 0x03 && quint8(m[68]) == 0x00 &&
               quint8(m[69]) == 0xE9;
    };
    // A busy machine may map a just-opened menu after the next pointer event has gone by, as
    // a hurried hand would miss it; the owner then simply does it again.
    Pointer pointer(x.displayName(), w);
    bool done = false;
    for (int attempt = 0; attempt < 3 && !done; ++attempt) {
        ASSERT_TRUE(pointer.at(key2, true));
        ASSERT_TRUE(pointer.at(media, false));
        ASSERT_TRUE(pointer.at(volumePlus, true));
        ASSERT_TRUE(pointer.at(apply, true));
        done = x.waitUntil(written, std::chrono::seconds(10));
    }
    EXPECT_TRUE(done);
    const QByteArray m = readFile(file);
    ASSERT_EQ(m.size(), 1024);
    const auto* profile = reinterpret_cast<const std::uint8_t*>(m.constData()) + 64;
    EXPECT_EQ(blockChecksum({profile, 27}), profile[27]);

    program.kill();
    program.waitForFinished();
}

}  // namespace
}  // namespace kvr
