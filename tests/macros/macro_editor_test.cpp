// The event list: deleting with the partner, inserting delays, Cancel, and what rows show.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "recorder_fixture.h"

namespace kvr::test {
namespace {

using ::testing::ElementsAre;

struct DeleteCase {
    const char* name;
    MacroLines lines;
    int selected;
    MacroLines expected;
    int selectedAfter;

    friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
};

class DeleteTest : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteTest, DeletingAnEventTakesItsPartnerAlong) {
    const DeleteCase& c = GetParam();
    MacroEditor editor;
    editor.show(c.lines);
    editor.select(c.selected);
    EXPECT_TRUE(editor.deleteSelected());
    EXPECT_EQ(editor.lines(), c.expected);
    EXPECT_EQ(editor.selectedRow(), c.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteTest,
    ::testing::Values(DeleteCase{"PressTakesItsReleaseAndLeavesTheDelay",
                                 {"10", "1 A CODE:8204", "0 120", "2 A CODE:0204"},
                                 0,
                                 {"10", "0 120"},
                                 0},
                      DeleteCase{"ReleaseTakesTheNearestEarlierPress",
                                 {"10", "1 A CODE:8204", "2 A CODE:0204", "1 Shift CODE:8102",
                                  "1 A CODE:8204", "0 48", "1 LeftKey CODE:00A1", "2 A CODE:0204"},
                                 6,
                                 {"10", "1 A CODE:8204", "2 A CODE:0204", "1 Shift CODE:8102",
                                  "0 48", "1 LeftKey CODE:00A1"},
                                 4},
                      DeleteCase{"DelayAloneSelectsTheRowAbove",
                                 {"10", "1 A CODE:8204", "0 120", "2 A CODE:0204"},
                                 1,
                                 {"10", "1 A CODE:8204", "2 A CODE:0204"},
                                 0},
                      DeleteCase{"ReleaseOnRowOneSelectsRowZero",
                                 {"10", "1 A CODE:8204", "2 A CODE:0204", "0 5"},
                                 1,
                                 {"10", "0 5"},
                                 0},
                      DeleteCase{"PressWithoutReleaseStopsAtTheEnd",
                                 {"10", "0 5", "1 A CODE:8204", "2 B CODE:0205"},
                                 1,
                                 {"10", "0 5", "2 B CODE:0205"},
                                 0},
                      DeleteCase{"ReleaseWithoutPressStopsAtTheHeader",
                                 {"10", "1 B CODE:8205", "2 A CODE:0204"},
                                 1,
                                 {"10", "1 B CODE:8205"},
                                 0},
                      DeleteCase{"PressPartnerIsAReleaseNotAnotherPress",
                                 {"00", "1 LeftKey CODE:00A1", "1 LeftKey CODE:00A1",
                                  "2 LeftKey CODE:0021"},
                                 0,
                                 {"00", "1 LeftKey CODE:00A1"},
                                 0},
                      DeleteCase{"LastRowLeavesNothingSelected", {"10", "0 300"}, 0, {"10"}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroEditorTest, DeleteAndInsertNeedASelectedRow) {
    MacroEditor editor;
    editor.show({"10", "0 300"});
    editor.select(-1);
    EXPECT_FALSE(editor.deleteSelected());
    EXPECT_FALSE(editor.openInsertPanel());
    EXPECT_EQ(editor.insertDelay(50), MacroEditor::InsertResult::NoRow);
    EXPECT_EQ(editor.lines().size(), 2u);
}

TEST(MacroEditorTest, ADelayInsertedFrontOrBackOfRowZero) {
    struct Case {
        InsertChoice choice;
        MacroLines expected;
        int selected;
    };
    for (const Case& c : {Case{InsertChoice::DelayFront, {"10", "0 50", "1 A CODE:8204"}, 0},
                          Case{InsertChoice::DelayBack, {"10", "1 A CODE:8204", "0 50"}, 1}}) {
        MacroEditor editor;
        editor.show({"10", "1 A CODE:8204"});
        editor.select(0);
        ASSERT_TRUE(editor.openInsertPanel());
        editor.setInsertChoice(c.choice);
        EXPECT_EQ(editor.insertDelay(50), MacroEditor::InsertResult::Inserted);
        EXPECT_EQ(editor.lines(), c.expected);
        EXPECT_EQ(editor.selectedRow(), c.selected);
    }
}

TEST(MacroEditorTest, AnInsertedDelayStaysInRangeAndInsideTheMacro) {
    MacroEditor editor;
    editor.show({"10", "1 A CODE:8204"});
    editor.select(0);
    editor.setInsertChoice(InsertChoice::DelayBack);
    editor.insertDelay(0);
    editor.insertDelay(99999);
    EXPECT_THAT(editor.lines(), ElementsAre("10", "1 A CODE:8204", "0 1", "0 10200"));

    MacroLines full = {"10"};
    for (int i = 0; i < 63; ++i) full.push_back("0 2040");  // 252 bytes
    editor.show(full);
    editor.select(0);
    EXPECT_EQ(editor.insertDelay(2040), MacroEditor::InsertResult::TooLong);
    EXPECT_EQ(editor.lines(), full);
    EXPECT_EQ(editor.insertDelay(100), MacroEditor::InsertResult::Inserted);
}

TEST(MacroEditorTest, RowsShowTheEventNameOrTheDelay) {
    EXPECT_EQ(MacroEditor::rowText("0 120"), "120 ms");
    EXPECT_EQ(MacroEditor::rowIcon("0 120"), 0);
    EXPECT_EQ(MacroEditor::rowText("1 LeftKey CODE:00A1"), "LeftKey");
    EXPECT_EQ(MacroEditor::rowIcon("1 LeftKey CODE:00A1"), 1);
    EXPECT_EQ(MacroEditor::rowText("2 Space bar CODE:022C"), "Space bar");
    EXPECT_EQ(MacroEditor::rowIcon("2 Space bar CODE:022C"), 2);
}

using MacroEditorRecordingTest = RecorderFixture;

TEST_F(MacroEditorRecordingTest, CancelAfterInsertedKeysRestoresTheLinesAndTheSelection) {
    const MacroLines decoded = {"10",
                                "1 A CODE:8204",
                                "0 96",
                                "2 A CODE:0204",
                                "0 48",
                                "1 LeftKey CODE:00A1",
                                "2 LeftKey CODE:0021"};
    editor.show(decoded);
    editor.select(2);
    editor.setTopRow(1);
    ASSERT_TRUE(editor.openInsertPanel());
    editor.setInsertChoice(InsertChoice::KeyBack);
    ASSERT_EQ(recorder.insertStartClick(0, InsertChoice::KeyBack, {}), Click::Started);
    tap(kVkB);
    pause(400);
    click(MouseButton::Right);
    ASSERT_EQ(recorder.insertStartClick(0, InsertChoice::KeyBack, {}), Click::Stopped);
    ASSERT_GT(editor.lines().size(), decoded.size());
    editor.select(5);
    editor.setTopRow(4);

    editor.cancelInsert(decoded);
    EXPECT_EQ(editor.lines(), decoded);
    EXPECT_EQ(editor.selectedRow(), 2);
    EXPECT_EQ(editor.topRow(), 1);
    EXPECT_FALSE(editor.insertPanelOpen());
}

}  // namespace
}  // namespace kvr::test
