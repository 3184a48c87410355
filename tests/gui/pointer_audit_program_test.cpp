// The real program on a private X server, clicked by xdotool at the centre of each choice of the
// breathing light page and of the pointer scales, in both languages: every click must change what
// the owner sees or what Apply writes into the mouse file.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "window_fixture.h"
// After Qt's headers: it brings Xlib's.
#include "program_driver.h"
#include <X11/Xutil.h>

namespace kvr {
namespace {

constexpr int kConfigFlags = 0;
constexpr int kLedMode = 40;

class PointerAuditProgram : public test::WindowTest {
protected:
    // Whether the window shows a lit scale segment (red) at the point.
    static bool litAt(test::XvfbServer& x, Window w, QPoint p) {
        XImage* image = XGetImage(x.display(), w, p.x(), p.y(), 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        const int red = int((pixel >> 16) & 0xFF), green = int((pixel >> 8) & 0xFF);
        return red > green + 60;
    }
};

TEST_F(PointerAuditProgram, LightChoicesAndScaleSegmentsAnswerOneClickInBothLanguages) {
    plugAndRead();
    const QByteArray factory = [] {
        QTemporaryDir d;
        test::writeFactoryMouseFile(d.filePath("f.bin"));
        return test::readFile(d.filePath("f.bin"));
    }();
    ASSERT_EQ(factory.size(), 1024);

    for (int language : {1, 2}) {
        SCOPED_TRACE(language);
        // The same window laid out here, in the same language, tells where each control lies.
        click(QString("Btn_Lang%1_1").arg(language));
        const QPoint lang = test::centreOf(find(QString("Btn_Lang%1_1").arg(language)));
        click("Btn_Breath_1");
        const QPoint breath = test::centreOf(find("Btn_Breath_1"));
        const QStringList choices = {"lbl_MCPIOn", "lbl_LEDKeyOn", "lbl_LEDColorBre1"};
        std::vector<QPoint> choiceAt;
        for (const QString& c : choices) {
            ASSERT_TRUE(find(c)->isVisible()) << c.toStdString();
            choiceAt.push_back(test::centreOf(find(c)));
        }
        const QPoint apply = test::centreOf(find("Btn_Apply_3"));
        click("Btn_Adv_3");
        const QPoint adv = test::centreOf(find("Btn_Adv_3"));
        const QStringList segments = {"Img_Spd2", "Img_DbSpd9", "Img_ScrSpd4"};

        test::ProgramOnFactoryMouse run(QStringLiteral(KVR5507_BINARY));
        ASSERT_NE(run.window, 0u) << "the program did not start on its own X server";
        const Window w = run.window;
        const QString& file = run.file;
        test::XvfbServer& x = run.x;
        test::XdoTool xdo(x.displayName());
        auto clickAt = [&](QPoint p) {
            ASSERT_TRUE(xdo.pointAt(w, p, true));
            ASSERT_TRUE(x.roundTrip(w, std::chrono::seconds(10)));
        };

        clickAt(lang);
        clickAt(breath);
        for (const QPoint& p : choiceAt) clickAt(p);
        clickAt(apply);
        auto written = [&] {
            const QByteArray m = test::readFile(file);
            return m.size() == 1024 && m != factory;
        };
        ASSERT_TRUE(x.waitUntil(written, std::chrono::seconds(15))) << "Apply wrote nothing";
        const QByteArray m = test::readFile(file);
        EXPECT_EQ(quint8(m[kConfigFlags]) & 0x01, 0) << "M+CPI on";
        EXPECT_EQ(quint8(m[kLedMode]) & 0x80, 0x80) << "button effect on";
        EXPECT_EQ(quint8(m[kConfigFlags]) & 0x18, 0x10)
            << "the first breathing mode, not the factory's third";

        // Each scale: its segment lit by the click, the next one dark.
        clickAt(adv);
        for (const QString& s : segments) {
            SCOPED_TRACE(s.toStdString());
            const QPoint at = test::centreOf(find(s));
            const QString next = s.left(s.size() - 1) + QString::number(s.back().digitValue() + 1);
            const QPoint after = test::centreOf(find(next));
            clickAt(at);
            EXPECT_TRUE(litAt(x, w, at));
            EXPECT_FALSE(litAt(x, w, after));
        }
    }
}

}  // namespace
}  // namespace kvr
