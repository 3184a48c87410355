#include "macros/pc_macro_library.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/resources.h"
#include "macros/default_library.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace kvr {
namespace {

using test::Bytes;
using test::readAll;
using test::writeAll;

namespace fs = std::filesystem;
// A library entry of one key press.
PCMacroSlot entry(const std::string& name, std::uint8_t usage) {
    const auto compiled =
        CompileMacroLines(MacroLines{"00", "1 x CODE:82" + hexBytes(Bytes{usage})});
    return PCMacroSlot{.name = MacroNameStrToUnicode(name), .content = compiled->content};
}

Bytes libraryOf(std::initializer_list<PCMacroSlot> entries, std::size_t slotsInFile = 100) {
    PCMacroSlots slots{};
    std::size_t i = 0;
    for (const PCMacroSlot& e : entries) slots[i++] = e;
    Bytes bytes = libraryBytes(slots);
    bytes.resize(slotsInFile * kPCMacroRecordSize);
    return bytes;
}

Bytes builtIn() {
    const auto resource = findResource(kDefaultLibraryResource);
    return resource ? Bytes(resource->begin(), resource->end()) : Bytes{};
}

class LibraryTest : public testing::Test {
protected:
    void SetUp() override {
        folder = test::makeTempFolder("kvr-library");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override { fs::remove_all(folder); }

    // A library over a file of these bytes, loaded.
    PCMacroLibrary& loaded(const Bytes& file) {
        writeAll(libraryFile(), file);
        library = std::make_unique<PCMacroLibrary>(libraryFile());
        EXPECT_EQ(library->CheckPCMacro(builtIn()), LibraryResult::Done);
        return *library;
    }
    fs::path libraryFile() const { return folder / "Macro.bin"; }

    fs::path folder;
    std::unique_ptr<PCMacroLibrary> library;
};

TEST_F(LibraryTest, TheBuiltInLibraryIsOurReadyMadeMacros) {
    const Bytes resource = builtIn();
    ASSERT_EQ(resource.size(), kPCMacroFileSize);
    EXPECT_EQ(resource, libraryBytes(buildDefaultLibrary()))
        << "run make_macro_library after changing the ready-made macros";
    PCMacroSlots slots{};
    readLibraryRecords(resource, slots);
    const std::vector<std::string> wanted = {
        "Copy",   "Paste",    "Cut",      "Undo",    "Redo",    "SelAll",   "Save",    "Find",
        "NewTab", "CloseTab", "SwitchWn", "Desktop", "LockScr", "DblClick", "TriClick"};
    for (const std::string& name : wanted) {
        EXPECT_TRUE(std::ranges::any_of(slots, [&](const PCMacroSlot& s) {
            return macroNameText(s.name) == name && macroChecksumHolds(s.content);
        })) << name;
    }
}

TEST_F(LibraryTest, FirstStartCreatesTheFileFromTheBuiltInLibrary) {
    PCMacroLibrary lib(libraryFile());
    EXPECT_EQ(lib.CheckPCMacro(builtIn()), LibraryResult::Done);
    EXPECT_EQ(readAll(libraryFile()), builtIn());
    EXPECT_EQ(lib.names().front(), "Copy");
}

TEST_F(LibraryTest, AShortFileFillsOnlyTheRecordsItHolds) {
    PCMacroLibrary& lib = loaded(libraryOf({entry("Only", 0x04)}, 1));
    EXPECT_EQ(lib.names(), std::vector<std::string>{"Only"});
    EXPECT_EQ(lib.slot(0), entry("Only", 0x04));
    EXPECT_EQ(lib.slot(1), PCMacroSlot{});
    // Read as far as it goes, even inside a record.
    Bytes half = libraryOf({entry("Half", 0x05)}, 1);
    half.resize(20);
    EXPECT_EQ(loaded(half).slot(0).name, MacroNameStrToUnicode("Half"));
    EXPECT_EQ(library->slot(0).content[0], 0x03);
    EXPECT_EQ(library->slot(0).content[4], 0x00);
}

TEST_F(LibraryTest, AGapBetweenEntriesIsClosedWhenRead) {
    Bytes file =
        libraryOf({entry("A", 4), PCMacroSlot{}, entry("C", 6), PCMacroSlot{}, entry("E", 8)});
    PCMacroLibrary& lib = loaded(file);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"A", "C", "E"}));
    EXPECT_EQ(lib.slot(2), entry("E", 8));
    EXPECT_EQ(lib.slot(3), PCMacroSlot{});
}

TEST_F(LibraryTest, DeletingMovesTheLaterEntriesDownAndSaves) {
    PCMacroLibrary& lib = loaded(libraryOf({entry("A", 4), entry("B", 5), entry("C", 6)}));
    EXPECT_EQ(lib.remove(0), LibraryResult::Done);
    EXPECT_EQ(readAll(libraryFile()), libraryOf({entry("B", 5), entry("C", 6)}));
    EXPECT_EQ(lib.remove(2), LibraryResult::NoSuchEntry);
}

TEST_F(LibraryTest, DuplicateNamesAreRefusedAndNothingChanges) {
    PCMacroLibrary& lib = loaded(libraryOf({entry("A", 4), entry("B", 5)}));
    const Bytes before = readAll(libraryFile());
    EXPECT_EQ(lib.rename(1, "B"), LibraryResult::Duplicate);  // its own name
    EXPECT_EQ(lib.rename(1, "A"), LibraryResult::Duplicate);
    EXPECT_EQ(lib.addEntry("A"), LibraryResult::Duplicate);
    EXPECT_EQ(readAll(libraryFile()), before);

    EXPECT_EQ(lib.rename(1, "b"), LibraryResult::Done) << "names compare case-sensitively";
    EXPECT_EQ(lib.addEntry("A much longer name"), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"A", "b", "A much l"}));
    EXPECT_EQ(lib.slot(2).content, MacroContent{}) << "a new entry waits for its recording";
    EXPECT_EQ(readAll(libraryFile()), lib.fileBytes());
}

TEST_F(LibraryTest, AFullLibraryTakesNoNewEntry) {
    PCMacroSlots slots{};
    for (std::size_t i = 0; i < 99; ++i) slots[i] = entry("M" + std::to_string(i), 4);
    PCMacroLibrary& lib = loaded(libraryBytes(slots));
    const fs::path one = folder / "one.bin";
    const auto record = recordBytes(entry("Other", 5));
    writeAll(one, Bytes(record.begin(), record.end()));
    EXPECT_EQ(lib.importOne(one), LibraryResult::Full) << "Import One needs fewer than 99";
    EXPECT_EQ(lib.addEntry("Last"), LibraryResult::Done);
    EXPECT_TRUE(lib.full());
    EXPECT_EQ(lib.addEntry("More"), LibraryResult::Full);
}

TEST_F(LibraryTest, ExportOneAndImportOneReproduceTheRecord) {
    PCMacroLibrary& lib = loaded(libraryOf({entry("A", 4), entry("B", 5)}));
    const fs::path one = folder / "b.bin";
    EXPECT_EQ(lib.exportOne(1, one), LibraryResult::Done);
    const auto record = recordBytes(entry("B", 5));
    EXPECT_EQ(readAll(one), Bytes(record.begin(), record.end()));

    PCMacroLibrary other(folder / "Other.bin");
    writeAll(folder / "Other.bin", libraryOf({entry("X", 7)}));
    ASSERT_EQ(other.CheckPCMacro({}), LibraryResult::Done);
    std::size_t index = 0;
    EXPECT_EQ(other.importOne(one, &index), LibraryResult::Done);
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(other.slot(1), entry("B", 5));
    EXPECT_EQ(readAll(folder / "Other.bin"), libraryOf({entry("X", 7), entry("B", 5)}));

    // The same name bytes again: refused.
    EXPECT_EQ(other.importOne(one), LibraryResult::Duplicate);
    EXPECT_EQ(other.count(), 2u);
    // A file with no named record adds nothing.
    writeAll(folder / "empty.bin", {});
    EXPECT_EQ(other.importOne(folder / "empty.bin"), LibraryResult::Refused);
    EXPECT_EQ(other.count(), 2u);
}

TEST_F(LibraryTest, ImportAllReplacesWhatTheFileHoldsAndStaysContiguous) {
    PCMacroLibrary& lib =
        loaded(libraryOf({entry("A", 4), entry("B", 5), entry("C", 6), entry("D", 7)}));
    const fs::path file = folder / "all.bin";
    // Two records, the second free: library slot 1 is emptied, C and D move up.
    writeAll(file, libraryOf({entry("X", 8)}, 2));
    EXPECT_EQ(lib.importAll(file), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"X", "C", "D"}));

    EXPECT_EQ(lib.exportAll(folder / "out.bin"), LibraryResult::Done);
    EXPECT_EQ(readAll(folder / "out.bin"), readAll(libraryFile()));
    EXPECT_EQ(readAll(libraryFile()).size(), kPCMacroFileSize);
}

#ifndef _WIN32
TEST_F(LibraryTest, AFailedSaveLeavesTheOldFileAndTheLibraryAsTheyWere) {
    PCMacroLibrary& lib = loaded(libraryOf({entry("A", 4), entry("B", 5)}));
    const Bytes before = readAll(libraryFile());

    // The disk takes only the first 1000 bytes of the new file.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const LibraryResult result = lib.addEntry("C");
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(result, LibraryResult::FileError);
    EXPECT_NE(lib.error().find("Macro.bin"), std::string::npos) << lib.error();
    EXPECT_EQ(readAll(libraryFile()), before);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}
#endif

TEST_F(LibraryTest, AFileThatCannotBeWrittenOrReadIsReported) {
    PCMacroLibrary lib(folder / "missing" / "Macro.bin");
    EXPECT_EQ(lib.CheckPCMacro(builtIn()), LibraryResult::FileError);
    EXPECT_FALSE(lib.error().empty());
    EXPECT_EQ(lib.names().front(), "Copy") << "the built-in macros still show";
    EXPECT_EQ(lib.importAll(folder / "nothing.bin"), LibraryResult::FileError);
    EXPECT_EQ(lib.exportAll(folder), LibraryResult::FileError);
}

}  // namespace
}  // namespace kvr
