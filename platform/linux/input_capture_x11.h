#pragma once
// Capture on an X11 desktop: XInput 2 raw key and button events on the root window, read on a
// connection and a thread of their own, so they arrive whichever window has the focus and are
// never taken away from it.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>

#include "macros/input_capture.h"

namespace kvr {

// Which keys are down, as the server's own key state tells it. Raw events report every event a
// device sends, also the release of a key that is already up: a client typing through XTest
// (xdotool's Ctrl+Shift+A) releases each modifier several times, where windows see one release.
// Only a change of state passes, so each press and each release is recorded once.
class KeyStates {
public:
    // Keys down when observing starts: a key held then still has its release recorded.
    void reset(const std::array<bool, 256>& down) { down_ = down; }
    // Whether the event changes a key's state; an auto-repeat down passes as a further down.
    bool changes(int keycode, bool down) {
        if (keycode < 0 || keycode >= 256) return false;
        const bool wasDown = std::exchange(down_[static_cast<std::size_t>(keycode)], down);
        return down || wasDown;
    }

private:
    std::array<bool, 256> down_{};
};

class X11InputCapture final : public InputCapture {
public:
    // `displayName` empty: the DISPLAY of the environment.
    explicit X11InputCapture(std::string displayName = {}) : displayName_(std::move(displayName)) {}
    ~X11InputCapture() override { stop(); }

    // Whether the display can be opened and offers XInput 2 (checked without starting).
    static bool available(const std::string& displayName = {});

    bool start(InputCaptureSink& sink) override;
    void stop() override;
    std::string failure() const override { return failure_; }

    // X raw button numbers: 1 left, 2 middle, 3 right, 8 backward, 9 forward; others are wheels.
    static bool buttonOf(int xButton, MouseButton& button);

private:
    void run();
    static std::optional<ScreenPoint> pointerPosition(void* display);

    std::string displayName_;
    std::string failure_;
    InputCaptureSink* sink_ = nullptr;
    void* display_ = nullptr;  // Display*, kept out of this header
    int xiOpcode_ = 0;
    int wakeFds_[2] = {-1, -1};
    // Keycode to virtual key, made once when capture starts.
    std::array<std::uint16_t, 256> keyMap_{};
    KeyStates keys_;
    std::thread reader_;
};

}  // namespace kvr
