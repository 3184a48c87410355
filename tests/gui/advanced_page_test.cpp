#include "gui/pages/advanced_page.h"

#include <gmock/gmock.h>

#include <QLineEdit>

#include "params/checksum.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class AdvancedPageTest : public WindowTest {
protected:
    // A read mouse with its factory settings, the advanced page shown.
    void openPage() {
        plugAndRead();
        click("Btn_Adv_1");
        ASSERT_TRUE(find("gbPage2")->isVisible());
    }

    QColor textColour(const QString& name) {
        return label(name)->palette().color(QPalette::WindowText);
    }
    QColor inUseColour() { return toQColor(window->layoutState().values().DpiSelectedColor); }

    int litSegments(const QString& scale, int count) {
        int lit = 0;
        for (int k = 1; k <= count; ++k)
            lit += picture(QString("Img_%1%2").arg(scale).arg(k)).endsWith("_E");
        return lit;
    }
};

TEST_F(AdvancedPageTest, LevelsStepsAndColoursClickedOnThePageReachTheMouse) {
    openPage();
    EXPECT_EQ(fieldText("Edt_CPI8Color"), "7") << "as read: a field takes its rule when left";
    // Factory settings: levels 1 to 4 in use, level 2 current.
    click("lbl_DPI6");  // above a gap
    EXPECT_NE(textColour("lbl_DPI6"), inUseColour());
    click("Img_DPI6");  // out of use: takes no click
    EXPECT_EQ(picture("Img_DPI2"), "CbS_E");

    EXPECT_NE(textColour("lbl_DPI5Value"), textColour("lbl_DPI1Value")) << "dim while unset";
    click("lbl_DPI5");
    EXPECT_EQ(textColour("lbl_DPI5"), inUseColour());
    EXPECT_TRUE(find("Img_DPI5_1")->isEnabled());
    EXPECT_EQ(textColour("lbl_DPI5Value"), textColour("lbl_DPI1Value"))
        << "a newly enabled level's value reads as the others";
    click("Img_DPI5");
    EXPECT_EQ(picture("Img_DPI5"), "CbS_E");
    EXPECT_EQ(picture("Img_DPI2"), "CbS_D");
    click("lbl_DPI3");  // below the highest level in use
    EXPECT_EQ(textColour("lbl_DPI3"), inUseColour());
    click("lbl_DPI5");  // the current level leaves: the one below becomes current
    EXPECT_NE(textColour("lbl_DPI5"), inUseColour());
    EXPECT_FALSE(find("Img_DPI5")->isEnabled());
    EXPECT_EQ(picture("Img_DPI4"), "CbS_E");

    click("Img_DPI3_6");
    EXPECT_EQ(label("lbl_DPI3Value")->text(), "2400");
    EXPECT_EQ(picture("Img_DPI3_6"), "Bar2_E");
    EXPECT_EQ(picture("Img_DPI3_7"), "Bar2_D");

    type("Edt_CPI1Color", "");
    type("Edt_CPI2Color", "9");
    type("Edt_CPI3Color", "x4y");
    type("Edt_CPI8Color", "3");
    type("Edt_CPI4Color", "", false);  // still being typed in when Apply is clicked
    EXPECT_EQ(fieldText("Edt_CPI1Color"), "0");
    EXPECT_EQ(fieldText("Edt_CPI2Color"), "6");
    EXPECT_EQ(fieldText("Edt_CPI3Color"), "4") << "only digits are typed";

    click("Btn_Apply_2");
    const auto memory = mouse->memory();
    EXPECT_EQ(memory[1], 4) << "levels in use";
    // Level 3's "2400" is the first step with that text; level 5 is out of use.
    EXPECT_THAT(std::vector(memory.begin() + 9, memory.begin() + 17),
                ElementsAre(2, 4, 4, 7, 0, 0, 0, 0));
    EXPECT_THAT(std::vector(memory.begin() + 20, memory.begin() + 28),
                ElementsAre(0, 6, 4, 0, 4, 5, 6, 7));
    EXPECT_EQ(fieldText("Edt_CPI4Color"), "0");
    EXPECT_EQ(memory[38], 3) << "level 4 current";
    EXPECT_EQ(memory[39], 0xFC);
}

TEST_F(AdvancedPageTest, PointerScalesShowTheDesktopAndApplySetsIt) {
    pointerStore.values = {
        {PointerValue::MouseSensitivity, 10},  {PointerValue::MouseThreshold1, 6},
        {PointerValue::MouseThreshold2, 10},   {PointerValue::MouseSpeed, 1},
        {PointerValue::DoubleClickSpeed, 500}, {PointerValue::WheelScrollLines, 3}};
    createWindow();  // read when the window is created
    EXPECT_EQ(litSegments("Spd", 10), 6);
    EXPECT_EQ(litSegments("DbSpd", 10), 7) << "480 ms lies nearest to 500 ms";
    EXPECT_EQ(litSegments("ScrSpd", 10), 3);

    pointerStore.values[PointerValue::WheelScrollLines] = 5;
    openPage();  // and read again with the mouse
    EXPECT_EQ(litSegments("ScrSpd", 10), 5);

    click("Img_Spd3");
    click("Img_DbSpd10");
    EXPECT_EQ(litSegments("Spd", 10), 3);
    EXPECT_EQ(litSegments("DbSpd", 10), 10);
    pointerStore.calls.clear();
    dialogs.answers << 0;  // Yes
    click("Btn_Reset_2");
    EXPECT_THAT(pointerStore.changes(), IsEmpty()) << "Reset leaves the desktop alone";

    click("Btn_Adv_1");
    click("Img_Spd3");
    click("Img_DbSpd10");
    click("Btn_Apply_2");
    EXPECT_THAT(
        pointerStore.changes(),
        ElementsAre("write MouseSensitivity 4", "write DoubleClickSpeed 270",
                    "write WheelScrollLines 5", "applyPointerSpeed 4", "applyAcceleration 6 10 1",
                    "applyDoubleClickTime 270", "applyScrollLines 5"));
}

TEST_F(AdvancedPageTest, TheDesktopIsReadWhenTheScalesShowOrApplyNeedsIt) {
    pointerStore.values = {{PointerValue::MouseSensitivity, 10},
                           {PointerValue::WheelScrollLines, 3}};
    plugAndRead();
    EXPECT_THAT(pointerStore.calls, IsEmpty()) << "start and read, the scales never shown";

    // The owner changes the desktop meanwhile: Apply hands back what it holds now.
    pointerStore.values[PointerValue::WheelScrollLines] = 5;
    click("Btn_Apply_1");
    ASSERT_FALSE(pointerStore.calls.empty());
    EXPECT_EQ(pointerStore.calls.front(), "read MouseSensitivity");
    EXPECT_THAT(pointerStore.changes(),
                ElementsAre("write MouseSensitivity 10", "write WheelScrollLines 5",
                            "applyPointerSpeed 10", "applyScrollLines 5"));

    pointerStore.calls.clear();
    click("Btn_Adv_1");
    EXPECT_THAT(pointerStore.calls, IsEmpty()) << "the values were read for Apply";
    EXPECT_EQ(litSegments("ScrSpd", 10), 5);
}

TEST_F(AdvancedPageTest, ScalesTakeClicksDragsTheWheelAndTheirSigns) {
    openPage();
    auto at = [&](const QString& image, QPoint offset = {}) {
        return centreInWindow(find(image)) + offset;
    };
    QWidget* w = window.get();
    // The segment under the pointer, then a drag along the scale.
    clickAt(w, at("Img_Spd4"));
    EXPECT_EQ(litSegments("Spd", 10), 4);
    dragAt(w, at("Img_Spd2"), at("Img_Spd9"));
    EXPECT_EQ(litSegments("Spd", 10), 9);
    // A drag past the end stops at the last segment.
    dragAt(w, at("Img_Spd5"), at("Img_Spd10", QPoint(60, 0)));
    EXPECT_EQ(litSegments("Spd", 10), 10);

    // The signs beside the segments step down and up, and stop at the ends.
    clickAt(w, at("Img_DbSpd1", QPoint(-20, 0)));
    EXPECT_EQ(litSegments("DbSpd", 10), 1) << "from no level, down is the first";
    clickAt(w, at("Img_DbSpd10", QPoint(20, 0)));
    EXPECT_EQ(litSegments("DbSpd", 10), 2);
    for (int i = 0; i < 12; ++i) clickAt(w, at("Img_DbSpd10", QPoint(20, 0)));
    EXPECT_EQ(litSegments("DbSpd", 10), 10);

    // The wheel over a scale moves it a level per notch.
    clickAt(w, at("Img_ScrSpd5"));
    wheelAt(w, at("Img_ScrSpd2"), 2);
    EXPECT_EQ(litSegments("ScrSpd", 10), 7);
    wheelAt(w, at("Img_ScrSpd2"), -3);
    EXPECT_EQ(litSegments("ScrSpd", 10), 4);

    click("Btn_Apply_2");
    EXPECT_EQ(pointerStore.values[PointerValue::MouseSensitivity], 18);
    EXPECT_EQ(pointerStore.values[PointerValue::DoubleClickSpeed], 270);
    EXPECT_EQ(pointerStore.values[PointerValue::WheelScrollLines], 4);
}

TEST_F(AdvancedPageTest, PointerSettingsAreSetEvenWhenTheMouseDoesNotAnswer) {
    openPage();
    click("Img_ScrSpd2");
    mouse->refuseNext(1000);
    click("Btn_Confirm_2");
    EXPECT_THAT(pointerStore.changes(),
                ElementsAre("write WheelScrollLines 2", "applyScrollLines 2"));
}

}  // namespace
}  // namespace kvr::test
