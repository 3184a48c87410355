#include <QPointer>
// The macro page against the emulated mouse: the library and device lists, their context
// panels, the name dialog, Add to Mouse and Delete, and the profile and library files.
#include "gui/pages/macro_page.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "buttons/button_model.h"
#include "cycle/device_macros.h"
#include "macros/default_library.h"
#include "macros/macro_links.h"
#include "window_fixture.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace kvr::test {
namespace {

namespace fs = std::filesystem;
// The record a library entry becomes in the mouse: name, then content bytes 0..L.
Bytes deviceRecord(const PCMacroSlot& slot) {
    Bytes bytes(slot.name.begin(), slot.name.end());
    const auto content = macroBytes(slot.content);
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

class MacroPageTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder = test::makeTempFolder("kvr-macro-page");
        ASSERT_FALSE(folder.empty());
        page().useLibraryFile(libraryFile());
    }
    void TearDown() override {
        window.reset();
        fs::remove_all(folder);
    }

    MacroPage& page() { return window->macroPage(); }
    fs::path libraryFile() const { return folder / "Macro.bin"; }
    QListWidget* list(const char* name) { return window->controls().get<QListWidget>(name); }
    QString text(const char* name) {
        return window->controls().get<QPlainTextEdit>(name)->toPlainText();
    }
    std::span<std::uint8_t> memory(std::size_t at, std::size_t n) {
        return mouse->memory().subspan(at, n);
    }

    // A found mouse, read, with the macro page shown.
    void readAndShowMacroPage() {
        plugAndRead();
        window->Btn_Macro_0Click();
        ASSERT_TRUE(list("LB_PCMacroName")->isVisible());
    }
    QPoint rowCentre(QListWidget* l, int row) { return rowInView(l, row); }
    void rightClick(QListWidget* l, QPoint at) {
        clickIn(l->viewport(), at, Qt::RightButton);
    }
    void rightClickRow(const char* name, int row) {
        rightClick(list(name), rowCentre(list(name), row));
    }
    // A right click on a row, then the command of its context panel.
    void command(const char* listName, int row, const char* button) {
        rightClickRow(listName, row);
        click(button);
    }
    int indexOf(const std::string& name) {
        const auto names = page().library().names();
        const auto it = std::ranges::find(names, name);
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }
    // Types a name into the open name dialog and confirms it.
    void typeName(const QString& name) {
        MacroNameDialog* dialog = page().nameDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->edit(), name);
        QWidget* ok = dialog->findChild<QWidget*>("IB_Confirm");
        clickOn(ok);
    }

    fs::path folder;
};

TEST_F(MacroPageTest, ARightClickSelectsTheRowShowsItsEventsAndOpensThePanelAtThePointer) {
    readAndShowMacroPage();
    QListWidget* pc = list("LB_PCMacroName");
    ASSERT_EQ(pc->count(), static_cast<int>(page().library().count()));
    EXPECT_EQ(pc->item(0)->text(), "Copy");

    const QPoint at = rowCentre(pc, 1);
    rightClick(pc, at);

    EXPECT_EQ(pc->currentRow(), 1);
    QWidget* panel = find("Pnl_PCMacro");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), find("gbPage4")->mapFromGlobal(pc->viewport()->mapToGlobal(at)));
    // Paste: Ctrl down, V down, V up, Ctrl up, with three delays between.
    QListWidget* events = list("LB_macro");
    ASSERT_EQ(events->count(), 7);
    EXPECT_EQ(events->item(0)->text(), "Ctrl");
    EXPECT_EQ(events->item(1)->text(), "24 ms");
    EXPECT_EQ(events->item(2)->text(), "V");
    EXPECT_EQ(
        text("mmo_wrscript"),
        QString::fromStdString(hexBytes(std::span(page().library().slot(1).content).first(15))));
    EXPECT_EQ(page().lines().front(), "10");

    // With the device list: a press below its last row lets go of the selection and closes
    // the panel.
    click("Btn_AddMacro");
    QListWidget* device = list("LB_MacroName");
    ASSERT_EQ(device->count(), 1);
    rightClickRow("LB_MacroName", 0);
    EXPECT_TRUE(pc->selectedItems().isEmpty()) << "one name list selected at a time";
    EXPECT_TRUE(find("Pnl_DevMacro")->isVisible());
    rightClick(device, QPoint(10, device->viewport()->height() - 2));
    EXPECT_TRUE(device->selectedItems().isEmpty());
    EXPECT_FALSE(find("Pnl_DevMacro")->isVisible());
}

TEST_F(MacroPageTest, AddGiveToAButtonDeleteAndTheMouseFollowsEachStep) {
    readAndShowMacroPage();
    const int find = indexOf("Find");
    ASSERT_GE(find, 0);
    const PCMacroSlot entry = page().library().slot(static_cast<std::size_t>(find));

    command("LB_PCMacroName", find, "Btn_AddMacro");

    const Bytes record = deviceRecord(entry);
    EXPECT_TRUE(std::ranges::equal(memory(512, record.size()), record));
    ASSERT_EQ(list("LB_MacroName")->count(), 1);
    EXPECT_EQ(list("LB_MacroName")->item(0)->text(), "Find");
    EXPECT_EQ(list("LB_Name")->item(0)->text(), "Find") << "the button menu offers it";

    // The button page gives it to button 3, as its macro list does, and Apply writes it.
    ButtonModel& buttons = window->buttonModel();
    buttons.setCaption(3, "Find");
    buttons.storeCode(3, macroCodeText(528), window->cycle().dataBuf());
    click("Btn_Apply_4");
    EXPECT_EQ(memory(64 + 6, 3)[0], 0x06);
    EXPECT_EQ(memory(64 + 6, 3)[1], 0x02);
    EXPECT_EQ(memory(64 + 6, 3)[2], 0x10);

    // Deleting it puts button 3 back on its own function, in the mouse and on its label.
    command("LB_MacroName", 0, "Btn_DelMacro");
    EXPECT_EQ(list("LB_MacroName")->count(), 0);
    EXPECT_TRUE(std::ranges::all_of(memory(512, 512), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(memory(64 + 6, 3)[0], 0x01);
    EXPECT_EQ(memory(64 + 6, 3)[1], 0x02);
    EXPECT_EQ(label("Key3")->text().toStdString(), buttons.caption(3));
    EXPECT_EQ(buttons.codeText(3), "010200");
}

TEST_F(MacroPageTest, AMacroThatDoesNotFitShowsTheLengthMessage) {
    readAndShowMacroPage();
    // Ten copies of the longest built-in macro fill most of the area; then one does not fit.
    const int burst = indexOf("Click x5");
    ASSERT_GE(burst, 0);
    int added = 0;
    while (dialogs.texts.isEmpty() && added < 15) {
        command("LB_PCMacroName", burst, "Btn_AddMacro");
        ++added;
    }
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0], QString("O comprimento da macro está fora de alcance"));
    EXPECT_EQ(list("LB_MacroName")->count(), added - 1);
}

TEST_F(MacroPageTest, TheNameFieldTakesNoMoreThanTheLibraryKeeps) {
    readAndShowMacroPage();
    command("LB_PCMacroName", 0, "Btn_NewMacro");
    MacroNameDialog* dialog = page().nameDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog->edit(), "Volume Up Down");
    EXPECT_EQ(dialog->edit()->text(), "Volume U");
    typeName("");
    EXPECT_EQ(page().library().names().back(), "Volume U");
}

TEST_F(MacroPageTest, TheNameDialogTakesTheKeyboardAndCancelClosesItWithoutANewMacro) {
    readAndShowMacroPage();
    const std::size_t before = page().library().count();
    command("LB_PCMacroName", 0, "Btn_NewMacro");
    QPointer<MacroNameDialog> dialog = page().nameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->focusWidget(), dialog->edit()) << "typing goes to the name at once";
    QTest::keyClicks(dialog->edit(), "Vol");
    clickOn(dialog->findChild<QWidget*>("IB_Cancel"));
    EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
    EXPECT_EQ(page().library().count(), before);

    // Escape closes it the same way.
    command("LB_PCMacroName", 0, "Btn_NewMacro");
    dialog = page().nameDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(dialog->edit(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
    EXPECT_EQ(page().library().count(), before);
}

TEST_F(MacroPageTest, NewAndRenameGoThroughTheNameDialogAndRefuseDuplicates) {
    readAndShowMacroPage();
    const std::size_t before = page().library().count();

    command("LB_PCMacroName", 0, "Btn_NewMacro");
    MacroNameDialog* dialog = page().nameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->size(), QSize(354, 179));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->findChild<QLabel*>("lbl_MacroName")->text(), QString("Nome da Macro"));
    typeName("Volume");

    EXPECT_EQ(page().library().count(), before + 1);
    EXPECT_EQ(list("LB_PCMacroName")->currentRow(), static_cast<int>(before));
    EXPECT_EQ(readAll(libraryFile()), page().library().fileBytes());

    // Renaming the new entry to a name the library has: refused with the message.
    command("LB_PCMacroName", static_cast<int>(before), "Btn_NewName");
    typeName("Copy");
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0], QString("Esta macro já existe"));
    EXPECT_EQ(page().library().name(before), "Volume");

    command("LB_PCMacroName", static_cast<int>(before), "Btn_NewName");
    typeName("Loud");
    EXPECT_EQ(list("LB_PCMacroName")->item(static_cast<int>(before))->text(), "Loud");

    command("LB_PCMacroName", static_cast<int>(before), "Btn_DelPCMacro");
    EXPECT_EQ(page().library().count(), before);
    EXPECT_EQ(readAll(libraryFile()), libraryBytes(buildDefaultLibrary()));
}

TEST_F(MacroPageTest, ExportOneAndImportOneThroughTheFileDialogs) {
    readAndShowMacroPage();
    dialogs.fileAnswers << QString::fromStdString((folder / "copy").string());
    command("LB_PCMacroName", 0, "Btn_ExportOne");
    EXPECT_EQ(dialogs.fileRequests.last(), "save SaveFile(*.bin)|*.bin");
    const Bytes exported = readAll(folder / "copy.bin");
    const auto record = recordBytes(page().library().slot(0));
    EXPECT_EQ(exported, Bytes(record.begin(), record.end()));

    // Importing it again is a duplicate; after a rename of the original it is welcome.
    dialogs.fileAnswers << QString::fromStdString((folder / "copy.bin").string());
    command("LB_PCMacroName", 0, "Btn_ImportOne");
    EXPECT_EQ(dialogs.fileRequests.last(), "open LoadFile(*.bin)|*.bin");
    EXPECT_EQ(dialogs.texts.value(0), QString("Esta macro já existe"));

    command("LB_PCMacroName", 0, "Btn_NewName");
    typeName("Copy2");
    const std::size_t count = page().library().count();
    dialogs.fileAnswers << QString::fromStdString((folder / "copy.bin").string());
    command("LB_PCMacroName", 0, "Btn_ImportOne");
    ASSERT_EQ(page().library().count(), count + 1);
    EXPECT_EQ(list("LB_PCMacroName")->item(static_cast<int>(count))->text(), "Copy");

    // A file that cannot be read is reported and changes nothing.
    dialogs.texts.clear();
    dialogs.fileAnswers << QString::fromStdString((folder / "none.bin").string());
    command("LB_PCMacroName", 0, "Btn_Import");
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_TRUE(dialogs.texts[0].startsWith(QString("Não foi possível ler o arquivo.")))
        << dialogs.texts[0].toStdString();
    EXPECT_EQ(page().library().count(), count + 1);
}

TEST_F(MacroPageTest, SaveAndLoadProfileBringTheMacrosBack) {
    readAndShowMacroPage();
    command("LB_PCMacroName", 0, "Btn_AddMacro");
    const Bytes area(memory(512, 512).begin(), memory(512, 512).end());

    dialogs.fileAnswers << QString::fromStdString((folder / "mine.bin").string());
    click("Btn_Save_4");
    EXPECT_EQ(picture("Img_Save_1"), "SetS_02");
    const Bytes saved = readAll(folder / "mine.bin");
    ASSERT_EQ(saved.size(), 585u) << "\"mine.bin\" is not saved as \"mine.bin.bin\"";
    EXPECT_TRUE(std::ranges::equal(std::span(saved).subspan(73), area));

    command("LB_MacroName", 0, "Btn_DelMacro");
    ASSERT_EQ(list("LB_MacroName")->count(), 0);

    dialogs.fileAnswers << QString::fromStdString((folder / "mine.bin").string());
    click("Btn_Load_4");
    EXPECT_EQ(list("LB_MacroName")->count(), 1) << "the loaded macros show at once";
    EXPECT_TRUE(std::ranges::all_of(memory(512, 512), [](std::uint8_t b) { return b == 0; }))
        << "loading does not write";
    click("Btn_Apply_4");
    EXPECT_TRUE(std::ranges::equal(memory(512, 512), area));

    // Export All of the mouse's macros, back on the macro page that the write's refresh left.
    click("Btn_Macro_1");
    dialogs.fileAnswers << QString::fromStdString((folder / "area").string());
    command("LB_MacroName", 0, "Btn_DevExport");
    EXPECT_EQ(readAll(folder / "area.bin"), area);
}

TEST_F(MacroPageTest, ProfileButtonsNeedAMouse) {
    for (const char* button : {"Btn_Save_1", "Btn_Load_3"}) {
        dialogs.texts.clear();
        click(button);
        ASSERT_EQ(dialogs.texts.size(), 1) << button;
        EXPECT_EQ(dialogs.texts[0], QString("Dispositivo específico não encontrado"));
    }
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());
}

}  // namespace
}  // namespace kvr::test
