// kvr5507ctl's backups: the memory saved before every change, listed, and restored by number.
#include <gtest/gtest.h>

#include <fstream>

#include "config/backups.h"
#include "ctl_fixture.h"
#include "device/command_protocol.h"

namespace kvr {
namespace {

class CtlBackupTest : public test::CtlTest {
protected:
    std::vector<std::string> backupLines() {
        const auto listed = run({"backup", "list"});
        EXPECT_EQ(listed.code, 0) << listed.err;
        std::vector<std::string> lines;
        std::istringstream in(listed.out);
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("  ")) lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(CtlBackupTest, EveryWriteSavesTheMemoryBeforeItAndRestoreTakesABackupByNumber) {
    const MouseMemory first = memory();
    ASSERT_EQ(run({"set", "button", "2", "Volume +"}).code, 0);
    const MouseMemory second = memory();
    const auto file = path("levels.toml");
    std::ofstream(file) << "[sensitivity]\ndpi = [800, 1600]\ncolors = [1, 2]\n";
    ASSERT_EQ(run({"apply", file.string(), "--dry-run"}).code, 0);
    ASSERT_EQ(run({"apply", file.string()}).code, 0);
    // Nothing to change: nothing written, nothing saved.
    ASSERT_EQ(run({"apply", file.string()}).code, 0);

    const std::vector<std::string> lines = backupLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("  1  20")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with("  4 levels, 0 macros")) << lines[0];
    EXPECT_EQ(listBackups()[0].file.parent_path(), path("data") / "kvr5507" / "backups");

    // Number 1 is the newest: the memory before the apply.
    ASSERT_EQ(run({"restore", "1"}).code, 0);
    EXPECT_EQ(memory(), second);
    ASSERT_EQ(run({"restore", "3"}).code, 0) << "the restore saved a backup of its own";
    EXPECT_EQ(memory(), first);

    const auto missing = run({"restore", "9"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("a backup's number from 1 to 4"), std::string::npos) << missing.err;
}

TEST_F(CtlBackupTest, OnlyTheNewestAreKept) {
    const auto folder = path("data") / "kvr5507" / "backups";
    std::filesystem::create_directories(folder);
    for (int day = 1; day <= 25; ++day) {
        char name[40];
        std::snprintf(name, sizeof name, "2001-01-%02dT120000.bin", day);
        std::ofstream(folder / name) << "old";
    }
    ASSERT_EQ(run({"reset"}).code, 0);
    const std::vector<Backup> backups = listBackups();
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_NE(backups[0].file.filename().string().substr(0, 4), "2001");
    EXPECT_EQ(backups[0].summary, "4 levels, 0 macros");
    EXPECT_EQ(backups[1].file.filename(), "2001-01-25T120000.bin");
    EXPECT_EQ(backups[1].summary, "not a whole memory image");
    EXPECT_EQ(backups.back().file.filename(), "2001-01-07T120000.bin");
}

TEST_F(CtlBackupTest, ABackupThatCannotBeSavedStopsTheWriteUnlessToldToGoOn) {
    // Where the backups go is taken by a file: no backup can be saved.
    std::filesystem::create_directories(path("data") / "kvr5507");
    std::ofstream(path("data") / "kvr5507" / "backups") << "in the way";
    const MouseMemory before = memory();

    const auto stopped = run({"set", "button", "2", "Volume +"});
    EXPECT_EQ(stopped.code, 1);
    EXPECT_NE(stopped.err.find("no backup of the mouse's memory could be saved"), std::string::npos)
        << stopped.err;
    EXPECT_NE(stopped.err.find("--no-backup"), std::string::npos);
    EXPECT_EQ(requestsWith(WriteStartCmd), 0);
    EXPECT_EQ(memory(), before);

    const auto forced = run({"--no-backup", "set", "button", "2", "Volume +"});
    EXPECT_EQ(forced.code, 0) << forced.err;
    EXPECT_NE(memory(), before);
}

}  // namespace
}  // namespace kvr
