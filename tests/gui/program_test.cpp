// The real program, started as the owner starts it.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "x11_session.h"

namespace kvr {
namespace {

const QString kTitle = "KVR5507 Gaming Mouse v1.0";

QString programPath() { return QStringLiteral(KVR5507_BINARY); }

TEST(Program, SecondStartRaisesTheFirstWindowAndCreatesNone) {
    test::XvfbServer x;
    ASSERT_TRUE(x.ok()) << "Xvfb could not be started";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.displayName());
    env.insert("QT_QPA_PLATFORM", "xcb");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(programPath(), {});
    ASSERT_TRUE(first.waitForStarted());
    Window w = 0;
    ASSERT_TRUE(x.waitUntil([&] { return (w = x.findWindowTitled(kTitle)) && x.isViewable(w); },
                            std::chrono::seconds(20)));

    // Without a window manager, hiding the window is what minimising looks like to the X server.
    XUnmapWindow(x.display(), w);
    ASSERT_TRUE(x.waitUntil([&] { return !x.isViewable(w); }, std::chrono::seconds(5)));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(programPath(), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(x.waitUntil([&] { return x.isViewable(w); }, std::chrono::seconds(5)));
    EXPECT_EQ(x.countWindowsTitled(kTitle), 1);

    first.kill();
    first.waitForFinished();
}

TEST(Program, ScreenshotWritesTheWholeWindowAsPng) {
    QTemporaryDir dir;
    const QString file = dir.filePath("window.png");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(programPath(), {"--emulate", "--screenshot", file});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(800, 600));
}

TEST(Program, RefusesUnknownOptionsWithUsage) {
    QProcess p;
    p.start(programPath(), {"--no-such-option"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--emulate"));
}

TEST(Program, DiagnoseDescribesTheMouseInterfacesWithoutAWindow) {
    QProcess p;
    p.start(programPath(), {"--diagnose"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QByteArray out = p.readAllStandardOutput();
    // Without a usable mouse it says why and fails; with one it lists the interfaces.
    if (p.exitCode() == 1) {
        EXPECT_TRUE(out.contains("No KVR5507 mouse found") || out.contains("does not open") ||
                    out.contains("No interface of the mouse"))
            << out.toStdString();
    } else {
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(out.contains("opens")) << out.toStdString();
    }
}

}  // namespace
}  // namespace kvr
