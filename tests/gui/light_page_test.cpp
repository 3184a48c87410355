#include <QApplication>
#include <QLineEdit>

#include "params/checksum.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

// Mouse memory of the parameter block (variant 1).
constexpr std::size_t kConfigFlags = 0;
constexpr std::size_t kLedMode = 40;
constexpr std::size_t kLedModeInv = 41;

class LightPageTest : public WindowTest {
protected:
    // A mouse whose light flags read `flags`, read and its light page shown.
    void openPageWithFlags(std::uint8_t flags) {
        plugMouse();
        mouse->memory()[kConfigFlags] = flags;
        setChecksum(mouse->memory().first(38), 37);
        tick();
        click("Btn_Breath_1");
        ASSERT_TRUE(find("gbPage3")->isVisible());
    }

    bool shown(const QString& name) { return find(name)->isVisible(); }
    std::uint8_t at(std::size_t offset) { return mouse->memory()[offset]; }
};

TEST_F(LightPageTest, TheIndicatorTheWordAndTheKeyboardEachChooseOnTheFactoryMouse) {
    plugAndRead();
    click("Btn_Breath_1");
    QWidget* w = window.get();
    // The indicator circle, then a point on the word the panel paints beside it.
    clickAt(w, centreInWindow(find("Img_MCPIOn")));
    EXPECT_EQ(picture("Img_MCPIOn"), "RdS_E");
    clickAt(w, centreInWindow(find("Img_LEDColorBre1")) + QPoint(40, 0));
    EXPECT_EQ(picture("Img_LEDColorBre1"), "RdS_E");
    clickAt(w, centreInWindow(find("Img_LEDKeyOn")) + QPoint(30, 0));
    EXPECT_EQ(picture("Img_LEDKeyOn"), "RdS_E");

    // Tab reaches the choices and Space picks the one with the focus.
    QApplication::setActiveWindow(window.get());
    find("lbl_LEDColorBre2")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), find("lbl_LEDColorBre2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(picture("Img_LEDColorBre2"), "RdS_E");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), find("lbl_LEDColorBre2"));

    click("Btn_Apply_3");
    EXPECT_EQ(at(kConfigFlags) & 1, 0) << "M+CPI on";
    EXPECT_EQ(at(kLedMode) & 0x80, 0x80) << "button effect on";
}

TEST_F(LightPageTest, BreathingModesClickedOnThePageReachTheMouse) {
    openPageWithFlags(0xFF);  // colour light, sync, breathing: the breathing modes
    EXPECT_EQ(picture("Img_P3"), "L1_Back3");
    EXPECT_TRUE(shown("lbl_LEDColorBre1"));
    EXPECT_FALSE(shown("lbl_LEDNTMode1"));
    EXPECT_FALSE(shown("lbl_LEDColorMode1"));
    EXPECT_EQ(picture("Img_MCPIOff"), "RdS_E");

    click("lbl_MCPIOn");
    click("lbl_LEDKeyOn");
    click("lbl_LEDColorBre2");
    EXPECT_EQ(picture("Img_MCPIOn"), "RdS_E");
    EXPECT_EQ(picture("Img_MCPIOff"), "RdS_D");
    EXPECT_EQ(picture("Img_LEDColorBre2"), "RdS_E");
    EXPECT_EQ(picture("Img_LEDColorBre1"), "RdS_D");
    // The layout puts the breathing times off the window; typing still reaches them.
    type("edt_LightTime", "");
    type("edt_RiseTime", "999");
    EXPECT_EQ(fieldText("edt_LightTime"), "0");
    EXPECT_EQ(fieldText("edt_RiseTime"), "255");

    click("Btn_Apply_3");
    EXPECT_EQ(at(kConfigFlags), 0xE6) << "M+CPI on; no sync, no breathing";
    EXPECT_EQ(at(kLedMode), 0x85);
    EXPECT_EQ(at(kLedModeInv), 0x7A);
    EXPECT_EQ(at(29), 255);
    EXPECT_EQ(at(30), 0);

    // The next read offers the breathing modes again, with mode 2 chosen.
    bus.unplug(kMousePath);
    tick();
    kvr::plugMouse(bus, mouse, kMousePath);
    tick();
    click("Btn_Breath_1");
    EXPECT_TRUE(shown("lbl_LEDColorBre1"));
    EXPECT_EQ(picture("Img_LEDColorBre2"), "RdS_E");
}

TEST_F(LightPageTest, NTModesAndTimesClickedOnThePageReachTheMouse) {
    openPageWithFlags(0x00);
    EXPECT_EQ(picture("Img_P3"), "L1_Back3NT");
    for (int m = 1; m <= 5; ++m) EXPECT_TRUE(shown(QString("lbl_LEDNTMode%1").arg(m)));
    EXPECT_FALSE(shown("lbl_LEDColorBre1"));
    for (const char* f : {"edt_LEDNTMode1Time", "edt_LEDNTMode2Time", "edt_LEDNTMode2Hold",
                          "edt_LEDNTMode3Time", "edt_LEDNTMode3Count"})
        EXPECT_TRUE(shown(f)) << f;

    click("lbl_LEDNTMode1");
    click("lbl_LEDNTMode4");
    click("lbl_LEDKeyOn");
    EXPECT_EQ(picture("Img_LEDNTMode4"), "RdS_E");
    EXPECT_EQ(picture("Img_LEDNTMode1"), "RdS_D");
    type("edt_LEDNTMode2Hold", "");
    type("edt_LEDNTMode3Count", "");
    type("edt_LEDNTMode1Time", "256");
    type("edt_LEDNTMode2Time", "7");
    type("edt_LEDNTMode3Time", "", false);  // still being typed in when Apply is clicked
    EXPECT_EQ(fieldText("edt_LEDNTMode2Hold"), "50");
    EXPECT_EQ(fieldText("edt_LEDNTMode3Count"), "16");
    EXPECT_EQ(fieldText("edt_LEDNTMode1Time"), "255");

    click("Btn_Apply_3");
    EXPECT_EQ(at(kLedMode), 0x83);
    EXPECT_EQ(at(kLedModeInv), 0x7C);
    EXPECT_EQ(at(kConfigFlags), 0x00);
    EXPECT_EQ(at(2), 255);
    EXPECT_EQ(at(3), 7);
    EXPECT_EQ(at(4), 20);
    EXPECT_EQ(fieldText("edt_LEDNTMode3Time"), "20");
    EXPECT_EQ(at(34), 50);
    EXPECT_EQ(at(35), 16);

    // The panel follows the language.
    click("Btn_Breath_1");
    click("Btn_Lang2_3");
    EXPECT_EQ(picture("Img_P3"), "L2_Back3NT");
}

TEST_F(LightPageTest, ColourModesNeverChangeTheFlags) {
    openPageWithFlags(0x0C);  // colour light, sync, no breathing
    EXPECT_EQ(picture("Img_P3"), "L1_Back3Color");
    EXPECT_TRUE(shown("lbl_LEDColorMode2"));
    EXPECT_FALSE(shown("lbl_LEDColorBre1"));
    for (const TimeFieldInfo& f : timeFields())
        EXPECT_FALSE(shown(QString::fromUtf8(f.control.data(), qsizetype(f.control.size()))));
    for (const char* mode : {"lbl_LEDColorMode2", "lbl_LEDColorMode1"}) {
        click("Btn_Breath_1");
        click(mode);
        click("Btn_Apply_3");
        EXPECT_EQ(at(kConfigFlags), 0x0C) << mode;
    }
    EXPECT_EQ(at(kLedMode), 0x04);
}

}  // namespace
}  // namespace kvr::test
