#pragma once
// The three parts of a recording that run beside the window: the keyboard hook, which turns key
// downs and ups into typed events; the mouse hook, which only raises per-button flags; and the
// worker RecorderWorker, which turns raised flags into inputs. Everything reaches the window's
// thread through one RecorderQueue, so no line, list or counter is touched from two threads.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "macros/input_capture.h"
#include "macros/tick_clock.h"

namespace kvr {

// The press type of a key event.
enum class KeyPressType : std::uint8_t { FirstPress = 0, Release = 1, FurtherPress = 2 };

struct RecorderInput {
    enum class Kind : std::uint8_t { Key, MouseFlag };
    Kind kind = Kind::Key;
    std::uint16_t virtualKey = 0;  // Key
    KeyPressType type = KeyPressType::FirstPress;
    int flag = 0;            // MouseFlag: 0 left press, 1 left release, ... 9 backward release
    std::uint64_t tick = 0;  // when it happened
};

// Many producers, one consumer (the window's thread).
class RecorderQueue {
public:
    void push(const RecorderInput& input);
    std::deque<RecorderInput> takeAll();
    // Waits until an input is queued or `timeout` passes; true when one is queued.
    bool waitForInput(std::chrono::milliseconds timeout);
    // Called, on the pushing thread, when the queue turns from empty to non-empty.
    void setWakeUp(std::function<void()> wakeUp);

private:
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<RecorderInput> inputs_;
    std::function<void()> wakeUp_;
};

// Counts key downs since the last key up: the first down reads as a first press, later downs
// (auto-repeat, or another key while one is held) as further presses, any up as a release.
class KeyboardHook {
public:
    std::atomic<bool> Enabled{false};
    // Virtual key, press counter, type.
    std::function<void(std::uint16_t, int, KeyPressType)> OnReceive;

    // On the capture's thread.
    void keyChanged(std::uint16_t virtualKey, bool down);

private:
    int pressCount_ = 0;
};

// Raises one of ten flags per button event while a recording runs; the left button's only while
// the pointer is not over a record button, so the click that starts or stops is not recorded.
// Where the click was made decides when both it and the record buttons' areas are known;
// otherwise IgnoreLeftClicks, the window's hover state, does.
class MouseHook {
public:
    static constexpr int kFlagCount = 2 * kMouseButtonCount;
    static int flagOf(MouseButton button, bool press) {
        return 2 * static_cast<int>(button) + (press ? 0 : 1);
    }

    explicit MouseHook(const TickClock& clock) : clock_(clock) {}

    std::atomic<bool> Recording{false};
    std::atomic<bool> IgnoreLeftClicks{false};

    void install() { installed_ = true; }
    void remove() { installed_ = false; }
    bool installed() const { return installed_; }

    // On the capture's thread. Whoever waits for flags is woken through `raised`.
    void buttonChanged(MouseButton button, bool down, std::optional<ScreenPoint> at = {});
    // Any thread.
    void setIgnoredAreas(std::vector<ScreenRect> areas);
    void setRaised(std::function<void()> raised) { raised_ = std::move(raised); }

    // Clears the flag; the tick it was raised at, or 0 when it was not raised.
    std::uint64_t takeFlag(int flag) { return flags_[static_cast<std::size_t>(flag)].exchange(0); }
    bool anyRaised() const;

private:
    bool overIgnoredArea(std::optional<ScreenPoint> at);

    const TickClock& clock_;
    std::atomic<bool> installed_{false};
    std::mutex areasMutex_;
    std::vector<ScreenRect> ignoredAreas_;
    // 0 = clear, otherwise the tick + 1.
    std::array<std::atomic<std::uint64_t>, kFlagCount> flags_{};
    std::function<void()> raised_;
};

// The worker: sleeps until a flag is raised, then hands the raised flags, in the fixed order of
// the buttons, to the queue.
class RecorderWorker {
public:
    RecorderWorker(MouseHook& hook, RecorderQueue& queue) : hook_(hook), queue_(queue) {}
    ~RecorderWorker() { stop(); }

    void start();
    // Wakes and joins the worker; flags raised before the call are handed over first.
    void stop();
    bool running() const { return worker_.joinable(); }
    // Wakes the worker (the hook's `raised`); any thread.
    void wake();
    // Waits until no flag is raised and the worker is between passes; for tests and benchmarks.
    bool waitIdle(std::chrono::milliseconds timeout);

private:
    void run();
    void pass();

    MouseHook& hook_;
    RecorderQueue& queue_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool pending_ = false;
    bool stopRequested_ = false;
    bool busy_ = false;
    std::thread worker_;
};

}  // namespace kvr
