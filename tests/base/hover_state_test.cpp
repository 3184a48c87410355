#include "base/hover_state.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

TEST(HoverState, CaptionScrollsWithOneGapAfterTheText) {
    struct Case {
        int ticks;
        const char* shown;
    };
    const Case cases[] = {{1, "pply    A"}, {2, "ply    Ap"}, {9, "Apply    "}, {10, "pply    A"}};
    for (const Case& c : cases) {
        HoverState h;
        h.begin("Btn_Apply_1", "Apply");
        std::string shown;
        for (int i = 0; i < c.ticks; ++i) shown = h.tick();
        EXPECT_EQ(shown, c.shown) << c.ticks << " ticks";
        EXPECT_EQ(h.savedCaption, "Apply");
    }
}

TEST(HoverState, CounterWrapsToTwoSoTheGapIsInsertedOnce) {
    HoverState h;
    h.begin("Btn_Exit_1", "Sair");
    for (int i = 0; i < 20; ++i) h.tick();
    EXPECT_EQ(h.ticks, 20);
    h.tick();
    EXPECT_EQ(h.ticks, 2);
    // 21 steps over an 8-character ring "Sair    " leave it rotated by 5 after the first.
    EXPECT_EQ(h.runningCaption.size(), 8u);
}

TEST(HoverState, AccentedLettersRotateWhole) {
    HoverState h;
    h.begin("Btn_Adv_1", "Avançado");
    for (int i = 0; i < 4; ++i) h.tick();
    EXPECT_EQ(h.runningCaption, "çado    Avan");
}

}  // namespace
}  // namespace kvr
