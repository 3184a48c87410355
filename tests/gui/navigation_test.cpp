// Page buttons, language buttons, hover feedback, the web button and the input shields.
#include <QApplication>
#include <QEnterEvent>
#include <QRadioButton>

#include "gui/skin.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

const QString kNoDevice = "Dispositivo específico não encontrado";
const QStringList kPageButtons = {"Main", "Adv", "Breath", "Macro"};
const QStringList kMenus = {"Pnl_Main",     "Pnl_MseKey",    "Pnl_Special", "Pnl_Media",
                            "Pnl_WWW",      "Pnl_MyPC",      "LB_Name",     "Pnl_PCMacro",
                            "Pnl_DevMacro", "Pnl_DevContent"};

class NavigationTest : public WindowTest {
protected:
    // The picture on the four copies of a common button, or a note of the first that differs.
    QString copies(const QString& button) {
        const QString first = picture(QString("Img_%1_1").arg(button));
        for (int p = 2; p <= 4; ++p) {
            const QString other = picture(QString("Img_%1_%2").arg(button).arg(p));
            if (other != first) return QString("copy %1 shows %2").arg(p).arg(other);
        }
        return first;
    }
    int shownPage() {
        int shown = 0;
        for (int p = 1; p <= 4; ++p)
            if (window->controls().page(p)->isVisible()) shown = shown == 0 ? p : -1;
        return shown;
    }
    bool checked(const QString& choice) {
        return window->controls().get<QRadioButton>(choice)->isChecked();
    }
};

TEST_F(NavigationTest, PageButtonsWithoutAMouseSayNoDeviceAndKeepThePage) {
    for (const QString& button : kPageButtons) {
        SCOPED_TRACE(button.toStdString());
        dialogs.messages.clear();
        dialogs.texts.clear();
        click("Btn_" + button + "_1");
        moveAway();
        ASSERT_EQ(dialogs.texts, QStringList{kNoDevice});
        EXPECT_EQ(dialogs.messages[0], window->titleText() + ": " + kNoDevice);
        EXPECT_EQ(shownPage(), 1);
        EXPECT_TRUE(checked("rb_1"));
        EXPECT_EQ(copies("Main"), "SetS_02");
        EXPECT_EQ(copies(button == "Main" ? "Adv" : button), "SetS_01");
    }
}

// The window starts with the pictures of the page it shows; another page's pictures are made
// when that page first opens, at the size the layout placed them by.
TEST_F(NavigationTest, APageMakesItsPicturesWhenItFirstOpens) {
    plugAndRead();
    SkinImage* panel = window->controls().image("Img_P3");
    SkinImage* option = window->controls().image("Img_Web_3");
    ASSERT_TRUE(panel && option);
    for (SkinImage* image : {panel, option}) {
        EXPECT_TRUE(image->pixmap().isNull()) << image->objectName().toStdString();
        EXPECT_FALSE(image->pictureName().isEmpty());
    }
    const QSize panelSize = panel->size();
    EXPECT_EQ(panelSize, decodeBuiltInPicture(panel->pictureName())->size());

    click("Btn_Breath_1");
    ASSERT_EQ(shownPage(), 3);
    for (SkinImage* image : {panel, option}) {
        SCOPED_TRACE(image->objectName().toStdString());
        ASSERT_FALSE(image->pixmap().isNull());
        EXPECT_EQ(image->pixmap().size(), image->size());
        EXPECT_EQ(image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                  decodeBuiltInPicture(image->pictureName())->convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_EQ(panel->size(), panelSize);
}

// The window's shape: every pixel of the background but its see-through maroon, and nothing
// below the background.
TEST_F(NavigationTest, TheWindowTakesTheShapeOfItsBackground) {
    const QImage background = *decodeBuiltInPicture("L1_BackGround");
    QRegion expected;
    for (int y = 0; y < background.height(); ++y) {
        for (int x = 0; x < background.width();) {
            const auto seen = [&](int at) { return background.pixelColor(at, y) != QColor(128, 0, 0); };
            if (!seen(x)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < background.width() && seen(end)) ++end;
            expected += QRect(x, y, end - x, 1);
            x = end;
        }
    }
    EXPECT_EQ(window->mask(), expected);
    EXPECT_FALSE(window->mask().contains(QPoint(400, 599)));
}

TEST_F(NavigationTest, PageButtonsDoNothingWhileTheWindowShowsNoDevice) {
    tick();  // no mouse: the no-device appearance
    plugMouse(2);
    tick();  // opened, but the other variant is never read
    ASSERT_TRUE(window->mouseOpen());
    ASSERT_TRUE(window->errorAppearance());
    dialogs.texts.clear();
    for (const QString& button : kPageButtons) click("Btn_" + button + "_1");
    moveAway();
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_EQ(shownPage(), 1);
    EXPECT_EQ(copies("Main"), "SetS_02");
    EXPECT_EQ(copies("Macro"), "SetS_01");
}

TEST_F(NavigationTest, PageButtonsShowTheirPageWithAMouse) {
    plugAndRead();
    ASSERT_TRUE(window->mouseOpen());
    dialogs.texts.clear();
    struct Case {
        QString button;
        int page;
        QString choice;
    };
    // Main last, so that every page is left from another one.
    const Case cases[] = {{"Adv", 2, "rb_4"},
                          {"Breath", 3, "rb_5"},
                          {"Macro", 4, "rb_6"},
                          {"Main", 1, "rb_1"},
                          {"Main", 1, "rb_1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button.toStdString());
        for (const QString& menu : kMenus) find(menu)->show();
        const int from = shownPage();
        click(QString("Btn_%1_%2").arg(c.button).arg(from));
        EXPECT_EQ(shownPage(), c.page);
        for (const char* choice : {"rb_1", "rb_4", "rb_5", "rb_6"})
            EXPECT_EQ(checked(choice), c.choice == choice) << choice;
        for (const QString& b : kPageButtons + QStringList{"Save", "Load"})
            EXPECT_EQ(copies(b), b == c.button ? "SetS_02" : "SetS_01") << b.toStdString();
        EXPECT_EQ(picture(QString("Img_P%1").arg(c.page)), QString("L1_Back%1").arg(c.page));
        for (const QString& menu : kMenus)
            EXPECT_TRUE(find(menu)->isHidden()) << menu.toStdString();
        EXPECT_FALSE(find("Disable")->isVisible());
    }
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST_F(NavigationTest, MacroPageShowsTheDelayGroupWhenNotInserting) {
    plugAndRead();
    click("Btn_Macro_1");
    EXPECT_TRUE(find("Gb_Delay")->isVisible());
    EXPECT_FALSE(find("Gb_Insert")->isVisible());
    EXPECT_FALSE(find("Img_InsertBase")->isVisible());
}

TEST_F(NavigationTest, LanguageButtonsWorkWithoutAMouseAndLaterPagesGetTheNewPanel) {
    click("Btn_Lang2_1");
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_EQ(label("Btn_Apply_1")->text(), "Apply");
    EXPECT_EQ(label("Btn_Apply_3")->text(), "Apply");
    EXPECT_TRUE(checked("rb_Lang2"));
    EXPECT_EQ(copies("Lang2"), "SetS_02");
    EXPECT_EQ(copies("Lang1"), "SetS_01");

    plugAndRead();
    click("Btn_Breath_1");
    EXPECT_EQ(picture("Img_P3"), "L2_Back3");
}

TEST_F(NavigationTest, LanguageSwitchWithoutAMouseGivesTheShownPageOneItsNewPanel) {
    plugAndRead();
    click("Btn_Breath_1");
    bus.unplug(kMousePath);
    tick();  // page 1 shown, page 3 still current
    click("Btn_Lang2_1");
    EXPECT_EQ(shownPage(), 1);
    EXPECT_EQ(picture("Img_P1"), "L2_Back1");
    EXPECT_EQ(picture("Img_Base_1"), "L2_BackGround");
}

TEST_F(NavigationTest, MarqueeScrollsTheHoveredCaptionAndLeaveRestoresIt) {
    click("Btn_Lang2_1");
    enter("Btn_Apply_1");
    EXPECT_EQ(copies("Apply"), "BtnS_02");
    EXPECT_TRUE(window->marquee().isActive());
    EXPECT_EQ(window->marquee().interval(), 200);
    const struct {
        int ticks;
        QString caption;
    } steps[] = {{1, "pply    A"}, {2, "ply    Ap"}, {9, "Apply    "}};
    int done = 0;
    for (const auto& s : steps) {
        tickMarquee(s.ticks - done);
        done = s.ticks;
        EXPECT_EQ(label("Btn_Apply_1")->text(), s.caption) << "after " << s.ticks << " ticks";
    }
    leave("Btn_Apply_1");
    EXPECT_FALSE(window->marquee().isActive());
    EXPECT_EQ(label("Btn_Apply_1")->text(), "Apply");
    EXPECT_EQ(copies("Apply"), "BtnS_01");
}

TEST_F(NavigationTest, EachButtonFamilyShowsItsHoverPictureAndScrolls) {
    const struct {
        const char* label;
        const char* image;  // for the common buttons, a copy other than the hovered one
        const char* hover;
        const char* normal;
    } cases[] = {
        {"Btn_Confirm_2", "Img_Confirm_4", "BtnS_02", "BtnS_01"},
        {"Btn_Save_1", "Img_Save_1", "SetS_03", "SetS_01"},
        {"Key3", "Img_Key3", "KeyS_02", "KeyS_01"},
        {"Btn_Lang3_2", "Img_Lang3_2", "SetS_03", "SetS_01"},
        {"Btn_SaveMacro", "Img_SaveMacro", "MacroS_02", "MacroS_01"},
        {"Btn_OK", "Img_OK", "MacroBtnS_02", "MacroBtnS_01"},
        {"Btn_Cancel", "Img_Cancel", "MacroBtnS_02", "MacroBtnS_01"},
        {"Btn_Start", "Img_Start", "MacroS_02", "MacroS_01"},
        {"Btn_InsertStart", "Img_InsertStart", "MacroS_02", "MacroS_01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        label(c.label)->setText("Go");
        enter(c.label);
        EXPECT_EQ(picture(c.image), c.hover);
        EXPECT_TRUE(window->marquee().isActive());
        tickMarquee(1);
        EXPECT_EQ(label(c.label)->text(), "o    G");
        leave(c.label);
        EXPECT_EQ(picture(c.image), c.normal);
        EXPECT_EQ(label(c.label)->text(), "Go");
        EXPECT_FALSE(window->marquee().isActive());
    }
}

TEST_F(NavigationTest, DisabledLabelGetsItsHoverPictureButNoMarquee) {
    enter("Btn_Exit_1");
    leave("Btn_Exit_1");
    enter("Btn_Exit_1");  // its leave never comes: the marquee is still on
    label("Btn_Apply_1")->setEnabled(false);
    const QString caption = label("Btn_Apply_1")->text();
    enter("Btn_Apply_1");
    EXPECT_EQ(copies("Apply"), "BtnS_02");
    EXPECT_FALSE(window->marquee().isActive());
    leave("Btn_Apply_1");
    EXPECT_EQ(copies("Apply"), "BtnS_01");
    EXPECT_EQ(label("Btn_Apply_1")->text(), caption);
}

TEST_F(NavigationTest, LeavingTheSelectedPageOrLanguageShowsItSelectedAgain) {
    plugAndRead();
    click("Btn_Adv_1");
    const struct {
        const char* label;
        const char* button;  // whose copies are checked after the leave
        const char* picture;
    } cases[] = {
        {"Btn_Adv_2", "Adv", "SetS_02"},     {"Btn_Main_2", "Main", "SetS_01"},
        {"Btn_Main_2", "Adv", "SetS_02"},    {"Btn_Lang1_2", "Lang1", "SetS_02"},
        {"Btn_Lang3_2", "Lang3", "SetS_01"}, {"Btn_Lang3_2", "Lang1", "SetS_02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        enter(c.label);
        EXPECT_EQ(picture(QString("Img_") + (c.label + 4)), "SetS_03");
        leave(c.label);
        EXPECT_EQ(copies(c.button), c.picture);
    }
}

TEST_F(NavigationTest, WithoutAMouseLeavingTheMainButtonKeepsPageOneSelected) {
    plugAndRead();
    click("Btn_Breath_1");
    bus.unplug(kMousePath);
    tick();  // the no-device appearance shows page 1 while page 3 stays the current page
    ASSERT_TRUE(window->errorAppearance());
    ASSERT_EQ(shownPage(), 1);
    enter("Btn_Main_1");
    leave("Btn_Main_1");
    EXPECT_EQ(copies("Main"), "SetS_02");
    EXPECT_EQ(copies("Breath"), "SetS_01");
}

TEST_F(NavigationTest, MacroCommandLabelsLightUpWithoutAMarquee) {
    QLabel* import = label("Btn_Import");
    const std::string hovered = window->hoverState().labelName;
    enter("Btn_Import");
    EXPECT_EQ(import->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(import->palette().color(QPalette::Window),
              window->palette().color(QPalette::Highlight));
    EXPECT_FALSE(window->marquee().isActive());
    EXPECT_EQ(window->hoverState().labelName, hovered);
    leave("Btn_Import");
    const LayoutValues& values = window->layoutState().values();
    EXPECT_EQ(import->palette().color(QPalette::WindowText), toQColor(values.MacroListTextColor));
    EXPECT_EQ(import->palette().color(QPalette::Window), toQColor(values.MacroListBackColor));
}

TEST_F(NavigationTest, WebButtonLightsOnlyWithAMouseAndAlwaysOpensTheAddress) {
    const QString address = QString::fromStdString(window->layoutState().org().WebAddress);
    ASSERT_FALSE(address.isEmpty());
    enter("Btn_Web_2");
    EXPECT_EQ(copies("Web"), "WebS_01");
    EXPECT_FALSE(window->marquee().isActive());
    leave("Btn_Web_2");
    click("Btn_Web_2");
    EXPECT_EQ(copies("Web"), "WebS_02");
    EXPECT_EQ(desktop.opened, QStringList{address});
    EXPECT_TRUE(dialogs.texts.isEmpty());

    plugAndRead();
    enter("Btn_Web_1");
    EXPECT_EQ(copies("Web"), "WebS_03");
    leave("Btn_Web_1");
    EXPECT_EQ(copies("Web"), "WebS_01");
}

TEST_F(NavigationTest, InputShieldsCoverEveryPageAndTakeTheClicks) {
    tick();  // no mouse: the key area's click-catcher is raised over the page
    dialogs.texts.clear();
    click("Btn_Main_1");
    ASSERT_EQ(dialogs.texts, QStringList{kNoDevice}) << "the click must reach the button";

    window->ShowInputShields();
    for (int p = 1; p <= 4; ++p) EXPECT_FALSE(find(QString("Disable_All_%1").arg(p))->isHidden());
    for (const char* covered : {"Btn_Main_1", "Key1", "Img_Base_1"}) {
        QWidget* w = find(covered);
        EXPECT_EQ(window->childAt(w->mapTo(window.get(), w->rect().center())),
                  find("Disable_All_1"))
            << covered;
    }
    click("Btn_Main_1");
    EXPECT_EQ(dialogs.texts.size(), 1);

    window->HideInputShields();
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(find(QString("Disable_All_%1").arg(p))->isHidden());
    click("Btn_Main_1");
    EXPECT_EQ(dialogs.texts.size(), 2);
}

}  // namespace
}  // namespace kvr::test
