#include "window_fixture.h"

namespace kvr::test {
namespace {

int countCommand(const EmulatedMouse& m, std::uint8_t cmd) {
    int n = 0;
    for (const CommandReport& r : m.requests()) n += r.bytes[1] == cmd;
    return n;
}

TEST_F(WindowTest, FoundMouseIsReadWholeAndItsButtonsShown) {
    plugAndRead();
    ASSERT_TRUE(window->mouseOpen());
    // Identity, capability, parameter, profile and four macro pieces.
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 8);
    const std::vector<CommandReport> r = mouse->requests();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[r.size() - 2].bytes[1], SystemReloadCmd);
    EXPECT_EQ(r.back().bytes[1], EndCmd);
    EXPECT_EQ(label("Key1")->text(), "Botão Esquerdo");
    EXPECT_FALSE(find("Disable_All_1")->isVisible());
    EXPECT_EQ(busy->hideCount() > 0, true);
    EXPECT_FALSE(busy->isVisible());
}

TEST_F(WindowTest, ButtonsThatWriteNeedAMouse) {
    for (const char* button : {"Btn_Apply_1", "Btn_Reset_2", "Btn_Confirm_3"}) {
        dialogs.texts.clear();
        click(button);
        ASSERT_EQ(dialogs.texts.size(), 1) << button;
        EXPECT_EQ(dialogs.texts[0], "Dispositivo específico não encontrado");
    }
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, ApplyWritesTheImageAndConfirmClosesAfterItsWrite) {
    plugAndRead();
    mouse->clearWireLog();
    click("Btn_Apply_2");
    EXPECT_EQ(picture("Img_Apply_4"), "BtnS_03");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2);  // parameter and profile blocks
    EXPECT_TRUE(window->isVisible());
    mouse->clearWireLog();
    click("Btn_Confirm_1");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->mouseOpen());
}

TEST_F(WindowTest, ResetRewritesTheMacroAreaAndExitWritesNothing) {
    plugAndRead();
    mouse->memory()[3] ^= 0xFF;  // a setting the owner changed elsewhere
    mouse->clearWireLog();
    click("Btn_Reset_1");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 4);
    EXPECT_EQ(mouse->memory()[3], factoryMemory()[3]);
    mouse->clearWireLog();
    click("Btn_Exit_1");
    EXPECT_TRUE(mouse->requests().empty());
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace kvr::test
