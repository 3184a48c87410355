// Recording against injected capture events and virtual time.
#include <gmock/gmock.h>

#include "macros/macro_codec.h"
#include "recorder_fixture.h"

namespace kvr::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

using RecorderTest = RecorderFixture;

TEST_F(RecorderTest, ClickPauseClickKeepsTheMeasuredDelays) {
    start();
    button(MouseButton::Left, true);
    pause(80);
    button(MouseButton::Left, false);
    pause(300);
    button(MouseButton::Left, true);
    pause(95);
    button(MouseButton::Left, false);
    EXPECT_THAT(stop(), ElementsAre("10", "1 LeftKey CODE:00A1", "0 80", "2 LeftKey CODE:0021",
                                    "0 300", "1 LeftKey CODE:00A1", "0 95", "2 LeftKey CODE:0021"));
    EXPECT_EQ(target.entries.back().slot, 0);
}

TEST_F(RecorderTest, TheHeaderFollowsTheDelayMode) {
    struct Case {
        RecordDelay delay;
        const char* header;
    };
    for (const Case& c :
         {Case{{RecordDelayMode::Recorded, 50}, "10"}, Case{{RecordDelayMode::Fixed, 150}, "01150"},
          Case{{RecordDelayMode::None, 50}, "00"}}) {
        start(c.delay);
        tap(kVkA);
        EXPECT_EQ(stop().front(), c.header);
    }
}

struct PauseCase {
    const char* name;
    bool beforeMouse;
    std::uint64_t pauseMs;
    std::vector<std::string> delayLines;

    friend void PrintTo(const PauseCase& c, std::ostream* os) { *os << c.name; }
};

class RecorderPauseTest : public RecorderFixture,
                          public ::testing::WithParamInterface<PauseCase> {};

TEST_P(RecorderPauseTest, APauseBecomesDelayLines) {
    const PauseCase& c = GetParam();
    start();
    click(MouseButton::Middle);  // both at one tick: no delay line between them
    pause(c.pauseMs);
    if (c.beforeMouse)
        button(MouseButton::Right, true);
    else
        key(kVkA, true);
    MacroLines expected = {"10", "1 MiddleKey CODE:00A4", "2 MiddleKey CODE:0024"};
    expected.insert(expected.end(), c.delayLines.begin(), c.delayLines.end());
    expected.push_back(c.beforeMouse ? "1 RightKey CODE:00A2" : "1 A CODE:8204");
    MacroLines lines = editor.lines();
    EXPECT_THAT(lines, ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Pauses, RecorderPauseTest,
    ::testing::Values(
        PauseCase{"MouseSplitsIntoWholePairs", true, 5000, {"0 2040", "0 2040", "0 920"}},
        PauseCase{"KeyKeepsOneLine", false, 5000, {"0 5000"}},
        PauseCase{
            "MouseCapsAt10200", true, 15000, {"0 2040", "0 2040", "0 2040", "0 2040", "0 2040"}},
        PauseCase{"KeyCapsAt10200", false, 15000, {"0 10200"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecorderTest, FixedDelayGoesBetweenEventsButNotBeforeTheFirst) {
    start({RecordDelayMode::Fixed, 50});
    pause(700);
    click(MouseButton::Left);
    pause(3000);
    tap(kVkB);
    EXPECT_THAT(stop(), ElementsAre("0150", "1 LeftKey CODE:00A1", "0 50", "2 LeftKey CODE:0021",
                                    "0 50", "1 B CODE:8205", "0 50", "2 B CODE:0205"));
}

TEST_F(RecorderTest, AutoRepeatOfAHeldKeyIsIgnored) {
    start({RecordDelayMode::None, 50});
    key(kVkA, true);
    for (int i = 0; i < 5; ++i) key(kVkA, true);
    key(kVkA, false);
    EXPECT_THAT(stop(), ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
}

TEST_F(RecorderTest, ShiftThenAGivesTheModifierAndTheKey) {
    start({RecordDelayMode::None, 50});
    key(kVkShift, true);
    key(kVkA, true);
    key(kVkA, false);
    key(kVkShift, false);
    EXPECT_THAT(stop(), ElementsAre("00", "1 Shift CODE:8102", "1 A CODE:8204", "2 A CODE:0204",
                                    "2 Shift CODE:0102"));
}

TEST_F(RecorderTest, TheSameKeyTypedTwiceUnderAHeldModifierIsRecordedTwice) {
    start({RecordDelayMode::None, 50});
    key(kVkShift, true);
    tap(kVkA);
    tap(kVkA);
    key(kVkShift, false);
    EXPECT_THAT(stop(), ElementsAre("00", "1 Shift CODE:8102", "1 A CODE:8204", "2 A CODE:0204",
                                    "1 A CODE:8204", "2 A CODE:0204", "2 Shift CODE:0102"));
}

TEST_F(RecorderTest, KeysOutsideTheTableRecordAsNoneAndKey0xFFIsIgnored) {
    start({RecordDelayMode::None, 50});
    tap(0xFF);
    tap(0xE9);
    EXPECT_THAT(stop(), ElementsAre("00", "1 None CODE:8200", "2 None CODE:0200"));
}

TEST_F(RecorderTest, NoDelayLimitRefusesThePressAfter246BytesAndStops) {
    start({RecordDelayMode::None, 50});
    for (int i = 0; i < 61; ++i) tap(kVkA);  // 244 bytes
    click(MouseButton::Right);               // 246: buttons are not held to the limit
    ASSERT_EQ(recorder.recordedBytes(), 246);
    EXPECT_TRUE(key(kVkB, true));
    EXPECT_FALSE(recorder.recording());
    EXPECT_TRUE(recorder.limitHit());
    ASSERT_EQ(target.entries.size(), 1u);
    const MacroLines lines = stored();
    EXPECT_EQ(lines.size(), 1u + 61 * 2 + 2);
    EXPECT_THAT(lines, Not(Contains(HasSubstr("B CODE"))));
    // The refused key's release comes after the stop and is not seen.
    key(kVkB, false);
    EXPECT_EQ(editor.lines().size(), lines.size());
}

TEST_F(RecorderTest, ALimitStopWithAKeyHeldEndsTheMacroWithItsRelease) {
    start({RecordDelayMode::None, 50});
    key(kVkCtrl, true);
    for (int i = 0; i < 61; ++i) tap(kVkA);
    EXPECT_TRUE(key(kVkB, true));  // 246 bytes: refused
    ASSERT_FALSE(recorder.recording());
    const MacroLines lines = stored();
    EXPECT_EQ(lines.back(), "2 Ctrl CODE:0101");
    EXPECT_TRUE(pressesBalanced(lines));
}

TEST_F(RecorderTest, ClickingStopAddsNoLeftButtonLine) {
    recorder.setIgnoreLeftClicks(true);  // the pointer is over Record
    start();
    button(MouseButton::Left, false);  // the release of the Record click
    recorder.setIgnoreLeftClicks(false);
    click(MouseButton::Right);
    recorder.setIgnoreLeftClicks(true);  // back over the button to stop
    button(MouseButton::Left, true);
    EXPECT_THAT(stop(), ElementsAre("10", "1 RightKey CODE:00A2", "2 RightKey CODE:0022"));
}

TEST_F(RecorderTest, EveryButtonHasItsLine) {
    start({RecordDelayMode::None, 50});
    for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle,
                          MouseButton::Forward, MouseButton::Backward})
        click(b);
    EXPECT_THAT(stop(),
                ElementsAre("00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021",
                            "1 RightKey CODE:00A2", "2 RightKey CODE:0022", "1 MiddleKey CODE:00A4",
                            "2 MiddleKey CODE:0024", "1 Forward CODE:00A8", "2 Forward CODE:0028",
                            "1 Backward CODE:00B0", "2 Backward CODE:0030"));
}

// Whatever is recorded, the lines fit the mouse's 254 event bytes and leave nothing pressed.
struct GuaranteeCase {
    const char* name;
    RecordDelay delay;
    std::uint64_t pauseMs;
    bool keys;
    bool holdCtrl;

    friend void PrintTo(const GuaranteeCase& c, std::ostream* os) { *os << c.name; }
};

class RecorderGuaranteeTest : public RecorderFixture,
                              public ::testing::WithParamInterface<GuaranteeCase> {};

TEST_P(RecorderGuaranteeTest, ARecordingNeverOutgrowsTheMacro) {
    const GuaranteeCase& c = GetParam();
    start(c.delay);
    if (c.holdCtrl) key(kVkCtrl, true);
    for (int i = 0; i < 400 && recorder.recording(); ++i) {
        pause(c.pauseMs);
        if (c.keys) {
            if (key(kVkA, true)) break;
            pause(c.pauseMs);
            key(kVkA, false);
        } else {
            if (button(MouseButton::Left, true)) break;
            pause(c.pauseMs);
            button(MouseButton::Left, false);
        }
    }
    if (recorder.recording()) stop();
    ASSERT_EQ(target.entries.size(), 1u);
    const MacroLines lines = stored();
    EXPECT_LE(macroLinesByteCost(lines), kMacroEventByteLimit);
    EXPECT_GT(macroLinesByteCost(lines), 230);
    EXPECT_TRUE(pressesBalanced(lines));
    // The codec agrees: the lines compile, to exactly the bytes the recorder counted.
    const auto compiled = CompileMacroLines(lines);
    ASSERT_TRUE(compiled.has_value());
    EXPECT_EQ(macroLength(compiled->content) - 1, macroLinesByteCost(lines));
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecorderGuaranteeTest,
    ::testing::Values(
        // A whole 2040 ms costs FE FF FE 00 once compiled.
        GuaranteeCase{
            "ClicksWithWhole2040Pauses", {RecordDelayMode::Recorded, 50}, 2040, false, false},
        GuaranteeCase{"ClicksWithLongPauses", {RecordDelayMode::Recorded, 50}, 9000, false, false},
        GuaranteeCase{"ClicksUnderHeldCtrl", {RecordDelayMode::Recorded, 50}, 4080, false, true},
        GuaranteeCase{
            "KeysWithWhole2040Pauses", {RecordDelayMode::Recorded, 50}, 2040, true, false},
        GuaranteeCase{"KeysWithLongestPauses", {RecordDelayMode::Recorded, 50}, 20000, true, false},
        GuaranteeCase{"KeysWithFixed10200", {RecordDelayMode::Fixed, 10200}, 1, true, true},
        GuaranteeCase{"ClicksWithFixed10200", {RecordDelayMode::Fixed, 10200}, 1, false, false},
        GuaranteeCase{"ClicksWithoutDelays", {RecordDelayMode::None, 50}, 5, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecorderTest, TheTargetIsTheEntrySelectedAtRecord) {
    start({}, 3);
    tap(kVkA);
    EXPECT_EQ(recorder.startClick(7, {}), Click::Stopped);
    ASSERT_EQ(target.entries.size(), 1u);
    EXPECT_EQ(target.entries[0].slot, 3);
}

TEST_F(RecorderTest, RecordWithoutASelectedEntryDoesNothing) {
    editor.show({"00", "1 A CODE:8204"});
    EXPECT_EQ(recorder.startClick(-1, {}), Click::Ignored);
    EXPECT_FALSE(recorder.recording());
    EXPECT_FALSE(capture.running());
    EXPECT_EQ(editor.rowCount(), 1);
}

TEST_F(RecorderTest, ARecordingRunningAtCloseIsStoppedAndCompiled) {
    start({RecordDelayMode::None, 50}, 2);
    key(kVkA, true);
    EXPECT_TRUE(recorder.finish());
    EXPECT_FALSE(capture.running());
    ASSERT_EQ(target.entries.size(), 1u);
    EXPECT_EQ(target.entries[0].slot, 2);
    EXPECT_THAT(target.entries[0].lines, ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
    EXPECT_FALSE(recorder.finish());
}

TEST_F(RecorderTest, InputsQueuedBeforeStopAreKept) {
    start({RecordDelayMode::None, 50});
    capture.keyDown(kVkA);  // not yet taken by the window
    capture.keyUp(kVkA);
    capture.buttonDown(MouseButton::Right);
    ASSERT_TRUE(recorder.waitForWorker(std::chrono::seconds(10)));
    EXPECT_THAT(stop(), ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204", "1 RightKey CODE:00A2",
                                    "2 RightKey CODE:0022"));
}

TEST_F(RecorderTest, NothingIsObservedOutsideARecording) {
    capture.keyDown(kVkA);
    EXPECT_FALSE(recorder.waitForInput(std::chrono::milliseconds(0)));
    start();
    EXPECT_TRUE(capture.running());
    stop();
    EXPECT_FALSE(capture.running());
}

TEST_F(RecorderTest, ACaptureThatCannotRunSaysWhyAndChangesNothing) {
    capture.failWith(kCaptureUnavailableText);
    editor.show({"00", "1 A CODE:8204"});
    EXPECT_EQ(recorder.startClick(0, {}), Click::Unavailable);
    EXPECT_FALSE(recorder.recording());
    EXPECT_THAT(recorder.captureFailure(), HasSubstr("X11"));
    EXPECT_EQ(editor.rowCount(), 1);
    EXPECT_TRUE(target.entries.empty());
}

// Insert recording puts keys before or after the selected row and compiles nothing itself.
TEST_F(RecorderTest, InsertRecordingGoesBeforeOrAfterTheSelectedRow) {
    struct Case {
        InsertChoice choice;
        MacroLines expected;
        int selected;
    };
    const MacroLines shown = {"00", "1 A CODE:8204", "2 A CODE:0204"};
    for (const Case& c :
         {Case{InsertChoice::KeyFront,
               {"00", "1 B CODE:8205", "2 B CODE:0205", "1 A CODE:8204", "2 A CODE:0204"},
               2},
          Case{InsertChoice::KeyBack,
               {"00", "1 A CODE:8204", "1 B CODE:8205", "2 B CODE:0205", "2 A CODE:0204"},
               2}}) {
        editor.show(shown);
        editor.select(0);
        ASSERT_EQ(recorder.insertStartClick(0, c.choice, {RecordDelayMode::None, 50}),
                  Click::Started);
        EXPECT_EQ(recorder.startClick(0, {}), Click::Ignored);  // Record stays off meanwhile
        tap(kVkB);
        EXPECT_EQ(recorder.insertStartClick(0, c.choice, {}), Click::Stopped);
        EXPECT_EQ(editor.lines(), c.expected);
        EXPECT_EQ(editor.selectedRow(), c.selected);
    }
    EXPECT_TRUE(target.entries.empty());
}

TEST_F(RecorderTest, InsertRecordingNeedsARowAKeyChoiceAndRoom) {
    editor.show({"00"});
    EXPECT_EQ(recorder.insertStartClick(0, InsertChoice::KeyFront, {}), Click::Ignored);
    editor.show({"00", "1 A CODE:8204", "2 A CODE:0204"});
    EXPECT_EQ(recorder.insertStartClick(0, InsertChoice::DelayFront, {}), Click::Ignored);
    MacroLines full = {"10"};
    for (int i = 0; i < 61; ++i) full.push_back("0 2040");  // 244 bytes
    editor.show(full);
    EXPECT_EQ(recorder.insertStartClick(0, InsertChoice::KeyBack, {}), Click::Full);
    EXPECT_FALSE(recorder.recording());
}

TEST_F(RecorderTest, InsertedKeysFitBesideTheMacroBeingEdited) {
    MacroLines shown = {"00"};
    for (int i = 0; i < 50; ++i) {
        shown.push_back("1 A CODE:8204");
        shown.push_back("2 A CODE:0204");
    }  // 200 bytes
    editor.show(shown);
    editor.select(10);
    ASSERT_EQ(recorder.insertStartClick(0, InsertChoice::KeyFront, {RecordDelayMode::Recorded, 50}),
              Click::Started);
    bool stopped = false;
    for (int i = 0; i < 50 && !stopped; ++i) {
        pause(3000);
        stopped = key(kVkB, true);
        if (!stopped) {
            pause(3000);
            stopped = key(kVkB, false);
        }
    }
    EXPECT_TRUE(stopped);
    EXPECT_LE(macroLinesByteCost(editor.lines()), kMacroEventByteLimit);
    EXPECT_TRUE(pressesBalanced(editor.lines()));
    EXPECT_TRUE(target.entries.empty());  // OK compiles
}

}  // namespace
}  // namespace kvr::test
