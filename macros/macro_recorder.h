#pragma once
// Recording a macro: key and mouse-button events observed anywhere on the desktop become event
// lines with the pauses between them (measured, fixed, or none). Runs on the window's thread;
// the capture, the hooks and the worker hand their events over through a queue, and the window
// takes them with processPending() when woken.
//
// Whatever the counters say, the lines of a recording never need more than 254 event bytes, and
// a recording never leaves a key or button pressed: the release of every recorded press has its
// bytes kept, and releases still open when a recording stops are added then.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "macros/input_capture.h"
#include "macros/macro_editor.h"
#include "macros/recorder_hooks.h"
#include "macros/tick_clock.h"

namespace kvr {

// rb_RecDelay / rb_DelayTime / rb_NoDelay and their insert twins.
enum class RecordDelayMode { Recorded, Fixed, None };

struct RecordDelay {
    RecordDelayMode mode = RecordDelayMode::Recorded;
    int fixedMs = 50;  // Edt_Delay / Edt_InsertDelay
};

// The header line of a recording: "10", "01" and the fixed delay, or "00".
MacroLine recordingHeader(const RecordDelay& delay);

// Where a finished recording goes: the library entry that was selected when recording started.
class RecordingTarget {
public:
    virtual ~RecordingTarget() = default;
    // Compiles the lines into PC macro `slot` and saves the library.
    virtual void storeRecording(int slot, const MacroLines& lines) = 0;
};

class MacroRecorder {
public:
    enum class Click { Started, Stopped, Ignored, Full, Unavailable };

    MacroRecorder(InputCapture& capture, const TickClock& clock, MacroEditor& editor,
                  RecordingTarget& target);
    // Stops capture and worker; call finish() first to keep a running recording.
    ~MacroRecorder();
    MacroRecorder(const MacroRecorder&) = delete;
    MacroRecorder& operator=(const MacroRecorder&) = delete;

    // Called on the capture's or the worker's thread when inputs wait for processPending().
    void setWakeUp(std::function<void()> wakeUp) { queue_.setWakeUp(std::move(wakeUp)); }

    // Btn_StartClick: starts recording into PC macro `selectedSlot` (-1: none selected, nothing
    // happens), or stops the running recording, which is compiled into the entry it started with.
    Click startClick(int selectedSlot, const RecordDelay& delay);
    // Btn_InsertStartClick: records keys into the lines before or after the selected row, or stops
    // doing so (the lines are compiled later by OK). Full when the macro has no room left.
    Click insertStartClick(int selectedSlot, InsertChoice choice, const RecordDelay& delay);
    // The window closes: a running recording is stopped and its lines compiled. True if one ran.
    bool finish();

    // Turns the waiting inputs into lines. True when the limit stopped the recording.
    bool processPending();

    // Set while the pointer is over a record button: its clicks are not recorded. Any thread.
    void setIgnoreLeftClicks(bool ignore) { mouseHook_.IgnoreLeftClicks = ignore; }
    // Where the record buttons lie on the desktop. A capture that tells where a click was made
    // is judged by these, not by the hover state, which may reach the window after the click.
    void setRecordButtonAreas(std::vector<ScreenRect> areas) {
        mouseHook_.setIgnoredAreas(std::move(areas));
    }

    bool recording() const { return recording_; }
    bool insertMode() const { return insertMode_; }
    int recordedBytes() const { return recordedBytes_; }
    int recordLimit() const { return recordLimit_; }
    bool limitHit() const { return limitHit_; }
    std::string captureFailure() const { return capture_.failure(); }

    // For tests and benchmarks: waits until the worker has handed over every raised flag.
    bool waitForWorker(std::chrono::milliseconds timeout) { return worker_.waitIdle(timeout); }
    bool waitForInput(std::chrono::milliseconds timeout) { return queue_.waitForInput(timeout); }

private:
    class Sink final : public InputCaptureSink {
    public:
        explicit Sink(MacroRecorder& recorder) : recorder_(recorder) {}
        void keyChanged(std::uint16_t virtualKey, bool down) override;
        void mouseButtonChanged(MouseButton button, bool down,
                                std::optional<ScreenPoint> at) override;

    private:
        MacroRecorder& recorder_;
    };

    bool begin(int slot, const RecordDelay& delay, bool insert, InsertChoice choice);
    // Stops capture and worker, takes what was queued before (when asked), closes open presses.
    void end(bool takeQueued);
    // Each returns true when the recording must stop after this input.
    bool apply(const RecorderInput& input);
    bool KeyboardHook1Receive(std::uint16_t virtualKey, KeyPressType type, std::uint64_t tick);
    bool mouseFlag(int flag, std::uint64_t tick);
    // Delay lines before a mouse event, shortened to `room` bytes where needed.
    void RefreshMacroMouseTime(std::uint64_t tick, int room);
    // The pause before an event: none for the first event or in no-delay mode.
    std::optional<int> pauseBefore(std::uint64_t tick) const;
    void addHeaderIfNeeded();
    void addLine(MacroLine line, int cost);
    // Bytes left for delays before an event of `cost` bytes, beside the releases still owed.
    int roomBeside(int cost, bool press, bool closes) const;
    int reservedBytes() const;
    void closeOpenPresses();

    InputCapture& capture_;
    const TickClock& clock_;
    MacroEditor& editor_;
    RecordingTarget& target_;
    Sink sink_{*this};
    RecorderQueue queue_;
    KeyboardHook keyboardHook_;
    MouseHook mouseHook_;
    RecorderWorker worker_;

    bool recording_ = false;
    bool insertMode_ = false;
    InsertChoice insertChoice_ = InsertChoice::KeyFront;
    int insertIndex_ = 0;
    int targetSlot_ = -1;
    RecordDelay delay_;
    std::optional<std::uint64_t> lastEventTick_;
    int recordedBytes_ = 0;
    int recordLimit_ = 244;
    int lastKey_ = -1;
    bool limitHit_ = false;
    bool stopRequested_ = false;
    // Keys down now (recorded or not); presses recorded whose release is still to come.
    std::set<std::uint16_t> keysHeld_;
    std::set<std::uint16_t> openKeys_;
    std::array<bool, kMouseButtonCount> openButtons_{};
};

}  // namespace kvr
