#include "buttons/button_model.h"

#include <gtest/gtest.h>

#include <string>

namespace kvr {
namespace {

struct ExitCase {
    std::string typed;
    std::string repeatAfter;
    std::string delayAfter;
};

TEST(ButtonModel, FireKeyFieldsExitRules) {
    const ExitCase cases[] = {
        {"", "2", "2"},        {"1", "2", "2"},       {"0", "0", "0"},
        {"2", "2", "2"},       {"127", "127", "127"}, {"128", "127", "128"},
        {"300", "127", "255"}, {"999", "127", "255"}, {"01", "01", "01"},
        {"abc", "2", "2"},     {"-5", "2", "2"},      {"99999999999", "127", "255"},
    };
    for (const ExitCase& c : cases) {
        ButtonModel model;
        model.setRepeatText(c.typed);
        model.setDelayText(c.typed);
        model.RepeatValue_OnClick();
        model.DelayTimeValue_OnClick();
        EXPECT_EQ(model.repeatText(), c.repeatAfter) << c.typed;
        EXPECT_EQ(model.delayText(), c.delayAfter) << c.typed;
    }
}

TEST(ButtonModel, FireKeyValuesFollowTheExitRulesBeforeTheFieldsAreLeft) {
    ButtonModel model;
    EXPECT_EQ(model.fireKey().repeat, 2);
    EXPECT_EQ(model.fireKey().delay, 16);
    model.setRepeatText("500");
    model.setDelayText("");
    EXPECT_EQ(model.fireKey().repeat, 127);
    EXPECT_EQ(model.fireKey().delay, 2);
    EXPECT_EQ(model.repeatText(), "500") << "reading the value does not edit the field";
    model.commitEdits();
    EXPECT_EQ(model.repeatText(), "127");
    EXPECT_EQ(model.delayText(), "2");
}

TEST(ButtonModel, OddStoredRepeatByteShowsHalfRoundedDown) {
    ButtonModel model;
    model.showFireKey({0x04, 0x07, 0x28});
    EXPECT_EQ(model.repeatText(), "3");
    EXPECT_EQ(model.delayText(), "40");
}

TEST(ButtonModel, ButtonNumbersOutsideOneToNineAreIgnored) {
    ButtonModel model;
    model.setCaption(0, "x");
    model.setCaption(10, "x");
    model.setCodeText(10, "010100");
    EXPECT_EQ(model.caption(0), "");
    EXPECT_EQ(model.codeText(10), "");
    model.setCaption(9, "Home");
    EXPECT_EQ(model.caption(9), "Home");
}

}  // namespace
}  // namespace kvr
