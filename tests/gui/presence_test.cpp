#include "window_fixture.h"

namespace kvr::test {
namespace {

TEST_F(WindowTest, StartsWithoutMouseAndSaysSoOnceAfterTheFirstTick) {
    EXPECT_TRUE(dialogs.texts.isEmpty());
    tick();
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0],
              "Nenhum dispositivo encontrado\rPor favor, confira se o dispositivo está conectado "
              "na porta USB");
    EXPECT_TRUE(window->errorAppearance());
    EXPECT_TRUE(find("Disable")->isVisible());
    tick();
    EXPECT_EQ(dialogs.texts.size(), 1);
}

TEST_F(WindowTest, FindsAMousePluggedInLaterAndLosesItWhenUnplugged) {
    tick();
    plugMouse();
    tick();
    EXPECT_TRUE(window->mouseOpen());
    EXPECT_FALSE(window->errorAppearance());
    dialogs.texts.clear();
    bus.unplug(kMousePath);
    tick();
    EXPECT_FALSE(window->mouseOpen());
    EXPECT_EQ(dialogs.texts.size(), 1);
    EXPECT_TRUE(window->errorAppearance());
}

TEST_F(WindowTest, OtherVariantIsOpenedButNotRead) {
    plugMouse(2);
    tick();
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0], "Erro no arquivo KVR5507Data.bin");
    for (const CommandReport& r : mouse->requests()) EXPECT_NE(r.bytes[1], ReadStartCmd);
}

}  // namespace
}  // namespace kvr::test
