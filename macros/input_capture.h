#pragma once
// Observing the keyboard and the mouse buttons anywhere on the desktop while a macro is recorded.
// A capture never swallows an event: other programs see everything as before.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kvr {

// In the order the recorder looks at them.
enum class MouseButton : std::uint8_t { Left, Right, Middle, Forward, Backward };
inline constexpr int kMouseButtonCount = 5;

// A point and an area of the desktop, in its own pixels.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(ScreenPoint p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

// Receives the events of a running capture, on the capture's own thread.
class InputCaptureSink {
public:
    virtual ~InputCaptureSink() = default;
    // `virtualKey` is the Windows virtual-key code of the key table; a key held down may report
    // further downs (auto-repeat) before its up.
    virtual void keyChanged(std::uint16_t virtualKey, bool down) = 0;
    // `at`: where the pointer was when the button changed, when the capture can tell.
    virtual void mouseButtonChanged(MouseButton button, bool down,
                                    std::optional<ScreenPoint> at) = 0;
};

class InputCapture {
public:
    virtual ~InputCapture() = default;
    // Starts observing; false when this desktop cannot be observed, with failure() saying why.
    virtual bool start(InputCaptureSink& sink) = 0;
    // After it returns the sink gets no further call.
    virtual void stop() = 0;
    virtual std::string failure() const = 0;
};

// The capture of this platform: XInput 2 on an X11 desktop, the input devices under /dev/input
// elsewhere on Linux, raw input and the low-level mouse hook on Windows, or one whose start fails
// with a message saying what recording needs.
std::unique_ptr<InputCapture> makeInputCapture();

// A capture whose platform part is chosen when a recording starts, not before: the desktop is not
// probed and no input device is opened for an owner who never records. A choice that could not
// start is made again at the next start.
class DeferredCapture final : public InputCapture {
public:
    using Maker = std::function<std::unique_ptr<InputCapture>()>;
    explicit DeferredCapture(Maker make) : make_(std::move(make)) {}

    bool start(InputCaptureSink& sink) override;
    void stop() override {
        if (chosen_) chosen_->stop();
    }
    std::string failure() const override { return chosen_ ? chosen_->failure() : std::string(); }

private:
    Maker make_;
    std::unique_ptr<InputCapture> chosen_;
    bool worked_ = false;
};

// Events pushed by hand (tests and benchmarks); the sink is called on the pushing thread.
class InjectedCapture final : public InputCapture {
public:
    bool start(InputCaptureSink& sink) override;
    void stop() override { sink_ = nullptr; }
    std::string failure() const override { return failure_; }

    // Makes start() fail with this text (empty: start works).
    void failWith(std::string text) { failure_ = std::move(text); }
    bool running() const { return sink_ != nullptr; }

    // Each does nothing while the capture is stopped, as a real one would see nothing.
    void keyDown(std::uint16_t virtualKey);
    void keyUp(std::uint16_t virtualKey);
    void buttonDown(MouseButton button, std::optional<ScreenPoint> at = {});
    void buttonUp(MouseButton button, std::optional<ScreenPoint> at = {});

private:
    InputCaptureSink* sink_ = nullptr;
    std::string failure_;
};

// A capture that cannot run on this desktop: start() fails and says what recording needs.
class UnavailableCapture final : public InputCapture {
public:
    explicit UnavailableCapture(std::string why) : why_(std::move(why)) {}
    bool start(InputCaptureSink&) override { return false; }
    void stop() override {}
    std::string failure() const override { return why_; }

private:
    std::string why_;
};

// The message of a capture that cannot run here.
inline constexpr const char* kCaptureUnavailableText =
    "Recording needs an X11 desktop, or read access to the keyboards and mice under /dev/input "
    "(for example as a member of the \"input\" group).";

}  // namespace kvr
