// The window saves the mouse's memory as read among the backups before its first write of a run,
// and asks before writing when no backup can be saved.
#include <QListWidget>
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "config/backups.h"
#include "device/memory_file.h"
#include "support/file_bytes.h"
#include "window_fixture.h"
#include "support/temp_folder.h"

namespace kvr::test {
namespace {

namespace fs = std::filesystem;

class WindowBackupTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder = test::makeTempFolder("kvr-window-backup");
        ASSERT_FALSE(folder.empty());
        const char* old = std::getenv("XDG_DATA_HOME");
        oldDataHome = old ? old : "";
        useDataHome(folder / "data");
    }
    void TearDown() override {
        window.reset();
        ::setenv("XDG_DATA_HOME", oldDataHome.c_str(), 1);
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    void useDataHome(const fs::path& home) { ::setenv("XDG_DATA_HOME", home.c_str(), 1); }
    fs::path backups() const { return folder / "data" / "kvr5507" / "backups"; }
    std::vector<fs::path> backupFiles() const {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(backups(), ec))
            files.push_back(entry.path());
        return files;
    }
    MouseMemory memoryNow() const { return std::as_const(*mouse).memory(); }
    // Level 2's colour changed on the Advanced page, so that Apply has something to change.
    void changeAColour(const char* colour) {
        window->Btn_Adv_0Click();
        type("Edt_CPI2Color", colour);
    }
    // Runs kvr5507ctl on a copy of the emulated mouse's memory, which it then holds.
    int ctl(const fs::path& memoryFile, QStringList args) {
        args.prepend("--emulate=" + QString::fromStdString(memoryFile.string()));
        QProcess process;
        process.start(KVR5507CTL_BINARY, args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return process.exitCode();
    }

    fs::path folder;
    std::string oldDataHome;
};

TEST_F(WindowBackupTest, TheFirstWriteSavesTheMemoryAsReadAndRestoreBringsItBack) {
    plugAndRead();
    const MouseMemory asRead = memoryNow();
    changeAColour("3");
    click("Btn_Apply_2");
    ASSERT_NE(memoryNow(), asRead);
    std::vector<fs::path> files = backupFiles();
    ASSERT_EQ(files.size(), 1u);
    const Bytes saved = readAll(files[0]);
    EXPECT_TRUE(std::ranges::equal(saved, asRead))
        << "the backup holds the memory before the write";

    // Later writes of the run keep that one backup.
    changeAColour("4");
    click("Btn_Apply_2");
    dialogs.answers << 0;
    click("Btn_Reset_2");
    EXPECT_EQ(backupFiles().size(), 1u);
    EXPECT_TRUE(dialogs.questions.size() == 1) << "only Reset's own question";

    // kvr5507ctl keeps its backups beside the window's; the window's brings the first memory
    // back byte for byte.
    const fs::path memoryFile = folder / "mouse.bin";
    ASSERT_TRUE(saveMemoryFile(memoryFile, memoryNow()));
    ASSERT_EQ(ctl(memoryFile, {"set", "button", "2", "Volume +"}), 0);
    ASSERT_EQ(listBackups().size(), 2u);
    ASSERT_EQ(listBackups()[1].file, files[0]);
    ASSERT_EQ(ctl(memoryFile, {"restore", "2"}), 0);
    EXPECT_EQ(openMemoryFile(memoryFile).memory, asRead);
}

TEST_F(WindowBackupTest, WithoutRoomForABackupEveryWriteAsksFirstAndNoWritesNothing) {
    // Where the data folder should be, a file lies: no backup can be saved.
    std::ofstream(folder / "in-the-way") << "x";
    useDataHome(folder / "in-the-way");
    plugAndRead();
    const MouseMemory asRead = memoryNow();

    struct Write {
        const char* name;
        std::function<void()> click;
    };
    const Write writes[] = {
        {"Apply",
         [&] {
             changeAColour("3");
             click("Btn_Apply_2");
         }},
        {"Confirm",
         [&] {
             changeAColour("3");
             click("Btn_Confirm_2");
         }},
        {"Reset, after its own Yes",
         [&] {
             dialogs.answers << 0;
             click("Btn_Reset_2");
         }},
        {"Add to Mouse",
         [&] {
             window->Btn_Macro_0Click();
             clickRow(window->controls().get<QListWidget>("LB_PCMacroName"), 0, Qt::RightButton);
             click("Btn_AddMacro");
         }},
    };
    for (const Write& write : writes) {
        SCOPED_TRACE(write.name);
        dialogs.questions.clear();
        write.click();
        ASSERT_FALSE(dialogs.questions.isEmpty());
        const QString asked = dialogs.questions.last();
        EXPECT_TRUE(asked.startsWith(
            "Não foi possível salvar uma cópia de segurança da memória do mouse ("))
            << asked.toStdString();
        EXPECT_TRUE(asked.contains("in-the-way")) << asked.toStdString();
        EXPECT_EQ(dialogs.questionButtons.last(), "Sim|Não");
        EXPECT_EQ(dialogs.defaultAnswers.last(), 1) << "No unless the owner says Yes";
        EXPECT_EQ(memoryNow(), asRead) << "No writes nothing";
        EXPECT_TRUE(window->isVisible());
    }

    // Yes writes without a backup.
    changeAColour("5");
    dialogs.answers << 0;
    click("Btn_Apply_2");
    EXPECT_NE(memoryNow(), asRead);
    EXPECT_TRUE(fs::is_regular_file(folder / "in-the-way"));
}

}  // namespace
}  // namespace kvr::test
