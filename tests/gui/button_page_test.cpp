// The button page in the window: the function menu, the choices it makes, the key combination
// dialog over the page, the fire-key fields, and what Apply writes into the mouse.
#include "gui/pages/button_page.h"

#include <QCheckBox>
#include <QLineEdit>

#include "buttons/function_menu.h"
#include "gui/pages/key_combination_dialog.h"
#include "params/checksum.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

class ButtonPageTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        plugAndRead();
        click("Btn_Lang2_1");  // English
    }
    // Label Key<n>, the menu group and the entry, by mouse.
    void choose(int button, const QString& group, const QString& entry) {
        click(QString("Key%1").arg(button));
        enter(group);
        leave(group);
        enter(entry);
        click(entry);
    }
    std::vector<std::uint8_t> mouseCode(int button) {
        const std::size_t at = kMemoryProfileAddress + 3 * std::size_t(button - 1);
        return {mouse->memory()[at], mouse->memory()[at + 1], mouse->memory()[at + 2]};
    }
    bool profileChecksumValid() {
        const auto profile = mouse->memory().subspan(kMemoryProfileAddress, 28);
        return blockChecksum(profile.first(27)) == profile[27];
    }
    KeyCombinationDialog* dialog() { return window->buttonPage().keyCombinationDialog(); }
    QWidget* inDialog(const char* name) { return dialog()->findChild<QWidget*>(name); }
    void clickInDialog(const char* name) {
        QWidget* w = inDialog(name);
        ASSERT_NE(w, nullptr) << name;
        clickOn(w);
    }
    void keyInDialog(Qt::Key k) { QTest::keyClick(inDialog("Edt_Assembly"), k); }
};

TEST_F(ButtonPageTest, EscapeClosesTheFunctionMenu) {
    click("Key2");
    enter("Key_Media");
    ASSERT_TRUE(find("Pnl_Media")->isVisible());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(find("Pnl_Main")->isVisible());
    EXPECT_FALSE(find("Pnl_Media")->isVisible());
}

TEST_F(ButtonPageTest, VolumePlusByMouseClicksReachesTheMouseWithAValidChecksum) {
    click("Key2");
    EXPECT_TRUE(find("Pnl_Main")->isVisible());
    enter("Key_Media");
    EXPECT_TRUE(find("Pnl_Media")->isVisible());
    EXPECT_EQ(label("Key_VolumePlus")->text(), " * Volume +");
    click("Key_VolumePlus");
    EXPECT_FALSE(find("Pnl_Main")->isVisible());
    EXPECT_FALSE(find("Pnl_Media")->isVisible());
    EXPECT_EQ(label("Key2")->text(), "Volume +");
    EXPECT_EQ(mouseCode(2), (std::vector<std::uint8_t>{0x01, 0x04, 0x00})) << "not written yet";

    click("Btn_Apply_1");
    EXPECT_EQ(mouse->memory()[67], 0x03);
    EXPECT_EQ(mouse->memory()[68], 0x00);
    EXPECT_EQ(mouse->memory()[69], 0xE9);
    EXPECT_TRUE(profileChecksumValid());

    // After a restart the label reads it back from the mouse.
    createWindow();
    tick();
    click("Btn_Lang2_1");
    EXPECT_EQ(label("Key2")->text(), "Volume +");
}

TEST_F(ButtonPageTest, EveryFixedFunctionOfTheMenuCanBeGivenByMouse) {
    for (const MenuGroup& g : menuGroups()) {
        for (const MenuEntry& e : submenuEntries(g)) {
            const QString control =
                QString::fromUtf8(e.control.data(), qsizetype(e.control.size()));
            choose(3, QString::fromUtf8(g.control.data(), qsizetype(g.control.size())), control);
            EXPECT_EQ(window->buttonModel().codeText(3),
                      CodeForMenuEntry(e.entry, window->buttonModel().fireKey()))
                << control.toStdString();
            EXPECT_EQ(label("Key3")->text(), label(control)->text().mid(3))
                << control.toStdString();
        }
    }
}

TEST_F(ButtonPageTest, TheLastLeftClickStaysAndAHiddenButtonCounts) {
    choose(1, "Key_Media", "Key_VolumePlus");
    EXPECT_EQ(label("Key1")->text(), "Left Key");
    EXPECT_EQ(window->buttonModel().codeText(1), "010100");

    // Layout 1 hides button 7; given the left click in the mouse, it lets button 1 change.
    EXPECT_FALSE(find("Key7")->isVisible());
    mouse->memory()[kMemoryProfileAddress + 18] = 0x01;
    mouse->memory()[kMemoryProfileAddress + 19] = 0x01;
    mouse->memory()[kMemoryProfileAddress + 20] = 0x00;
    setChecksum(mouse->memory().subspan(kMemoryProfileAddress, 28), 27);
    createWindow();
    tick();
    click("Btn_Lang2_1");
    choose(1, "Key_Media", "Key_VolumePlus");
    EXPECT_EQ(label("Key1")->text(), "Volume +");
    click("Btn_Apply_1");
    EXPECT_EQ(mouseCode(1), (std::vector<std::uint8_t>{0x03, 0x00, 0xE9}));
}

TEST_F(ButtonPageTest, ClickingAHoveredLabelEndsItsHoverAndSelectsItsButton) {
    enter("Key5");
    EXPECT_EQ(picture("Img_Key5"), "KeyS_02");
    EXPECT_TRUE(window->marquee().isActive());
    window->LabelRunTimer();  // the caption has started to scroll
    click("Key5");
    EXPECT_FALSE(window->marquee().isActive());
    EXPECT_EQ(picture("Img_Key5"), "KeyS_01");
    EXPECT_EQ(label("Key5")->text(), "Forward");
    EXPECT_EQ(label("Key5")->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(window->buttonModel().selectedButton(), 5);
}

TEST_F(ButtonPageTest, MenuOpensAtTheLabelAndTurnsAtTheWindowEdges) {
    struct Case {
        QPoint label;  // where Key4 is moved
        bool left, up;
    };
    const Case cases[] = {{{100, 100}, false, false},
                          {{660, 100}, true, false},
                          {{100, 470}, false, true},
                          {{660, 470}, true, true}};
    QLabel* key = label("Key4");
    for (const Case& c : cases) {
        key->move(c.label);
        click("Key4");
        const QPoint centre(c.label.x() + key->width() / 2, c.label.y() + key->height() / 2);
        const QRect menu = find("Pnl_Main")->geometry();
        EXPECT_EQ(menu.size(), QSize(190, 170));
        EXPECT_EQ(menu.left(), c.left ? centre.x() - 190 : centre.x()) << c.label.x();
        EXPECT_EQ(menu.top(), c.up ? centre.y() - 170 : centre.y()) << c.label.y();
        EXPECT_LE(menu.right(), 799);
        EXPECT_LE(menu.bottom(), 599);

        enter("Key_WWW");
        const QRect sub = find("Pnl_WWW")->geometry();
        const QRect entry = find("Key_WWW")->geometry().translated(menu.topLeft());
        EXPECT_EQ(sub.width(), 164);
        EXPECT_EQ(sub.height(), 7 * 24);
        EXPECT_EQ(sub.left(), c.left ? menu.left() - 164 : entry.right() + 1) << c.label.x();
        EXPECT_GE(sub.left(), 0);
        EXPECT_LE(sub.right(), 799);
        EXPECT_LE(sub.bottom(), 599);
        leave("Key_WWW");
    }
}

TEST_F(ButtonPageTest, PointedEntriesAreTealWithWhiteTextAndGroupsSwapTheirSubmenus) {
    click("Key1");
    enter("Key_Standard");
    QLabel* entry = label("Key_Standard");
    // As drawn: a teal row with white letters, and back to the panel's colour when left.
    const QImage lit = entry->grab().toImage();
    EXPECT_EQ(QColor(lit.pixel(lit.width() - 2, 1)), QColor(0, 128, 128));
    bool whiteText = false;
    for (int x = 0; x < lit.width(); ++x)
        whiteText = whiteText || QColor(lit.pixel(x, lit.height() / 2)) == QColor(Qt::white);
    EXPECT_TRUE(whiteText);
    EXPECT_TRUE(find("Pnl_MseKey")->isVisible());
    leave("Key_Standard");
    const QImage unlit = find("Pnl_Main")->grab().toImage();
    EXPECT_NE(QColor(unlit.pixel(entry->geometry().right() - 2, entry->geometry().top() + 1)),
              QColor(0, 128, 128));

    enter("Key_Special");
    EXPECT_FALSE(find("Pnl_MseKey")->isVisible());
    EXPECT_TRUE(find("Pnl_Special")->isVisible());
    enter("Key_Fire");
    const QImage fire = label("Key_Fire")->grab().toImage();
    EXPECT_EQ(QColor(fire.pixel(fire.width() - 2, 1)), QColor(0, 128, 128));
    leave("Key_Fire");
    leave("Key_Special");
    enter("Key_Assembly");
    EXPECT_FALSE(find("Pnl_Special")->isVisible());
    leave("Key_Assembly");
    // Without device macros the macro list stays closed.
    enter("Key_Macro");
    EXPECT_FALSE(find("LB_Name")->isVisible());

    // The page background closes every menu.
    clickIn(find("Img_P1"), QPoint(5, 5));
    EXPECT_FALSE(find("Pnl_Main")->isVisible());
}

TEST_F(ButtonPageTest, MenuCaptionsAndLabelsFollowTheLanguage) {
    click("Btn_Lang1_1");
    EXPECT_EQ(label("Key_Left")->text(), QString::fromUtf8(" * Botão Esquerdo"));
    EXPECT_EQ(label("Key_Assembly")->text(), QString::fromUtf8(" * Definido pelo usuário"));
    EXPECT_EQ(label("Key1")->text(), QString::fromUtf8("Botão Esquerdo"));
    choose(2, "Key_Standard", "Key_Left");
    EXPECT_EQ(label("Key2")->text(), QString::fromUtf8("Botão Esquerdo"));
    click("Btn_Lang2_1");
    EXPECT_EQ(label("Key2")->text(), "Left Key");
    EXPECT_EQ(label("Key_Left")->text(), " * Left Key");
}

TEST_F(ButtonPageTest, FireKeyWithCountFiveAndDelayFortyIsStoredAndReadBack) {
    type("Edt_Repeat1", "5");
    type("Edt_DelayTime1", "40");
    choose(4, "Key_Special", "Key_Fire");
    EXPECT_EQ(label("Key4")->text(), "Fire Key");
    click("Btn_Apply_1");
    EXPECT_EQ(mouseCode(4), (std::vector<std::uint8_t>{0x04, 0x0A, 0x28}));
    EXPECT_EQ(mouseCode(7), (std::vector<std::uint8_t>{0x04, 0x0A, 0x28})) << "shared by button 7";

    createWindow();
    tick();
    EXPECT_EQ(window->controls().get<QLineEdit>("Edt_Repeat1")->text(), "5");
    EXPECT_EQ(window->controls().get<QLineEdit>("Edt_DelayTime1")->text(), "40");
}

TEST_F(ButtonPageTest, FireKeyFieldsTakeDigitsOnlyAndMendWhatTheyHoldOnExit) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"Edt_Repeat1", "1", "2"},        {"Edt_Repeat1", "300", "127"},
        {"Edt_Repeat1", "0", "0"},        {"Edt_Repeat1", "", "2"},
        {"Edt_Repeat1", "a1b2", "12"},    {"Edt_DelayTime1", "", "2"},
        {"Edt_DelayTime1", "999", "255"}, {"Edt_DelayTime1", "0", "0"},
        {"Edt_DelayTime1", "1", "2"},     {"Edt_DelayTime1", "-7.", "7"},
    };
    for (const Case& c : cases) {
        type(c.field, c.typed);
        EXPECT_EQ(window->controls().get<QLineEdit>(c.field)->text(), c.shown)
            << c.field << " " << c.typed;
    }
    EXPECT_EQ(window->buttonModel().repeatText(), "12");
    EXPECT_EQ(window->buttonModel().delayText(), "7");
    // A field still being typed in when Apply is clicked shows what was written.
    auto* repeat = window->controls().get<QLineEdit>("Edt_Repeat1");
    repeat->setFocus();
    repeat->selectAll();
    QTest::keyClicks(repeat, "1");
    click("Btn_Apply_1");
    EXPECT_EQ(repeat->text(), "2");
    // Pasted text that is not a number never enters the field.
    auto* edit = window->controls().get<QLineEdit>("Edt_Repeat1");
    edit->selectAll();
    edit->insert("x9");
    EXPECT_EQ(edit->text(), "2");
}

TEST_F(ButtonPageTest, CombinationShowsAllTypedKeysUntilTheNextRefresh) {
    click("Key3");
    click("Key_Assembly");
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_FALSE(find("Pnl_Main")->isVisible());
    clickInDialog("CB_Ctrl");
    keyInDialog(Qt::Key_A);
    keyInDialog(Qt::Key_B);
    clickInDialog("IB_Confirm");
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(label("Key3")->text(), "Ctrl+A+B");
    click("Btn_Apply_1");
    EXPECT_EQ(mouseCode(3), (std::vector<std::uint8_t>{0x02, 0x01, 0x04}));
    EXPECT_TRUE(profileChecksumValid());
    // Opening the page again names the button from its code.
    click("Btn_Adv_1");
    click("Btn_Main_2");
    EXPECT_EQ(label("Key3")->text(), "Ctrl+A");
}

TEST_F(ButtonPageTest, DialogLeavesThePageFreeAndConfirmGoesToTheButtonSelectedThen) {
    click("Key2");
    click("Key_Assembly");
    EXPECT_FALSE(dialog()->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    click("Key5");  // the page still takes clicks
    clickIn(find("Img_P1"), QPoint(5, 5));
    clickInDialog("CB_Alt");
    keyInDialog(Qt::Key_F4);
    clickInDialog("IB_Confirm");
    EXPECT_EQ(label("Key5")->text(), "Alt+F4");
    EXPECT_EQ(label("Key2")->text(), "Middle Key");
    EXPECT_EQ(window->buttonModel().codeText(5), "02043D00");
}

TEST_F(ButtonPageTest, CloseBoxAndClearApplyNothing) {
    click("Key2");
    click("Key_Assembly");
    clickInDialog("CB_Shift");
    keyInDialog(Qt::Key_Z);
    clickInDialog("IB_Close");
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(label("Key2")->text(), "Middle Key");
    EXPECT_FALSE(window->buttonModel().keyCombination().confirmed);

    // Clear, then the close box: nothing either.
    click("Key2");
    click("Key_Assembly");
    keyInDialog(Qt::Key_Z);
    clickInDialog("IB_Cancel");
    EXPECT_FALSE(window->buttonModel().keyCombination().confirmed);
    clickInDialog("IB_Close");
    EXPECT_EQ(label("Key2")->text(), "Middle Key");
    click("Btn_Apply_1");
    EXPECT_EQ(mouseCode(2), (std::vector<std::uint8_t>{0x01, 0x04, 0x00}));
}

}  // namespace
}  // namespace kvr::test
