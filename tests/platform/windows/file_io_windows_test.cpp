// Saving, reading and locking through the wide-character calls: names in any letters, a file
// this program holds locked replaced by its own save, another holder waited for, and what is
// no file refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/file_io.h"
#include "macros/library_place.h"
#include "support/temp_folder.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

class WindowsFileTest : public testing::Test {
protected:
    void SetUp() override {
        // A user folder with letters outside any one code page: "Zoë Jürgen 山田".
        folder = test::makeTempFolder("kvr-files") /
                 fs::path(u8"Zo\u00eb J\u00fcrgen \u5c71\u7530");
        ASSERT_TRUE(fs::create_directories(folder));
        setLockPatience(std::chrono::milliseconds(0));
    }
    void TearDown() override {
        setLockPatience(std::chrono::milliseconds(5000));
        fs::remove_all(folder.parent_path());
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
};

TEST_F(WindowsFileTest, SavesReplaceAndReadBackUnderANameInAnyLetters) {
    const fs::path file = folder / fs::path(u8"M\u00e4use.bin");
    ASSERT_TRUE(writeFileAtomically(file, bytesOf("first")));
    ASSERT_TRUE(writeFileAtomically(file, bytesOf("second")));
    const FileBytes read = readFileStart(file);
    ASSERT_TRUE(read.result) << read.result.error;
    EXPECT_EQ(read.bytes, bytesOf("second"));
    EXPECT_EQ(readFileStart(file, 3).bytes, bytesOf("sec"));
    EXPECT_EQ(entries(), 1U) << "no temporary is left beside the file";
    EXPECT_FALSE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // Created only where there is no file yet.
    const fs::path fresh = folder / "fresh.bin";
    ASSERT_TRUE(createFileIfMissing(fresh, bytesOf("made")));
    ASSERT_TRUE(createFileIfMissing(fresh, bytesOf("again")));
    EXPECT_EQ(readFileStart(fresh).bytes, bytesOf("made"));
}

TEST_F(WindowsFileTest, AFileThisProgramHoldsLockedIsReplacedByItsOwnSave) {
    const fs::path file = folder / "mouse.bin";
    ASSERT_TRUE(writeFileAtomically(file, bytesOf("old")));
    FileLock lock;
    ASSERT_TRUE(lock.lock(file, LockKind::Exclusive));
    // The lock hides no byte from its holder.
    EXPECT_EQ(readFileStart(file).bytes, bytesOf("old"));
    const FileResult saved = writeFileAtomically(file, bytesOf("new"));
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(readFileStart(file).bytes, bytesOf("new"));
    lock.unlock();
}

TEST_F(WindowsFileTest, ALockHeldElsewhereIsWaitedForThenReportedBusy) {
    const fs::path file = folder / "shared.bin";
    ASSERT_TRUE(writeFileAtomically(file, bytesOf("x")));
    FileLock reader;
    ASSERT_TRUE(reader.lock(file, LockKind::Shared));
    FileLock secondReader;
    EXPECT_TRUE(secondReader.lock(file, LockKind::Shared)) << "readers share";
    FileLock writer;
    const FileResult busy = writer.lock(file, LockKind::Exclusive);
    EXPECT_FALSE(busy);
    EXPECT_TRUE(busy.busy);
    EXPECT_NE(busy.error.find("in use by another program"), std::string::npos) << busy.error;
    reader.unlock();
    secondReader.unlock();
    EXPECT_TRUE(writer.lock(file, LockKind::Exclusive));
    EXPECT_TRUE(writer.held());

    FileLock none;
    EXPECT_TRUE(none.lock(folder / "missing.bin", LockKind::Shared));
    EXPECT_FALSE(none.held());
}

TEST_F(WindowsFileTest, FoldersDevicesAndReadOnlyFilesAreRefusedAndLeftAsTheyAre) {
    const fs::path sub = folder / "sub";
    fs::create_directory(sub);
    const FileBytes fromFolder = readFileStart(sub);
    EXPECT_FALSE(fromFolder.result);
    EXPECT_NE(fromFolder.result.error.find("is a folder, not a file"), std::string::npos);
    EXPECT_FALSE(writeFileAtomically(sub, bytesOf("x")));
    EXPECT_TRUE(fs::is_directory(sub));

    const FileBytes fromDevice = readFileStart("NUL");
    EXPECT_FALSE(fromDevice.result);
    EXPECT_NE(fromDevice.result.error.find("is a device, not a file"), std::string::npos)
        << fromDevice.result.error;

    const fs::path locked = folder / "read-only.bin";
    ASSERT_TRUE(writeFileAtomically(locked, bytesOf("keep")));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    const FileResult refused = writeFileAtomically(locked, bytesOf("lost"));
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("is read-only; it is left as it is"), std::string::npos);
    EXPECT_EQ(saveRefusal(locked), "is read-only; it is left as it is");
    EXPECT_EQ(readFileStart(locked).bytes, bytesOf("keep"));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(saveRefusal(folder / "new.bin"), "");
    EXPECT_NE(saveRefusal(folder / "no-such-folder" / "new.bin"), "");
    const FileBytes missing = readFileStart(folder / "missing.bin");
    EXPECT_FALSE(missing.result);
    EXPECT_NE(missing.result.error.find("missing.bin: "), std::string::npos);
}

TEST_F(WindowsFileTest, AKilledSavesTemporaryGoesButALivingOnesStays) {
    const fs::path file = folder / "Macro.bin";
    ASSERT_TRUE(writeFileAtomically(file, bytesOf("library")));
    const fs::path killed = folder / ".Macro.bin.kvr-save-Ab12Cd";
    std::ofstream(killed) << "half";
    const fs::path living = folder / ".Macro.bin.kvr-save-Ef34Gh";
    const HANDLE open = CreateFileW(living.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    const fs::path other = folder / ".Other.bin.kvr-save-Ab12Cd";
    std::ofstream(other) << "not ours to judge";

    removeStaleSaves(file);
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(living));
    EXPECT_TRUE(fs::exists(other));
    CloseHandle(open);
    EXPECT_EQ(readFileStart(file).bytes, bytesOf("library"));
}

TEST(WindowsLibraryPlace, TheDataFolderIsAppDataAndAProgramFolderOfTheUsersOwnKeepsItsLibrary) {
    const fs::path appData = test::makeTempFolder("kvr-appdata") / fs::path(u8"\u00c5sa");
    fs::create_directories(appData);
    const std::wstring before = _wgetenv(L"APPDATA") ? _wgetenv(L"APPDATA") : L"";
    _wputenv_s(L"APPDATA", appData.c_str());
    EXPECT_EQ(userDataHome(), appData);
    _wputenv_s(L"APPDATA", before.c_str());

    const fs::path own = appData / "portable";
    fs::create_directory(own);
    EXPECT_FALSE(runsFromInstalledPlace(own));
    EXPECT_EQ(pcMacroLibraryPath(own, appData), own / "Macro.bin");
    EXPECT_TRUE(fs::is_empty(own)) << "the check leaves nothing behind";
    // A folder the program cannot write into, or none known, sends it to the data folder.
    EXPECT_EQ(pcMacroLibraryPath(appData / "missing", appData), appData / "kvr5507" / "Macro.bin");
    EXPECT_EQ(pcMacroLibraryPath({}, appData), appData / "kvr5507" / "Macro.bin");
    EXPECT_FALSE(runningProgramFolder().empty());
    fs::remove_all(appData.parent_path());
}

}  // namespace
}  // namespace kvr
