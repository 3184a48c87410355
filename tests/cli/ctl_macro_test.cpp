// kvr5507ctl's macros, profiles and macro checks against the emulated mouse and a PC library file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "base/resources.h"
#include "ctl_fixture.h"
#include "macros/device_macro_table.h"
#include "macros/macro_checks.h"
#include "macros/macro_codec.h"
#include "macros/pc_macro_library.h"
#include "params/checksum.h"
#include "params/param_layout.h"

namespace kvr {
namespace {

using Json = nlohmann::json;
constexpr std::size_t kProfile = kMemoryProfileAddress;

std::size_t button(int n) { return kProfile + 3 * static_cast<std::size_t>(n - 1); }

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A one-record macro file of this program's own making under `name`.
[[maybe_unused]] void writeMacroRecord(const std::filesystem::path& file, const std::string& name) {
    const auto compiled =
        CompileMacroLines(MacroLines{"00", keyLine(true, 0x04), keyLine(false, 0x04)});
    ASSERT_TRUE(compiled);
    writeBytes(file, recordBytes(PCMacroSlot{MacroNameStrToUnicode(name), compiled->content}));
}

// The built-in library as a new library file holds it.
PCMacroLibrary builtInLibrary() {
    PCMacroLibrary library{{}};
    library.CheckPCMacro(*findResource(kDefaultLibraryResource));
    return library;
}

class CtlMacroTest : public test::CtlTest {
protected:
    test::CtlRun runLib(std::initializer_list<std::string> args) {
        std::vector<std::string> all{"--emulate=" + memoryFile.string(),
                                     "--library=" + library().string()};
        all.insert(all.end(), args);
        return runArgs(all);
    }
    std::filesystem::path library() const { return path("Macro.bin"); }
    DeviceMacroTable mouseMacros() const {
        DeviceMacroTable table;
        const MouseMemory m = memory();
        std::array<std::uint8_t, kDeviceMacroAreaSize> area{};
        std::copy_n(m.begin() + kMemoryMacroAddress, area.size(), area.begin());
        table.parse(area);
        return table;
    }
};

TEST_F(CtlMacroTest, AMacroAddedRunsOnAButtonShowsAndIsDeletedWithItsButtonFollowing) {
    const PCMacroLibrary builtIn = builtInLibrary();
    const PCMacroSlot& copy = builtIn.slot(0);
    ASSERT_EQ(builtIn.name(0), "Copy");

    const auto added = runLib({"macro", "add", "Copy"});
    ASSERT_EQ(added.code, 0) << added.err;
    // A missing library file is made from the built-in macros, as the window makes it.
    EXPECT_EQ(fileBytes(library()), builtIn.fileBytes());
    DeviceMacroTable table = mouseMacros();
    ASSERT_EQ(table.count(), 1u);
    EXPECT_EQ(table.name(0), "Copy");
    EXPECT_EQ(table.slot(0).content, copy.content);
    EXPECT_EQ(table.address(0), kFirstMacroAddress);

    const auto set = run({"set", "button", "4", "macro:Copy"});
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(requestsWith(WriteStartCmd), 2);
    const MouseMemory m = memory();
    EXPECT_EQ(m[button(4)], 0x06);
    EXPECT_EQ(m[button(4) + 1] << 8 | m[button(4) + 2], kFirstMacroAddress);
    EXPECT_EQ(m[kProfile + profile_block::kChecksum],
              blockChecksum(std::span(m).subspan(kProfile, profile_block::kChecksum)));

    const auto shown = run({"--json", "show"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    const Json doc = Json::parse(shown.out);
    EXPECT_EQ(doc["buttons"][3]["function"], "Copy");
    ASSERT_EQ(doc["macros"].size(), 1u);
    EXPECT_EQ(doc["macros"][0]["name"], "Copy");
    EXPECT_EQ(doc["macros"][0]["address"], kFirstMacroAddress);
    EXPECT_EQ(doc["macros"][0]["events"],
              (Json{"press Ctrl", "wait 24 ms", "press C", "wait 24 ms", "release C", "wait 24 ms",
                    "release Ctrl"}));
    const auto text = run({"show"});
    EXPECT_NE(text.out.find("Copy  (address 528"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("    press Ctrl\n"), std::string::npos) << text.out;

    const auto deleted = runLib({"macro", "del", "Copy"});
    ASSERT_EQ(deleted.code, 0) << deleted.err;
    EXPECT_EQ(mouseMacros().count(), 0u);
    // Button 4 gets its own function back.
    const MouseMemory after = memory();
    const MouseMemory factory = factoryMemory();
    EXPECT_TRUE(std::equal(after.begin() + button(4), after.begin() + button(5),
                           factory.begin() + button(4)));
}

TEST_F(CtlMacroTest, ButtonsFollowTheirMacroWhenAnEarlierOneIsDeleted) {
    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    ASSERT_EQ(runLib({"macro", "add", "Paste"}).code, 0);
    ASSERT_EQ(run({"set", "button", "5", "macro:Paste"}).code, 0);
    ASSERT_EQ(runLib({"macro", "del", "Copy"}).code, 0);
    const MouseMemory m = memory();
    EXPECT_EQ(m[button(5)], 0x06);
    EXPECT_EQ(m[button(5) + 1] << 8 | m[button(5) + 2], kFirstMacroAddress);
    ASSERT_EQ(mouseMacros().count(), 1u);
    EXPECT_EQ(mouseMacros().name(0), "Paste");
}

TEST_F(CtlMacroTest, UnknownMacroNamesAreBadArgumentsAndChangeNothing) {
    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    const MouseMemory before = memory();
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"set", "button", "4", "macro:Nope"}, "button 4 macro:Nope"},
        {{"macro", "add", "Nope"}, "Nope"},
        {{"macro", "del", "Nope"}, "Nope"},
        {{"macro", "export", path("x.bin").string(), "Nope"}, "Nope"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        std::vector<std::string> args{"--emulate=" + memoryFile.string(),
                                      "--library=" + library().string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = runArgs(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        if (mouse) {
            EXPECT_EQ(requestsWith(WriteStartCmd), 0);
        }
        EXPECT_EQ(memory(), before);
    }
    EXPECT_FALSE(std::filesystem::exists(path("x.bin")));
}

TEST_F(CtlMacroTest, ExportAndImportMoveOneLibraryRecord) {
    // A macro of this program's own making, under a name the library does not hold.
    const auto compiled =
        CompileMacroLines(MacroLines{"00", keyLine(true, 0x04), keyLine(false, 0x04)});
    ASSERT_TRUE(compiled);
    PCMacroSlot mine{MacroNameStrToUnicode("Mine"), compiled->content};
    const auto record = recordBytes(mine);
    writeBytes(path("mine.bin"), record);

    const auto imported = runLib({"macro", "import", path("mine.bin").string()});
    ASSERT_EQ(imported.code, 0) << imported.err;
    PCMacroLibrary file(library());
    ASSERT_EQ(file.CheckPCMacro({}), LibraryResult::Done);
    const std::size_t count = builtInLibrary().count();
    ASSERT_EQ(file.count(), count + 1);
    EXPECT_EQ(file.slot(count), mine);

    const auto again = runLib({"macro", "import", path("mine.bin").string()});
    EXPECT_EQ(again.code, 2);
    EXPECT_NE(again.err.find("mine.bin"), std::string::npos) << again.err;

    const auto exported = runLib({"macro", "export", path("out.bin").string(), "Mine"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(fileBytes(path("out.bin")), std::vector<std::uint8_t>(record.begin(), record.end()));

    // Into the mouse from the library.
    ASSERT_EQ(runLib({"macro", "add", "Mine"}).code, 0);
    const auto list = runLib({"--json", "macro", "list"});
    ASSERT_EQ(list.code, 0) << list.err;
    const Json doc = Json::parse(list.out);
    ASSERT_EQ(doc["mouse"].size(), 1u);
    EXPECT_EQ(doc["mouse"][0]["name"], "Mine");
    EXPECT_EQ(doc["library"]["macros"].size(), count + 1);
    EXPECT_EQ(doc["library"]["file"], library().string());
}

TEST_F(CtlMacroTest, AProfileSavedIsLoadedBackInOneWrite) {
    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    ASSERT_EQ(run({"set", "button", "4", "macro:Copy", "levels", "3", "rise-time", "40"}).code, 0);
    const MouseMemory saved = memory();
    const auto profile = path("profile.bin");
    const auto save = run({"profile", "save", profile.string()});
    ASSERT_EQ(save.code, 0) << save.err;
    // Parameter block, button block and macro area of a variant 1 mouse.
    EXPECT_EQ(fileBytes(profile).size(), 45u + 28u + 512u);

    setMemory(factoryMemory());
    const auto load = run({"profile", "load", profile.string()});
    ASSERT_EQ(load.code, 0) << load.err;
    EXPECT_EQ(requestsWith(BeginCmd), 2);  // the read, then one write
    EXPECT_EQ(memory(), saved);

    const auto missing = run({"profile", "load", path("none.bin").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.bin"), std::string::npos);
    EXPECT_EQ(requestsWith(WriteStartCmd), 0);
}

TEST_F(CtlMacroTest, MacroAndProfileWritesAreRefusedWhenTheMemoryWasNotReadWhole) {
    const auto profile = path("profile.bin");
    ASSERT_EQ(run({"profile", "save", profile.string()}).code, 0);
    prepareMouse = [](EmulatedMouse& m) { m.loseChunk(2, 2); };
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"macro", "add", "Copy"},
          std::vector<std::string>{"macro", "del", "Copy"},
          std::vector<std::string>{"profile", "load", profile.string()}}) {
        SCOPED_TRACE(words[1]);
        std::vector<std::string> args{"--emulate=" + memoryFile.string(),
                                      "--library=" + library().string()};
        args.insert(args.end(), words.begin(), words.end());
        const auto run = runArgs(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("could not be read whole"), std::string::npos) << run.err;
        EXPECT_EQ(requestsWith(WriteStartCmd), 0);
        EXPECT_EQ(memory(), factoryMemory());
    }
}

TEST_F(CtlMacroTest, RestoreRefusesAnImageWithADamagedMacro) {
    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    ASSERT_EQ(runLib({"macro", "add", "Paste"}).code, 0);
    const auto image = path("image.bin");
    ASSERT_EQ(run({"dump", image.string()}).code, 0);
    // An image holding the empty macro is whole: its FF is no checksum.
    MouseMemory empty = openMemoryFile(image).memory;
    empty[kFirstMacroAddress] = 0x01;
    empty[kFirstMacroAddress + 1] = 0xFF;
    std::fill(empty.begin() + kFirstMacroAddress + 2, empty.end(), std::uint8_t{0});
    ASSERT_TRUE(saveMemoryFile(path("empty.bin"), empty));
    EXPECT_EQ(run({"restore", path("empty.bin").string()}).code, 0);

    ASSERT_EQ(run({"restore", image.string()}).code, 0);
    const MouseMemory before = memory();
    MouseMemory damaged = before;
    // An event byte of the second macro.
    damaged[mouseMacros().address(1).value() + 1] ^= 0x01;
    ASSERT_TRUE(saveMemoryFile(image, damaged));
    const auto run = this->run({"restore", image.string()});
    EXPECT_EQ(run.code, 2) << "a bad file";
    EXPECT_NE(run.err.find("macro 2 (\"Paste\")"), std::string::npos) << run.err;
    EXPECT_EQ(requestsWith(WriteStartCmd), 0);
    EXPECT_EQ(memory(), before);
}

TEST_F(CtlMacroTest, HelpForTheMacroAndProfileCommands) {
    for (const std::vector<std::string>& words : {std::vector<std::string>{"macro", "--help"},
                                                  {"macro", "add", "--help"},
                                                  {"macro", "export", "--help"},
                                                  {"profile", "load", "--help"}}) {
        const auto run = runArgs(words);
        EXPECT_EQ(run.code, 0);
        EXPECT_NE(run.out.find(words[words.size() - 2]), std::string::npos);
    }
    EXPECT_NE(runArgs({"--help"}).out.find("--library"), std::string::npos);
}

// Every byte of a macro file and of a memory image flipped in turn: the copy is refused (exit 2)
// and changes nothing, or (a byte no check covers, as a letter of a name or the mouse's unused
// memory) it goes in and leaves a library and a mouse this program can still read and repair.
TEST_F(CtlMacroTest, EveryByteFlippedIsRefusedOrLeavesSoundFiles) {
    const auto compiled =
        CompileMacroLines(MacroLines{"00", keyLine(true, 0x04), keyLine(false, 0x04)});
    ASSERT_TRUE(compiled);
    const auto record = recordBytes(PCMacroSlot{MacroNameStrToUnicode("Mine"), compiled->content});
    writeBytes(path("mine.bin"), record);
    ASSERT_EQ(runLib({"macro", "import", path("mine.bin").string()}).code, 0);
    ASSERT_EQ(runLib({"macro", "add", "Mine"}).code, 0);
    const std::vector<std::uint8_t> savedLibrary = fileBytes(library());
    ASSERT_EQ(runLib({"dump", path("image.bin").string()}).code, 0);
    const std::vector<std::uint8_t> image = fileBytes(path("image.bin"));
    const MouseMemory before = memory();

    struct Walk {
        const char* what;
        std::vector<std::uint8_t> valid;
        std::vector<std::string> command;
    };
    const Walk walks[] = {
        {"macro file", {record.begin(), record.end()}, {"macro", "import"}},
        {"memory image", image, {"restore"}},
    };
    for (const Walk& w : walks) {
        int accepted = 0;
        for (std::size_t i = 0; i < w.valid.size(); ++i) {
            SCOPED_TRACE(std::string(w.what) + ", byte " + std::to_string(i));
            std::vector<std::uint8_t> damaged = w.valid;
            damaged[i] ^= static_cast<std::uint8_t>(1U << (i % 8));
            writeBytes(path("flip.bin"), damaged);
            writeBytes(library(), savedLibrary);
            setMemory(before);
            std::vector<std::string> args{"--emulate=" + memoryFile.string(),
                                          "--library=" + library().string()};
            args.insert(args.end(), w.command.begin(), w.command.end());
            args.push_back(path("flip.bin").string());
            const test::CtlRun run = runArgs(args);
            if (run.code != 0) {
                ASSERT_EQ(run.code, kExitBadFile) << run.err;
                EXPECT_NE(run.err.find("flip.bin"), std::string::npos) << run.err;
                EXPECT_EQ(memory(), before);
                EXPECT_EQ(fileBytes(library()), savedLibrary);
                continue;
            }
            ++accepted;
            PCMacroLibrary after(library());
            ASSERT_EQ(after.CheckPCMacro({}), LibraryResult::Done);
            for (std::size_t n = 0; n < after.count(); ++n)
                EXPECT_EQ(libraryRecordRefusal(after.slot(n), n + 1), std::nullopt);
            ASSERT_EQ(runLib({"show"}).code, 0);
            ASSERT_EQ(runLib({"restore", path("image.bin").string()}).code, 0)
                << "the mouse can still be repaired";
        }
        EXPECT_LT(accepted, static_cast<int>(w.valid.size()) / 2) << w.what;
    }
}

#ifndef _WIN32
// A FIFO, a folder or a read-only file where a command reads or saves: refused at once with the
// file named, nothing waits and nothing is replaced.
TEST_F(CtlMacroTest, PipesFoldersAndReadOnlyFilesAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(path("folder"));
    writeBytes(library(), *findResource(kDefaultLibraryResource));
    const std::vector<std::uint8_t> savedLibrary = fileBytes(library());
    writeBytes(path("locked.bin"), std::vector<std::uint8_t>(3, 0x33));
    std::filesystem::permissions(path("locked.bin"), std::filesystem::perms::owner_read);
    const MouseMemory before = memory();
    struct Case {
        std::vector<std::string> args;
        const char* named;
    };
    const std::string fifo = path("fifo").string();
    const std::string folder = path("folder").string();
    const std::string locked = path("locked.bin").string();
    const Case cases[] = {
        {{"macro", "import", fifo}, "fifo"},
        {{"profile", "load", fifo}, "fifo"},
        {{"restore", fifo}, "fifo"},
        {{"restore", folder}, "folder"},
        {{"dump", fifo}, "fifo"},
        {{"profile", "save", locked}, "locked.bin"},
        {{"macro", "export", locked, builtInLibrary().name(0)}, "locked.bin"},
        {{"macro", "list"}, "fifo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        // The last case has the FIFO for its library.
        const bool fifoLibrary = &c == &cases[std::size(cases) - 1];
        std::vector<std::string> args{"--emulate=" + memoryFile.string(),
                                      "--library=" + (fifoLibrary ? fifo : library().string())};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::CtlRun run = runArgs(args);
        EXPECT_NE(run.code, 0);
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_EQ(memory(), before);
        EXPECT_EQ(fileBytes(library()), savedLibrary);
        EXPECT_EQ(fileBytes(path("locked.bin")), std::vector<std::uint8_t>(3, 0x33));
        EXPECT_TRUE(std::filesystem::is_fifo(path("fifo")));
    }
    // A read-only library takes no import either.
    writeMacroRecord(path("mine.bin"), "Mine");
    std::filesystem::permissions(library(), std::filesystem::perms::owner_read);
    const test::CtlRun run = runLib({"macro", "import", path("mine.bin").string()});
    EXPECT_EQ(run.code, kExitMouse);
    EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;
    EXPECT_EQ(fileBytes(library()), savedLibrary);
}
#endif

}  // namespace
}  // namespace kvr
