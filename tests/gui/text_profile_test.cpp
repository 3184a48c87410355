// Save Profile and Load Profile with the settings as a text file: what kvr5507ctl exports, read
// back onto the pages after the whole file was checked, written with the next Apply.
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "device/memory_file.h"
#include "support/file_bytes.h"
#include "window_fixture.h"
#include "support/temp_folder.h"

namespace kvr::test {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TextProfileTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder = test::makeTempFolder("kvr-text-profile");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override {
        window.reset();
        fs::remove_all(folder);
    }

    QString at(const std::string& name) const {
        return QString::fromStdString((folder / name).string());
    }
    // Save Profile and Load Profile on the first page, the file chosen in the dialog.
    void save(const std::string& name) {
        dialogs.fileAnswers << at(name);
        click("Btn_Save_1");
    }
    void load(const std::string& name) {
        dialogs.fileAnswers << at(name);
        click("Btn_Load_1");
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(folder / name) << text;
    }

    MouseMemory memoryNow() const { return std::as_const(*mouse).memory(); }

    // What kvr5507ctl exports from the emulated mouse's memory as it is now.
    std::string ctlExport() {
        const fs::path memoryFile = folder / "ctl-mouse.bin";
        EXPECT_TRUE(saveMemoryFile(memoryFile, memoryNow()));
        QProcess ctl;
        ctl.start(KVR5507CTL_BINARY,
                  {"--emulate=" + QString::fromStdString(memoryFile.string()), "export"});
        EXPECT_TRUE(ctl.waitForFinished(30000));
        EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
        return ctl.readAllStandardOutput().toStdString();
    }

    fs::path folder;
};

TEST_F(TextProfileTest, ATextProfileIsWhatKvr5507ctlExportsAndLoadsForTheNextApply) {
    plugAndRead();
    // The window speaks Portuguese; the file keeps the words kvr5507ctl uses.
    save("factory.toml");
    EXPECT_EQ(dialogs.fileRequests.last(), "save SaveFile(*.bin)|*.bin|TOML(*.toml)|*.toml");
    EXPECT_EQ(readText(folder / "factory.toml"), ctlExport());

    // A file with some sections only: what it leaves out stays as the mouse has it.
    write("mine.toml",
          "[sensitivity]\n"
          "dpi = [800, 1600]\n"
          "colors = [1, 2]\n"
          "current = 2\n"
          "[buttons]\n"
          "3 = \"macro:Hello\"\n"
          "[[macros]]\n"
          "name = \"Hello\"\n"
          "events = [\"press A\", \"wait 24 ms\", \"release A\"]\n");
    const MouseMemory before = memoryNow();
    load("mine.toml");
    EXPECT_EQ(dialogs.fileRequests.last(), "open LoadFile(*.bin)|*.bin|TOML(*.toml)|*.toml");
    EXPECT_TRUE(dialogs.texts.isEmpty()) << dialogs.texts.join('\n').toStdString();
    EXPECT_EQ(label("Key3")->text(), "Hello") << "the button shows its new macro at once";
    EXPECT_EQ(memoryNow(), before) << "loading does not write";

    save("shown.toml");
    const std::string shown = readText(folder / "shown.toml");
    EXPECT_NE(shown.find("dpi = [800, 1600]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("3 = \"macro:Hello\""), std::string::npos) << shown;

    click("Btn_Apply_1");
    EXPECT_NE(memoryNow(), before);
    EXPECT_EQ(ctlExport(), shown) << "Apply wrote what the pages showed, macro and all";
}

TEST_F(TextProfileTest, ADamagedTextProfileIsRefusedWithItsPlaceAndChangesNothing) {
    plugAndRead();
    save("before.toml");
    const std::string before = readText(folder / "before.toml");
    const QString button2 = label("Key2")->text();
    struct Case {
        const char* text;
        const char* place;  // line:column of the first fault
    };
    const Case cases[] = {
        {"[sensitivity\ndpi = [800]\n", ":1:13"},
        {"[fire]\nrate = 2\n", ":2:1"},
        {"[sensitivity]\ndpi = [800, 801]\n", ":2:13"},
        {"[light]\nmcpi = 1\n", ":2:8"},
        {"[buttons]\n2 = \"Volume +\"\n4 = \"No Such Function\"\n", ":3:5"},
        // The macros and a button were taken before the fault: all of it is given back.
        {"[[macros]]\nname = \"Hello\"\nevents = [\"press A\"]\n[buttons]\n2 = \"macro:Hello\"\n"
         "3 = \"ctrl+nokey\"\n",
         ":6:5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        write("bad.toml", c.text);
        dialogs.texts.clear();
        load("bad.toml");
        ASSERT_EQ(dialogs.texts.size(), 1);
        const QString place = at("bad.toml") + c.place;
        EXPECT_TRUE(dialogs.texts[0].startsWith(place + " foi recusado: "))
            << dialogs.texts[0].toStdString();
        EXPECT_TRUE(dialogs.texts[0].endsWith("Nada foi alterado."))
            << dialogs.texts[0].toStdString();
        EXPECT_FALSE(window->cycle().hasUnappliedChanges());
        EXPECT_EQ(label("Key2")->text(), button2);
        save("after.toml");
        EXPECT_EQ(readText(folder / "after.toml"), before);
    }

    // A file that cannot be read says so, as for a binary profile.
    dialogs.texts.clear();
    load("missing.toml");
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_TRUE(dialogs.texts[0].startsWith("Não foi possível ler o arquivo."))
        << dialogs.texts[0].toStdString();
}

TEST_F(TextProfileTest, ARefusedBinaryProfileSaysWhyInTheWindowsLanguage) {
    plugAndRead();
    write("short.bin", "ten bytes!");
    load("short.bin");
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0], at("short.bin") +
                                    " foi recusado: seu tamanho, 10 bytes, não é o de um perfil "
                                    "deste mouse. Nada foi alterado.");
}

}  // namespace
}  // namespace kvr::test
