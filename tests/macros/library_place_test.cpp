// Where the programs keep "Macro.bin": the user's data folder for an installed program, beside a
// copy the user owns, and a library of the old data folder moved once.
#include "macros/library_place.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "macros/pc_macro_library.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;

class LibraryPlaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kvr_library_place_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        dataHome = root / "share";
    }
    void TearDown() override { fs::remove_all(root); }

    static void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path oldLibrary() const { return dataHome / "KVR5507 Gaming Mouse" / "Macro.bin"; }
    fs::path newLibrary() const { return dataHome / "kvr5507" / "Macro.bin"; }

    fs::path root;
    fs::path dataHome;
};

TEST_F(LibraryPlaceTest, InstalledProgramsKeepTheLibraryInTheDataFolderOwnCopiesBesideThem) {
    fs::create_directories(root / "stage" / "usr" / "bin");
    fs::create_directories(root / "portable");
    fs::create_directories(root / "build" / "test");
    const struct {
        fs::path folder;
        bool installed;
    } cases[] = {
        {"/usr/bin", true},
        {"/usr/local/bin", true},
        {"/opt/kvr5507", true},
        {root / "stage" / "usr" / "bin", true},  // a staged install: PREFIX/bin
        {root / "stage" / "usr" / "bin/", true},
        {root / "portable", false},
        {root / "build" / "test", false},
        {root / "gone", true},
        {"relative/folder", true},
        {"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.string());
        EXPECT_EQ(runsFromInstalledPlace(c.folder), c.installed);
        EXPECT_EQ(pcMacroLibraryPath(c.folder, dataHome),
                  c.installed ? newLibrary() : c.folder / "Macro.bin");
    }
    // A folder of somebody else's, or one the user cannot write, is an installed place too.
    fs::create_directories(root / "theirs");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((root / "theirs").c_str(), 65534, 65534), 0);
    } else {
        fs::permissions(root / "theirs", fs::perms::owner_read | fs::perms::owner_exec);
    }
    EXPECT_TRUE(runsFromInstalledPlace(root / "theirs"));
    EXPECT_FALSE(fs::exists(newLibrary().parent_path())) << "choosing the place makes nothing";
}

TEST_F(LibraryPlaceTest, TheDataFolderFollowsXdgDataHomeElseHome) {
    EXPECT_EQ(userDataHome("/x/data", "/home/u"), fs::path("/x/data"));
    // A relative XDG_DATA_HOME is ignored, as the base directory rules say.
    EXPECT_EQ(userDataHome("x/data", "/home/u"), fs::path("/home/u/.local/share"));
    EXPECT_EQ(userDataHome("", "/home/u"), fs::path("/home/u/.local/share"));
    EXPECT_EQ(userDataHome(nullptr, "/home/u"), fs::path("/home/u/.local/share"));
    // Without HOME the password database names the home folder.
    const fs::path fallback = userDataHome(nullptr, nullptr);
    EXPECT_TRUE(fallback.empty() || fallback.filename() == "share") << fallback;
}

TEST_F(LibraryPlaceTest, ALibraryOfTheOldDataFolderMovesOnceAndOnlyForAWriter) {
    write(oldLibrary(), "old macros");
    // A reader reads it where it lies and changes nothing.
    EXPECT_EQ(existingLibrary(newLibrary(), dataHome), oldLibrary());
    EXPECT_FALSE(fs::exists(newLibrary().parent_path()));

    EXPECT_EQ(settleLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_EQ(read(newLibrary()), "old macros");
    EXPECT_FALSE(fs::exists(oldLibrary().parent_path())) << "the emptied old folder goes";
    EXPECT_EQ(fs::status(newLibrary().parent_path()).permissions() & fs::perms::all,
              fs::perms::owner_all);

    // Once moved, a library that turns up in the old folder again never replaces it.
    write(oldLibrary(), "stray");
    EXPECT_EQ(settleLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_EQ(existingLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_EQ(read(newLibrary()), "old macros");
    EXPECT_EQ(read(oldLibrary()), "stray");
}

TEST_F(LibraryPlaceTest, AFolderBesideTheOldLibraryStaysWithWhatElseItHolds) {
    write(oldLibrary(), "old macros");
    write(oldLibrary().parent_path() / "notes.txt", "mine");
    EXPECT_EQ(settleLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_EQ(read(oldLibrary().parent_path() / "notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(oldLibrary()));
}

TEST_F(LibraryPlaceTest, WithNoLibraryAnywhereAReaderMakesNothingAndAWriterOnlyTheFolder) {
    EXPECT_EQ(existingLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_FALSE(fs::exists(dataHome));
    EXPECT_EQ(settleLibrary(newLibrary(), dataHome), newLibrary());
    EXPECT_TRUE(fs::is_directory(newLibrary().parent_path()));
    EXPECT_FALSE(fs::exists(newLibrary()));
}

}  // namespace
}  // namespace kvr
