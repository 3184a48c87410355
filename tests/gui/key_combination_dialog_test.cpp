// The key combination dialog on its own: key events as the key table knows them, the boxes, the
// edit text, Confirm, Clear and the close box, its place and its captions.
#include "gui/pages/key_combination_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "gui/skin_widgets.h"
#include "base/language_table.h"
#include "buttons/key_table.h"
#include "pointer.h"

namespace kvr {
namespace {

struct KeyEventCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
    const char* name;  // what the dialog shows for it
};

TEST(QtKeyMap, KeysBecomeTheVirtualKeysOfTheKeyTable) {
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    const KeyEventCase cases[] = {
        {Qt::Key_A, none, 0x41, "A"},
        {Qt::Key_Z, none, 0x5A, "Z"},
        {Qt::Key_0, none, 0x30, "0"},
        {Qt::Key_7, none, 0x37, "7"},
        {Qt::Key_0, pad, 0x60, "0 (numeric pad)"},
        {Qt::Key_9, pad, 0x69, "9 (numeric pad)"},
        {Qt::Key_F1, none, 0x70, "F1"},
        {Qt::Key_F12, none, 0x7B, "F12"},
        {Qt::Key_F13, none, 0x7C, "F13"},
        {Qt::Key_F24, none, 0x87, "F24"},
        {Qt::Key_Asterisk, pad, 0x6A, "Multiply (numeric pad)"},
        {Qt::Key_Plus, pad, 0x6B, "Add (numeric pad)"},
        {Qt::Key_Comma, pad, 0x6C, "Separator (numeric pad)"},
        {Qt::Key_Minus, pad, 0x6D, "Subtract (numeric pad)"},
        {Qt::Key_Period, pad, 0x6E, "Decimal (numeric pad)"},
        {Qt::Key_Slash, pad, 0x6F, "Divide (numeric pad)"},
        {Qt::Key_Enter, pad, 0x0D, "Enter"},
        {Qt::Key_Home, pad, 0x24, "Home"},
        {Qt::Key_Return, none, 0x0D, "Enter"},
        {Qt::Key_Backspace, none, 0x08, "Backspace"},
        {Qt::Key_Tab, none, 0x09, "Tab"},
        {Qt::Key_Escape, none, 0x1B, "Esc"},
        {Qt::Key_Space, none, 0x20, "Space bar"},
        {Qt::Key_PageDown, none, 0x22, "Page Down"},
        {Qt::Key_Left, none, 0x25, "Left Arrow"},
        {Qt::Key_Down, none, 0x28, "Down Arrow"},
        {Qt::Key_Print, none, 0x2C, "Print Screen"},
        {Qt::Key_Insert, none, 0x2D, "Insert"},
        {Qt::Key_Delete, none, 0x2E, "Delete"},
        {Qt::Key_Pause, none, 0x13, "Pause"},
        {Qt::Key_CapsLock, none, 0x14, "Caps Lock"},
        {Qt::Key_NumLock, none, 0x90, "Num Lock"},
        {Qt::Key_ScrollLock, none, 0x91, "Scroll Lock"},
        {Qt::Key_Menu, none, 0x5D, "Applications"},
        {Qt::Key_Super_L, none, 0x5B, "Left Windows"},
        {Qt::Key_Super_R, none, 0x5C, "Right Windows"},
        {Qt::Key_Shift, none, 0x10, "Shift"},
        {Qt::Key_Semicolon, none, 0xBA, "OEM_1"},
        {Qt::Key_Slash, none, 0xBF, "OEM_2"},
        {Qt::Key_QuoteLeft, none, 0xC0, "OEM_3"},
        {Qt::Key_BracketLeft, none, 0xDB, "OEM_4"},
        {Qt::Key_Backslash, none, 0xDC, "OEM_5"},
        {Qt::Key_BracketRight, none, 0xDD, "OEM_6"},
        {Qt::Key_Apostrophe, none, 0xDE, "OEM_7"},
        {Qt::Key_Equal, none, 0xBB, "OEM_Plus"},
        {Qt::Key_Comma, none, 0xBC, "OEM_Comma"},
        {Qt::Key_Minus, none, 0xBD, "OEM_Minus"},
        {Qt::Key_Period, none, 0xBE, "OEM_Period"},
        {Qt::Key_Back, none, 0xA6, "Browser_Back"},
        {Qt::Key_Favorites, none, 0xAB, "Browser_Favorites"},
        {Qt::Key_HomePage, none, 0xAC, "Browser_Home"},
        {Qt::Key_VolumeUp, none, 0xAF, "Volume_Up"},
        {Qt::Key_MediaTogglePlayPause, none, 0xB3, "Media_Play_Pause"},
        {Qt::Key_MediaPrevious, none, 0xB1, "Media_Prev_Track"},
        {Qt::Key_LaunchMail, none, 0xB4, "Launch_Mail"},
        {Qt::Key_Launch0, none, 0xB6, "Launch_App1"},
        // Keys the table does not know.
        {Qt::Key_Exclam, none, 0, ""},
        {Qt::Key_Eacute, none, 0, ""},
        {Qt::Key_unknown, none, 0, ""},
        {Qt::Key_F25, none, 0, ""},
        // Calculator, where the platform reports it, is the second launch key.
        {Qt::Key_Calculator, none, 0xB7, "Launch_App2"},
    };
    for (const KeyEventCase& c : cases) {
        const int vk = virtualKeyOf(c.key, c.modifiers);
        EXPECT_EQ(vk, c.virtualKey) << c.name << " " << c.key;
        if (vk != 0) {
            EXPECT_EQ(KeyIndexToName(VirtualKeyToKeyIndex(vk)), c.name);
        }
    }
}

class KeyDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.setGeometry(100, 50, 800, 600);
        main.show();
        dialog = new KeyCombinationDialog(
            &main, [this](std::string_view key) { return LanguageText(language, key); });
        dialog->confirmed = [this](const KeyCombinationResult& r) { results.push_back(r); };
        dialog->cleared = [this] { ++clears; };
        dialog->open();
    }
    template <typename T = QWidget>
    T* find(const char* name) {
        return dialog->findChild<T*>(name);
    }
    void click(const char* name) {
        QWidget* w = find(name);
        ASSERT_NE(w, nullptr) << name;
        test::clickOn(w);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(edit(), k, m); }
    QLineEdit* edit() { return find<QLineEdit>("Edt_Assembly"); }
    QString shown() { return edit()->text(); }

    int language = 2;
    QWidget main;
    KeyCombinationDialog* dialog = nullptr;
    std::vector<KeyCombinationResult> results;
    int clears = 0;
};

TEST_F(KeyDialogTest, OpensBorderlessOnTopWithoutBlockingBelowTheCentreWithCaptions) {
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog->size(), QSize(355, 180));
    EXPECT_EQ(dialog->pos(), QPoint(100 + (800 - 355) / 2, 50 + (600 - 180) / 2 + 40));
    EXPECT_EQ(find<QLabel>("lbl_Assembly")->text(), "Assembly Key");
    EXPECT_EQ(find<QLabel>("IB_Confirm")->text(), "Confirm");
    EXPECT_EQ(find<QLabel>("IB_Cancel")->text(), "Clear");
    EXPECT_TRUE(edit()->isReadOnly());
    EXPECT_EQ(find<SkinImage>("Img_Assembly")->pictureName(), "AssemblyDlgBack");
    // The see-through corners are not part of the window.
    EXPECT_FALSE(dialog->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(dialog->mask().contains(QPoint(177, 90)));

    // Captions are read when the dialog is shown.
    dialog->close();
    language = 1;
    dialog->open();
    EXPECT_EQ(find<QLabel>("IB_Confirm")->text(), QString::fromUtf8("Confirmar"));
    EXPECT_EQ(find<QLabel>("IB_Cancel")->text(), "Limpar");
}

TEST_F(KeyDialogTest, CtrlAltAConfirmsTheCodeAndCloses) {
    click("CB_Ctrl");
    click("CB_Alt");
    key(Qt::Key_A);
    EXPECT_EQ(shown(), "Ctrl+Alt+A");
    click("IB_Confirm");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].codeText, "02050400");
    EXPECT_EQ(results[0].caption, "Ctrl+Alt+A");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(KeyDialogTest, TypedKeysWithBoxesTickedAndUnticked) {
    key(Qt::Key_A);
    click("CB_Shift");
    EXPECT_EQ(shown(), "Shift+A");
    EXPECT_TRUE(find<QCheckBox>("CB_Shift")->isChecked());
    click("CB_Shift");
    EXPECT_EQ(shown(), "A");
    key(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(shown(), "A+1 (numeric pad)");
    key(Qt::Key_C);
    EXPECT_EQ(shown(), "C") << "the third key starts again";
}

TEST_F(KeyDialogTest, HeldModifiersWindowsKeysAndUnknownKeysAddNothing) {
    key(Qt::Key_A, Qt::ShiftModifier);
    key(Qt::Key_B, Qt::ControlModifier);
    key(Qt::Key_C, Qt::AltModifier);
    key(Qt::Key_Shift);
    key(Qt::Key_Control);
    key(Qt::Key_Super_L);
    key(Qt::Key_Super_R);
    key(Qt::Key_Exclam);
    EXPECT_EQ(shown(), "");
    key(Qt::Key_Tab);
    EXPECT_EQ(shown(), "Tab") << "Tab is a key, not a move of the focus";
    EXPECT_TRUE(results.empty());
}

TEST_F(KeyDialogTest, ClearEmptiesEverythingAndStaysOpen) {
    click("CB_Ctrl");
    click("CB_Win");
    key(Qt::Key_A);
    click("IB_Cancel");
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(shown(), "");
    for (const char* box : {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"})
        EXPECT_FALSE(find<QCheckBox>(box)->isChecked()) << box;
    EXPECT_TRUE(dialog->isVisible());
    click("IB_Confirm");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].codeText, "02000000");
    EXPECT_EQ(results[0].caption, "");
}

TEST_F(KeyDialogTest, CloseBoxAppliesNothingAndReopeningStartsEmpty) {
    click("CB_Alt");
    key(Qt::Key_F5);
    click("IB_Close");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(results.empty());
    dialog->open();
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(find<QCheckBox>("CB_Alt")->isChecked());
}

TEST_F(KeyDialogTest, HoverPicturesShowUnderThePointer) {
    QWidget* hover = find("Img_Confirm");
    EXPECT_FALSE(hover->isVisible());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(find("IB_Confirm"), &enter);
    EXPECT_TRUE(hover->isVisible());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(find("IB_Confirm"), &leave);
    EXPECT_FALSE(hover->isVisible());
    EXPECT_FALSE(find("Img_Cancel")->isVisible());
}

}  // namespace
}  // namespace kvr
