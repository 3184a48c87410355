// A macro of the mouse given to a button through the menu's macro list, written by Apply, and
// followed by the button when an earlier macro is deleted; no macro list without macro memory.
#include <QListWidget>

#include "macros/device_macro_table.h"
#include "gui/pages/macro_page.h"
#include "params/checksum.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ButtonMacroTest : public WindowTest {
protected:
    QListWidget* list(const char* name) { return window->controls().get<QListWidget>(name); }
    // A row of one of the macro page's lists, then a command of its context panel.
    void command(const char* listName, int row, const char* button) {
        QListWidget* l = list(listName);
        clickRow(l, row, Qt::RightButton);
        click(button);
    }
    int libraryRow(const std::string& name) {
        const auto names = window->macroPage().library().names();
        const auto it = std::ranges::find(names, name);
        EXPECT_NE(it, names.end()) << name;
        return static_cast<int>(it - names.begin());
    }
    void addToMouse(const std::string& name) {
        window->Btn_Macro_0Click();
        command("LB_PCMacroName", libraryRow(name), "Btn_AddMacro");
    }
    // The size of the record a library macro takes in the mouse: name, length byte, events and
    // checksum.
    std::uint16_t recordSize(const std::string& name) {
        const PCMacroSlot& slot =
            window->macroPage().library().slot(static_cast<std::size_t>(libraryRow(name)));
        return static_cast<std::uint16_t>(kMacroNameSize + 1 + macroLength(slot.content));
    }
    // Label Key<n>, the menu's macro entry: the macro list, open or not.
    QListWidget* openMacroList(int button) {
        click(QString("Key%1").arg(button));
        enter("Key_Macro");
        return list("LB_Name");
    }
    Bytes mouseCode(int button) {
        const std::size_t at = kMemoryProfileAddress + 3 * std::size_t(button - 1);
        return {mouse->memory()[at], mouse->memory()[at + 1], mouse->memory()[at + 2]};
    }
    bool profileChecksumValid() {
        const auto profile = mouse->memory().subspan(kMemoryProfileAddress, 28);
        return blockChecksum(profile.first(27)) == profile[27];
    }
    // A mouse that reports no macro memory, found and read.
    void plugAndReadWithoutMacros() {
        plugMouse();
        mouse->memory()[42] = 2;  // the capability byte
        setChecksum(mouse->memory().first(64), 37);
        tick();
    }
};

TEST_F(ButtonMacroTest, AMacroChosenForAButtonIsWrittenAndFollowsADeletionBeforeIt) {
    plugAndRead();
    click("Btn_Lang2_1");  // English
    addToMouse("Copy");
    addToMouse("Find");
    const std::uint16_t findAt = kFirstMacroAddress + recordSize("Copy");

    window->Btn_Main_0Click();
    QListWidget* macros = openMacroList(3);
    ASSERT_TRUE(macros->isVisible());
    ASSERT_EQ(macros->count(), 2);
    EXPECT_EQ(macros->item(0)->text(), "Copy");
    EXPECT_EQ(macros->item(1)->text(), "Find");
    clickRow(macros, 1);
    EXPECT_FALSE(macros->isVisible());
    EXPECT_FALSE(find("Pnl_Main")->isVisible());
    EXPECT_EQ(label("Key3")->text(), "Find");
    EXPECT_EQ(mouseCode(3), (Bytes{0x01, 0x02, 0x00})) << "not written before Apply";

    click("Btn_Apply_1");
    EXPECT_EQ(mouseCode(3), (Bytes{0x06, std::uint8_t(findAt >> 8), std::uint8_t(findAt & 0xFF)}));
    EXPECT_TRUE(profileChecksumValid());

    // Copy goes: Find moves down to the first address, and button 3 with it, in the mouse too.
    window->Btn_Macro_0Click();
    command("LB_MacroName", 0, "Btn_DelMacro");
    EXPECT_EQ(mouseCode(3), (Bytes{0x06, 0x02, 0x10}));
    EXPECT_TRUE(profileChecksumValid());
    window->Btn_Main_0Click();
    EXPECT_EQ(label("Key3")->text(), "Find");
    macros = openMacroList(3);
    ASSERT_EQ(macros->count(), 1);
    EXPECT_EQ(macros->item(0)->text(), "Find");
}

TEST_F(ButtonMacroTest, TheMacroListStaysClosedWithoutMacrosInTheMouse) {
    // A mouse with macro memory, but none stored yet.
    plugAndRead();
    EXPECT_FALSE(openMacroList(1)->isVisible());

    // Macros stored in one mouse are not offered for another without macro memory.
    addToMouse("Copy");
    window->Btn_Main_0Click();
    ASSERT_TRUE(openMacroList(1)->isVisible());
    bus.unplug(kMousePath);
    tick();
    plugAndReadWithoutMacros();
    ASSERT_TRUE(window->mouseOpen());
    window->Btn_Main_0Click();
    EXPECT_FALSE(openMacroList(1)->isVisible());
}

}  // namespace
}  // namespace kvr::test
