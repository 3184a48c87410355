#pragma once
// A recorder on injected capture events and virtual time.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "macros/input_capture.h"
#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "macros/tick_clock.h"

namespace kvr::test {

class StoredRecordings final : public RecordingTarget {
public:
    struct Entry {
        int slot;
        MacroLines lines;
    };
    void storeRecording(int slot, const MacroLines& lines) override {
        entries.push_back({slot, lines});
    }
    std::vector<Entry> entries;
};

inline constexpr std::uint16_t kVkShift = 0x10;
inline constexpr std::uint16_t kVkCtrl = 0x11;
inline constexpr std::uint16_t kVkA = 0x41;
inline constexpr std::uint16_t kVkB = 0x42;

class RecorderFixture : public ::testing::Test {
protected:
    using Click = MacroRecorder::Click;

    void start(RecordDelay delay = {}, int slot = 0) {
        ASSERT_EQ(recorder.startClick(slot, delay), Click::Started);
    }
    // Lets the worker hand over every raised flag, then takes the inputs as the window would.
    // True when the limit stopped the recording.
    bool flush() {
        EXPECT_TRUE(recorder.waitForWorker(std::chrono::seconds(10)));
        return recorder.processPending();
    }
    bool button(MouseButton b, bool down) {
        if (down)
            capture.buttonDown(b);
        else
            capture.buttonUp(b);
        return flush();
    }
    bool key(std::uint16_t vk, bool down) {
        if (down)
            capture.keyDown(vk);
        else
            capture.keyUp(vk);
        return flush();
    }
    void tap(std::uint16_t vk) {
        key(vk, true);
        key(vk, false);
    }
    void click(MouseButton b) {
        button(b, true);
        button(b, false);
    }
    void pause(std::uint64_t ms) { clock.advance(ms); }
    // Stops with nothing selected: the entry of the start is compiled.
    MacroLines stop() {
        EXPECT_EQ(recorder.startClick(-1, {}), Click::Stopped);
        return stored();
    }
    MacroLines stored() {
        if (target.entries.empty()) return {};
        return target.entries.back().lines;
    }

    InjectedCapture capture;
    VirtualTickClock clock;
    MacroEditor editor;
    StoredRecordings target;
    MacroRecorder recorder{capture, clock, editor, target};
};

// Every press has a later release of the same event, and no release comes without its press.
inline bool pressesBalanced(const MacroLines& lines) {
    std::map<std::string, int> down;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string name(MacroEditor::eventName(lines[i]));
        if (lines[i][0] == '1') ++down[name];
        if (lines[i][0] == '2' && --down[name] < 0) return false;
    }
    for (const auto& [name, n] : down)
        if (n != 0) return false;
    return true;
}

}  // namespace kvr::test
