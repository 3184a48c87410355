// Two programs on one file, and a program killed in the middle of a save: the memory file, the
// library, a profile and a dump are always the old file or the new one, and no change is lost.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>


#include "base/file_io.h"
#include "base/resources.h"
#include "ctl_fixture.h"
#include "device/device_fixture.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "support/file_bytes.h"
#include "device/command_protocol.h"
#include "macros/macro_codec.h"
#include "macros/pc_macro_library.h"

extern char** environ;

namespace kvr {
namespace {

using test::Bytes;
using test::readAll;
using test::writeAll;

// A one-record macro file under `name`.
void writeMacroFile(const std::filesystem::path& file, const std::string& name) {
    const auto compiled =
        CompileMacroLines(MacroLines{"00", keyLine(true, 0x04), keyLine(false, 0x04)});
    ASSERT_TRUE(compiled);
    writeAll(file, recordBytes(PCMacroSlot{MacroNameStrToUnicode(name), compiled->content}));
}

// Temporaries a save leaves beside `file`.
std::vector<std::string> leftovers(const std::filesystem::path& file) {
    std::vector<std::string> found;
    const std::string mark = "." + file.filename().string() + ".kvr-save-";
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        if (entry.path().filename().string().starts_with(mark))
            found.push_back(entry.path().filename().string());
    }
    return found;
}

class TwoProgramsTest : public test::CtlTest {
protected:
    void TearDown() override {
        setLockPatience(std::chrono::milliseconds(5000));
        setSaveStepHook({});
        test::CtlTest::TearDown();
    }

    std::vector<std::string> withFiles(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--emulate=" + memoryFile.string(),
                                   "--library=" + path("Macro.bin").string()});
        return args;
    }

    // The real kvr5507ctl, started and not yet waited for; its output is dropped.
    pid_t start(const std::vector<std::string>& args) const {
        std::vector<std::string> all = withFiles(args);
        all.insert(all.begin(), KVR5507CTL_BINARY);
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int spawned =
            posix_spawn(&pid, KVR5507CTL_BINARY, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0);
        return pid;
    }

    static int exitCode(pid_t pid) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    int runReal(const std::vector<std::string>& args) const { return exitCode(start(args)); }

    // `args` run by a forked child: a run of its own, started after everything so far.
    int inChild(const std::vector<std::string>& args) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::ostringstream out;
            std::ostringstream err;
            ::_exit(runCtl(withFiles(args), out, err));
        }
        return exitCode(pid);
    }

    // This program forked; the child dies at `step` of its first save while running `args`.
    // False when the child finished without reaching that step.
    bool killedAt(SaveStep step, const std::vector<std::string>& args) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            setSaveStepHook([step](SaveStep s) {
                if (s == step) ::raise(SIGKILL);
            });
            std::ostringstream out;
            std::ostringstream err;
            const std::vector<std::string> all = withFiles(args);
            ::_exit(runCtl(all, out, err));
        }
        return exitCode(pid) == 128 + SIGKILL;
    }
};

TEST_F(TwoProgramsTest, AKillAtEveryStepOfASaveLeavesTheOldOrTheNewFileAndNoTemporary) {
    writeMacroFile(path("one.bin"), "One");
    struct Command {
        const char* what;
        std::vector<std::string> args;
        std::filesystem::path file;
        std::vector<std::string> next;  // a later run that uses the file
    };
    const std::vector<Command> commands{
        // Without a backup, so that the memory file's save is the command's first.
        {"set", {"--no-backup", "set", "mcpi", "on", "button", "3", "middle"}, memoryFile,
         {"show"}},
        {"import", {"macro", "import", path("one.bin").string()}, path("Macro.bin"),
         {"macro", "list"}},
        {"profile save", {"profile", "save", path("p.bin").string()}, path("p.bin"), {}},
        {"dump", {"dump", path("d.bin").string()}, path("d.bin"), {}},
    };
    const SaveStep steps[] = {SaveStep::Create, SaveStep::Write, SaveStep::SyncFile,
                              SaveStep::Rename, SaveStep::SyncFolder};
    for (const Command& c : commands) {
        // The new file, as the command writes it when nobody interrupts it.
        ASSERT_EQ(runArgs(withFiles({"show"})).code, 0);
        writeAll(path("p.bin"), Bytes(3, 0x11));
        writeAll(path("d.bin"), Bytes(3, 0x22));
        setMemory(factoryMemory());
        writeAll(path("Macro.bin"), *findResource(kDefaultLibraryResource));
        const Bytes old = readAll(c.file);
        const MouseMemory oldMemory = memory();
        ASSERT_EQ(runArgs(withFiles(c.args)).code, 0) << c.what;
        const Bytes fresh = readAll(c.file);
        ASSERT_NE(fresh, old) << c.what;

        for (SaveStep step : steps) {
            SCOPED_TRACE(std::string(c.what) + ", step " + std::to_string(static_cast<int>(step)));
            writeAll(c.file, old);
            setMemory(oldMemory);
            const bool killed = killedAt(step, c.args);
            EXPECT_TRUE(killed);
            const Bytes now = readAll(c.file);
            EXPECT_TRUE(now == old || now == fresh);
            // Up to the rename the old file stays; from then on the new one is there.
            EXPECT_EQ(now, step < SaveStep::SyncFolder ? old : fresh);
            // The next run clears what the killed save left.
            EXPECT_EQ(inChild(c.next.empty() ? c.args : c.next), 0);
            EXPECT_TRUE(readAll(c.file) == old || readAll(c.file) == fresh);
            EXPECT_EQ(leftovers(c.file), std::vector<std::string>{});
        }
    }
}

TEST_F(TwoProgramsTest, ASecondWriterSaysTheFileIsInUseAndChangesNothing) {
    setLockPatience(std::chrono::milliseconds(0));
    writeMacroFile(path("one.bin"), "One");
    writeAll(path("Macro.bin"), *findResource(kDefaultLibraryResource));
    const MouseMemory before = memory();
    const Bytes library = readAll(path("Macro.bin"));
    struct Case {
        std::filesystem::path locked;
        LockKind held;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases{
        {memoryFile, LockKind::Exclusive, {"set", "mcpi", "on"}},
        {memoryFile, LockKind::Exclusive, {"show"}},
        {memoryFile, LockKind::Shared, {"reset"}},
        {path("Macro.bin"), LockKind::Exclusive, {"macro", "import", path("one.bin").string()}},
        {path("Macro.bin"), LockKind::Shared, {"macro", "import", path("one.bin").string()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " beside a lock on " + c.locked.filename().string());
        FileLock other;
        ASSERT_TRUE(other.lock(c.locked, c.held));
        const test::CtlRun run = runArgs(withFiles(c.args));
        EXPECT_EQ(run.code, kExitMouse);
        EXPECT_NE(run.err.find("in use by another program"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.locked.string()), std::string::npos) << run.err;
        EXPECT_EQ(readAll(memoryFile), Bytes(before.begin(), before.end()));
        EXPECT_EQ(readAll(path("Macro.bin")), library);
    }
    // Readers share the file.
    FileLock reader;
    ASSERT_TRUE(reader.lock(memoryFile, LockKind::Shared));
    EXPECT_EQ(runArgs(withFiles({"show"})).code, 0);
}

// The window keeps the memory file locked only while a transfer runs, and reads it again when
// the next one starts, so a command run in between is kept.
TEST_F(TwoProgramsTest, TheWindowAndTheCommandLineKeepEachOthersChanges) {
    setLockPatience(std::chrono::milliseconds(0));
    auto mouse = std::make_shared<EmulatedMouse>(1, factoryMemory());
    std::vector<std::string> errors;
    bindMemoryFile(*mouse, memoryFile, [&](const std::string& e) { errors.push_back(e); });
    VirtualBus bus;
    plugMouse(bus, mouse, "emulated:kvr5507");
    VirtualPacer pacer;
    test::RecordingPresence presence;
    DeviceLink link{bus, pacer, presence};
    ASSERT_TRUE(link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1));
    CommandProtocol window{link, pacer};

    ASSERT_EQ(runArgs(withFiles({"set", "mcpi", "on"})).code, 0);
    const MouseMemory afterCommand = memory();

    // A transfer of the window begins: the command waits for it, then gives up.
    ASSERT_TRUE(window.SendCommand(BeginCmd));
    EXPECT_TRUE(std::ranges::equal(mouse->memory(), afterCommand)) << "the window reads what the command wrote";
    EXPECT_EQ(runArgs(withFiles({"set", "effect", "on"})).code, kExitMouse);
    // The window changes bytes the command never touches, and ends its transfer.
    const std::array<std::uint8_t, 6> bytes{0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
    ASSERT_TRUE(window.WriteBlock(0x1F0, 6, bytes));
    EXPECT_NE(memory()[0x1F0], 0x5A) << "nothing is kept before the transfer ends";
    ASSERT_TRUE(window.SendCommand(EndCmd));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(memory()[0x1F0], 0x5A);

    ASSERT_EQ(runArgs(withFiles({"set", "effect", "on"})).code, 0);
    const MouseMemory both = memory();
    EXPECT_EQ(both[0x1F0], 0x5A) << "the window's change stays";
    ASSERT_TRUE(window.SendCommand(BeginCmd));
    EXPECT_TRUE(std::ranges::equal(mouse->memory(), both)) << "the command's change reaches the window";
    ASSERT_TRUE(window.SendCommand(EndCmd));
}

// Real programs at once: nothing lost, nothing cut.
TEST_F(TwoProgramsTest, RealProgramsAtOnceLoseNoChange) {
    // Two changes of one block, made one after the other, for the expected memory.
    ASSERT_EQ(runReal({"set", "mcpi", "on"}), 0);
    ASSERT_EQ(runReal({"set", "effect", "on"}), 0);
    const MouseMemory both = memory();

    for (int round = 0; round < 8; ++round) {
        setMemory(factoryMemory());
        const pid_t a = start({"set", "mcpi", "on"});
        const pid_t b = start({"set", "effect", "on"});
        const pid_t reader = start({"show"});
        EXPECT_EQ(exitCode(a), 0);
        EXPECT_EQ(exitCode(b), 0);
        EXPECT_EQ(exitCode(reader), 0) << "a reader never sees a partial file";
        EXPECT_EQ(memory(), both) << "round " << round;
    }

    const Bytes library(findResource(kDefaultLibraryResource)->begin(),
                        findResource(kDefaultLibraryResource)->end());
    for (int round = 0; round < 8; ++round) {
        writeAll(path("Macro.bin"), library);
        writeMacroFile(path("a.bin"), "A" + std::to_string(round));
        writeMacroFile(path("b.bin"), "B" + std::to_string(round));
        const pid_t a = start({"macro", "import", path("a.bin").string()});
        const pid_t b = start({"macro", "import", path("b.bin").string()});
        EXPECT_EQ(exitCode(a), 0);
        EXPECT_EQ(exitCode(b), 0);
        PCMacroLibrary after(path("Macro.bin"));
        ASSERT_EQ(after.CheckPCMacro({}), LibraryResult::Done);
        const auto names = after.names();
        EXPECT_EQ(std::count(names.begin(), names.end(), "A" + std::to_string(round)), 1);
        EXPECT_EQ(std::count(names.begin(), names.end(), "B" + std::to_string(round)), 1);
    }
}

}  // namespace
}  // namespace kvr
