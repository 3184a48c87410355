#pragma once
// Capture on an X11 desktop: XInput 2 raw key and button events on the root window, read on a
// connection and a thread of their own, so they arrive whichever window has the focus and are
// never taken away from it.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "macros/input_capture.h"

namespace kvr {

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
    std::thread reader_;
};

}  // namespace kvr
