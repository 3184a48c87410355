// The real program with the emulated mouse kept in a file, driven by pointer moves and clicks
// on a private X server: a function chosen from the button menu reaches the file with Apply.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "gui/pages/button_page.h"
#include "params/checksum.h"
#include "window_fixture.h"
// After Qt's headers: it brings Xlib's.
#include "program_driver.h"

namespace kvr {
namespace {

using ButtonPageProgram = test::WindowTest;

TEST_F(ButtonPageProgram, VolumePlusChosenByMouseIsWrittenIntoTheMouseFile) {
    test::ProgramOnFactoryMouse run(QStringLiteral(KVR5507_BINARY));
    ASSERT_NE(run.window, 0u) << "the program did not start on its own X server";
    const Window w = run.window;
    const QString& file = run.file;
    test::XvfbServer& x = run.x;

    // The same window laid out here tells where the label, the menu entries and Apply lie.
    ButtonPage& page = window->buttonPage();
    const QPoint key2 = test::centreOf(find("Key2"));
    page.ShowPnlMain_OnClick(2);
    const QPoint media = test::centreOf(find("Key_Media"));
    page.KeyByTagMouseEnter("Key_Media");
    const QPoint volumePlus = test::centreOf(find("Key_VolumePlus"));
    const QPoint apply = test::centreOf(find("Btn_Apply_1"));

    auto written = [&] {
        const QByteArray m = test::readFile(file);
        return m.size() == 1024 && quint8(m[67]) == 0x03 && quint8(m[68]) == 0x00 &&
               quint8(m[69]) == 0xE9;
    };
    // Each step is taken by the program before the next: the menu it opens is there to point at.
    test::XdoTool xdo(x.displayName());
    for (const auto& [point, click] :
         {std::pair{key2, true}, {media, false}, {volumePlus, true}, {apply, true}}) {
        ASSERT_TRUE(xdo.pointAt(w, point, click));
        ASSERT_TRUE(x.roundTrip(w, std::chrono::seconds(10)));
    }
    EXPECT_TRUE(x.waitUntil(written, std::chrono::seconds(10)));
    const QByteArray m = test::readFile(file);
    ASSERT_EQ(m.size(), 1024);
    const auto* profile = reinterpret_cast<const std::uint8_t*>(m.constData()) + 64;
    EXPECT_EQ(blockChecksum({profile, 27}), profile[27]);
}

}  // namespace
}  // namespace kvr
