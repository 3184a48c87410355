// The real program, started as the owner starts it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

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

// The running program is found through its own socket, never by a window title: another
// program's window of the same title neither stops the start nor is raised.
TEST(Program, AnotherProgramsWindowOfTheSameTitleDoesNotStopTheStart) {
    test::XvfbServer x;
    ASSERT_TRUE(x.ok()) << "Xvfb could not be started";
    Display* d = x.display();
    const Window other = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 50, 50, 0, 0, 0);
    XStoreName(d, other, kTitle.toLocal8Bit().constData());
    XFlush(d);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.displayName());
    env.insert("QT_QPA_PLATFORM", "xcb");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(programPath(), {"--emulate"});
    ASSERT_TRUE(program.waitForStarted());
    Window mine = 0;
    ASSERT_TRUE(x.waitUntil(
        [&] {
            for (Window w : x.windowsTitled(kTitle)) {
                if (w != other && x.isViewable(w)) mine = w;
            }
            return mine != 0;
        },
        std::chrono::seconds(20)));
    EXPECT_FALSE(x.isViewable(other)) << "the other program's window is left as it was";

    program.kill();
    program.waitForFinished();
}

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program with the given environment changes; an empty value removes the variable.
Finished runProgram(const QStringList& args, const QList<std::pair<QString, QString>>& env) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) {
        if (value.isEmpty())
            e.remove(name);
        else
            e.insert(name, value);
    }
    QProcess p;
    p.setProcessEnvironment(e);
    p.start(programPath(), args);
    if (!p.waitForFinished(60000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

const QList<std::pair<QString, QString>> kNoDisplay = {
    {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
const QList<std::pair<QString, QString>> kOffscreen = {{"QT_QPA_PLATFORM", "offscreen"}};

TEST(Program, ScreenshotCreatesTheMissingMemoryFileAndLeavesTheSeeThroughColourOut) {
    QTemporaryDir dir;
    const QString file = dir.filePath("window.png");
    const QString memory = dir.filePath("mouse.bin");
    const Finished run = runProgram({"--emulate=" + memory, "--screenshot", file}, kOffscreen);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QFileInfo(memory).size(), 1024);
    QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(800, 600));
    ASSERT_TRUE(shot.hasAlphaChannel());
    // The maroon corner and the band under the background are not part of the window.
    EXPECT_EQ(qAlpha(shot.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(400, 590)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(400, 300)), 255);
}

TEST(Program, RefusesUnknownOptionsNamingThemAndTheHelp) {
    const Finished run = runProgram({"--no-such-option"}, kOffscreen);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err,
              "kvr5507: unknown option: --no-such-option\nRun with --help for more information.\n");
}

TEST(Program, HelpVersionAndDiagnoseNeedNoDisplay) {
    const Finished help = runProgram({"--help"}, kNoDisplay);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: kvr5507")) << help.out.toStdString();
    const Finished version = runProgram({"--version"}, kNoDisplay);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, "kvr5507 1.0\n");
    // Whether a mouse can be used depends on the machine; the answer never needs a display.
    const Finished diagnose = runProgram({"--diagnose"}, kNoDisplay);
    EXPECT_TRUE(diagnose.exitCode == 0 || diagnose.exitCode == 1) << diagnose.exitCode;
    EXPECT_FALSE((diagnose.exitCode == 0 ? diagnose.out : diagnose.err).isEmpty());
    EXPECT_FALSE(diagnose.err.contains("DISPLAY")) << diagnose.err.toStdString();
}

TEST(Program, WithoutADisplayOneLineSaysWhatIsMissingAndHowToRunUnderXvfb) {
    const Finished run = runProgram({"--emulate"}, kNoDisplay);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("DISPLAY is not set")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("xvfb-run")) << run.err.toStdString();
}

// A folder or a file of another size is never taken as the mouse's memory, nor overwritten.
TEST(Program, EmulateRefusesAFolderAndAFileThatIsNotTheMemory) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString small = dir.filePath("five.bin");
    {
        QFile f(small);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("12345");
    }
    for (const QString& file : {folder, small}) {
        SCOPED_TRACE(file.toStdString());
        const Finished run = runProgram({"--emulate=" + file}, kOffscreen);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("kvr5507: --emulate: " + file + ": "))
            << run.err.toStdString();
    }
    QFile f(small);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "12345");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);
}

TEST(Program, DiagnoseDescribesTheMouseInterfacesWithoutAWindow) {
    QProcess p;
    p.start(programPath(), {"--diagnose"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QByteArray out = p.readAllStandardOutput();
    const QByteArray err = p.readAllStandardError();
    // Without a usable mouse it says why on stderr and fails; with one it lists the interfaces.
    if (p.exitCode() == 1) {
        EXPECT_TRUE(err.startsWith("kvr5507: No KVR5507 mouse found") ||
                    err.startsWith("kvr5507: No interface of the mouse"))
            << err.toStdString();
    } else {
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(out.contains("opens")) << out.toStdString();
    }
}

}  // namespace
}  // namespace kvr
