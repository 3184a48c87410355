// The capture side of recording: key press types, button flags, the worker, the key maps, and
// the X11 capture against a private X server driven with XTest.
// clang-format off
// GoogleTest first: Xlib's macros (None, Bool, Status) would break it.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/XF86keysym.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/input_capture_evdev.h"
#include "platform/linux/input_capture_x11.h"
#include "platform/linux/key_map_evdev.h"
#include "platform/linux/key_map_x11.h"
#include "macros/recorder_hooks.h"

namespace kvr::test {
namespace {

TEST(KeyboardHookTest, CountsPressesSinceTheLastRelease) {
    struct Step {
        std::uint16_t vk;
        bool down;
        KeyPressType type;
        int count;
    };
    const std::vector<Step> steps = {
        {0x41, true, KeyPressType::FirstPress, 1},    // A
        {0x41, true, KeyPressType::FurtherPress, 2},  // auto-repeat
        {0x41, false, KeyPressType::Release, 0},
        {0x10, true, KeyPressType::FirstPress, 1},    // Shift
        {0x41, true, KeyPressType::FurtherPress, 2},  // A while Shift is held
        {0x41, false, KeyPressType::Release, 0},      // any release resets the count
        {0x41, true, KeyPressType::FirstPress, 1},
    };
    KeyboardHook hook;
    std::vector<Step> seen;
    hook.OnReceive = [&](std::uint16_t vk, int count, KeyPressType type) {
        seen.push_back({vk, false, type, count});
    };
    hook.keyChanged(0x41, true);  // not enabled: counted, not reported
    hook.keyChanged(0x41, false);
    EXPECT_TRUE(seen.empty());
    hook.Enabled = true;
    for (const Step& s : steps) hook.keyChanged(s.vk, s.down);
    ASSERT_EQ(seen.size(), steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(seen[i].type, steps[i].type) << "step " << i;
        EXPECT_EQ(seen[i].count, steps[i].count) << "step " << i;
    }
}

TEST(MouseHookTest, RaisesFlagsOnlyWhileRecordingAndNotForIgnoredLeftClicks) {
    VirtualTickClock clock;
    MouseHook hook(clock);
    hook.buttonChanged(MouseButton::Right, true);
    hook.install();
    hook.buttonChanged(MouseButton::Right, true);
    EXPECT_FALSE(hook.anyRaised());  // installed, but no recording
    hook.Recording = true;
    hook.IgnoreLeftClicks = true;
    hook.buttonChanged(MouseButton::Left, true);
    EXPECT_FALSE(hook.anyRaised());
    hook.buttonChanged(MouseButton::Backward, false);
    EXPECT_EQ(hook.takeFlag(MouseHook::flagOf(MouseButton::Backward, false)), clock.nowMs() + 1);
    EXPECT_FALSE(hook.anyRaised());
}

TEST(MouseHookTest, WhereALeftClickWasMadeDecidesOverTheHoverState) {
    VirtualTickClock clock;
    MouseHook hook(clock);
    hook.install();
    hook.Recording = true;
    hook.setIgnoredAreas({{100, 200, 80, 30}});
    const int leftPress = MouseHook::flagOf(MouseButton::Left, true);
    struct Case {
        bool hovering;
        std::optional<ScreenPoint> at;
        bool raised;
    };
    const Case cases[] = {
        {false, ScreenPoint{120, 210}, false},  // over Record before the window saw the pointer
        {true, ScreenPoint{99, 210}, true},     // the pointer has left, the window not yet told
        {true, ScreenPoint{179, 229}, false},   // the area's last pixel
        {true, std::nullopt, false},            // no position: the hover state decides
        {false, std::nullopt, true},
    };
    for (const Case& c : cases) {
        hook.IgnoreLeftClicks = c.hovering;
        hook.buttonChanged(MouseButton::Left, true, c.at);
        EXPECT_EQ(hook.takeFlag(leftPress) != 0, c.raised)
            << "hovering " << c.hovering << ", at " << (c.at ? c.at->x : -1);
    }
    // Other buttons are recorded wherever they are pressed.
    hook.buttonChanged(MouseButton::Right, true, ScreenPoint{120, 210});
    EXPECT_NE(hook.takeFlag(MouseHook::flagOf(MouseButton::Right, true)), 0u);
}

TEST(TPThreadTest, HandsRaisedFlagsOverInTheButtonsOrder) {
    VirtualTickClock clock;
    MouseHook hook(clock);
    RecorderQueue queue;
    RecorderWorker worker(hook, queue);
    hook.install();
    hook.Recording = true;
    // Raised before the worker runs: taken in one pass, in the fixed order.
    hook.buttonChanged(MouseButton::Forward, true);
    hook.buttonChanged(MouseButton::Left, false);
    hook.buttonChanged(MouseButton::Right, true);
    hook.setRaised([&] { worker.wake(); });
    worker.start();
    ASSERT_TRUE(worker.waitIdle(std::chrono::seconds(10)));
    std::vector<int> flags;
    for (const RecorderInput& input : queue.takeAll()) flags.push_back(input.flag);
    EXPECT_EQ(flags, (std::vector<int>{1, 2, 6}));
    worker.stop();
    EXPECT_FALSE(worker.running());
}

TEST(KeyMapTest, X11KeysymsReachTheKeyTableCodes) {
    struct Case {
        std::uint32_t keysym;
        std::uint16_t vk;
    };
    for (const Case& c :
         {Case{XK_a, 0x41}, Case{XK_Z, 0x5A}, Case{XK_7, 0x37}, Case{XK_Shift_R, 0x10},
          Case{XK_Control_L, 0x11}, Case{XK_Alt_R, 0x12}, Case{XK_Super_L, 0x5B},
          Case{XK_Super_R, 0x5C}, Case{XK_KP_Enter, 0x0D}, Case{XK_KP_End, 0x61},
          Case{XK_F13, 0x7C}, Case{XK_F24, 0x87}, Case{XK_bracketleft, 0xDB}, Case{XK_space, 0x20},
          Case{XK_EuroSign, 0x00}})
        EXPECT_EQ(keysymToVirtualKey(c.keysym), c.vk) << std::hex << c.keysym;
}

TEST(KeyMapTest, EvdevCodesReachTheKeyTableCodesAndButtons) {
    EXPECT_EQ(evdevKeyToVirtualKey(KEY_A), 0x41);
    EXPECT_EQ(evdevKeyToVirtualKey(KEY_RIGHTSHIFT), 0x10);
    EXPECT_EQ(evdevKeyToVirtualKey(KEY_LEFTMETA), 0x5B);
    EXPECT_EQ(evdevKeyToVirtualKey(KEY_F24), 0x87);
    EXPECT_EQ(evdevButton(BTN_LEFT), MouseButton::Left);
    EXPECT_EQ(evdevButton(BTN_SIDE), MouseButton::Backward);
    EXPECT_EQ(evdevButton(BTN_EXTRA), MouseButton::Forward);
    EXPECT_FALSE(evdevButton(KEY_A).has_value());
}

struct NoSink final : InputCaptureSink {
    void keyChanged(std::uint16_t, bool) override {}
    void mouseButtonChanged(MouseButton, bool, std::optional<ScreenPoint>) override {}
};

TEST(InputCaptureTest, WithoutReadableDevicesTheCaptureSaysWhatRecordingNeeds) {
    EvdevInputCapture capture("/nonexistent-input");
    NoSink sink;
    EXPECT_FALSE(EvdevInputCapture::available("/nonexistent-input"));
    EXPECT_FALSE(capture.start(sink));
    EXPECT_EQ(capture.failure(), kCaptureUnavailableText);
    X11InputCapture x11(":9999");
    EXPECT_FALSE(x11.start(sink));
    EXPECT_EQ(x11.failure(), kCaptureUnavailableText);
}

TEST(InputCaptureTest, DeferredCaptureChoosesAtTheFirstStartAndAgainOnlyAfterAFailure) {
    NoSink sink;
    int made = 0;
    bool failNext = true;
    DeferredCapture capture([&]() -> std::unique_ptr<InputCapture> {
        ++made;
        auto injected = std::make_unique<InjectedCapture>();
        if (std::exchange(failNext, false)) injected->failWith("no desktop");
        return injected;
    });
    EXPECT_EQ(made, 0) << "nothing is probed before recording";
    EXPECT_EQ(capture.failure(), "");
    EXPECT_FALSE(capture.start(sink));
    EXPECT_EQ(capture.failure(), "no desktop");
    EXPECT_TRUE(capture.start(sink));
    capture.stop();
    EXPECT_TRUE(capture.start(sink));
    capture.stop();
    EXPECT_EQ(made, 2) << "a capture that started is kept";
}

// A private Xvfb on a display it picks itself.
class PrivateXServer {
public:
    PrivateXServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            if (devnull >= 0) {
                dup2(devnull, 1);
                dup2(devnull, 2);
            }
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                   "320x240x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes its display number once it accepts connections.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (pid_ > 0 && poll(&p, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~PrivateXServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

class EventLog final : public InputCaptureSink {
public:
    void keyChanged(std::uint16_t vk, bool down) override {
        add((down ? "down " : "up ") + std::to_string(vk));
    }
    void mouseButtonChanged(MouseButton b, bool down, std::optional<ScreenPoint> at) override {
        add((down ? "press " : "release ") + std::to_string(static_cast<int>(b)) +
            (at ? " at " + std::to_string(at->x) + "," + std::to_string(at->y) : ""));
    }
    bool waitFor(std::size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return events_.size() >= n; });
    }
    std::vector<std::string> events() {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    void add(std::string e) {
        {
            std::lock_guard lock(mutex_);
            events_.push_back(std::move(e));
        }
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
};

TEST(InputCaptureTest, X11CaptureSeesKeysAndButtonsOfTheWholeDesktop) {
    PrivateXServer server;
    if (server.name().empty()) GTEST_SKIP() << "Xvfb is not available";
    Display* injector = XOpenDisplay(server.name().c_str());
    ASSERT_NE(injector, nullptr);
    // A window of another program has the focus; the capture still sees the input.
    const Window other =
        XCreateSimpleWindow(injector, DefaultRootWindow(injector), 0, 0, 100, 100, 0, 0, 0);
    XMapWindow(injector, other);
    XSetInputFocus(injector, other, RevertToParent, CurrentTime);
    XSync(injector, False);

    X11InputCapture capture(server.name());
    EventLog log;
    ASSERT_TRUE(capture.start(log));
    const KeyCode a = XKeysymToKeycode(injector, XK_a);
    const KeyCode shift = XKeysymToKeycode(injector, XK_Shift_L);
    XTestFakeKeyEvent(injector, shift, True, 0);
    XTestFakeKeyEvent(injector, a, True, 0);
    XTestFakeKeyEvent(injector, a, False, 0);
    XTestFakeKeyEvent(injector, shift, False, 0);
    XTestFakeMotionEvent(injector, -1, 40, 30, 0);
    for (unsigned b : {1u, 3u, 2u, 8u, 9u, 4u}) {  // 4 is the wheel: not a button to record
        XTestFakeButtonEvent(injector, b, True, 0);
        XTestFakeButtonEvent(injector, b, False, 0);
    }
    XSync(injector, False);
    ASSERT_TRUE(log.waitFor(14));
    capture.stop();
    EXPECT_EQ(log.events(), (std::vector<std::string>{
                                "down 16", "down 65", "up 65", "up 16", "press 0 at 40,30",
                                "release 0 at 40,30", "press 1 at 40,30", "release 1 at 40,30",
                                "press 2 at 40,30", "release 2 at 40,30", "press 4 at 40,30",
                                "release 4 at 40,30", "press 3 at 40,30", "release 3 at 40,30"}));
    // Stopped: nothing more arrives.
    XTestFakeKeyEvent(injector, a, True, 0);
    XTestFakeKeyEvent(injector, a, False, 0);
    XSync(injector, False);
    EXPECT_EQ(log.events().size(), 14u);
    XCloseDisplay(injector);
}

// The keys at the edges, pressed as the server's default layout has them: F13 (XF86Tools),
// Browser Refresh (XF86Reload) and the ISO key left of Z (unshifted "less").
TEST(InputCaptureTest, X11CaptureRecordsTheKeysAtTheEdgesOfTheLayout) {
    PrivateXServer server;
    if (server.name().empty()) GTEST_SKIP() << "Xvfb is not available";
    Display* injector = XOpenDisplay(server.name().c_str());
    ASSERT_NE(injector, nullptr);
    int first = 0, last = 0;
    XDisplayKeycodes(injector, &first, &last);
    KeyCode iso = 0;
    for (int k = first; k <= last && iso == 0; ++k) {
        if (XkbKeycodeToKeysym(injector, KeyCode(k), 0, 0) == XK_less) iso = KeyCode(k);
    }
    const KeyCode keys[] = {XKeysymToKeycode(injector, XF86XK_Tools),
                            XKeysymToKeycode(injector, XF86XK_Reload), iso};
    for (KeyCode k : keys) ASSERT_NE(k, 0);

    X11InputCapture capture(server.name());
    EventLog log;
    ASSERT_TRUE(capture.start(log));
    for (KeyCode k : keys) {
        XTestFakeKeyEvent(injector, k, True, 0);
        XTestFakeKeyEvent(injector, k, False, 0);
    }
    XSync(injector, False);
    ASSERT_TRUE(log.waitFor(6));
    capture.stop();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"down 124", "up 124", "down 168", "up 168",
                                                      "down 226", "up 226"}));
    XCloseDisplay(injector);
}

TEST(InputCaptureTest, KeyStatesPassEachPressAndReleaseOnceAsTheServerSawThem) {
    // xdotool's Ctrl+Shift+A as raw events: Control 37, Shift 50, A 38; the modifiers are
    // released again after they are up.
    KeyStates keys;
    std::array<bool, 256> none{};
    keys.reset(none);
    std::vector<std::string> passed;
    const std::pair<int, bool> typed[] = {{37, true},  {50, true},  {38, true},
                                          {50, false}, {37, false}, {37, false},
                                          {50, false}, {50, false}, {38, false}};
    for (auto [code, down] : typed)
        if (keys.changes(code, down)) passed.push_back((down ? "down " : "up ") + std::to_string(code));
    EXPECT_EQ(passed, (std::vector<std::string>{"down 37", "down 50", "down 38", "up 50", "up 37",
                                                "up 38"}));

    // A key held when observing starts keeps its release; an auto-repeat down still passes (the
    // recorder tells it from a press); codes outside the table pass nothing.
    std::array<bool, 256> held{};
    held[64] = true;
    keys.reset(held);
    EXPECT_TRUE(keys.changes(64, false));
    EXPECT_FALSE(keys.changes(64, false));
    EXPECT_TRUE(keys.changes(40, true));
    EXPECT_TRUE(keys.changes(40, true));
    EXPECT_FALSE(keys.changes(-1, true));
    EXPECT_FALSE(keys.changes(256, false));
}

TEST(InputCaptureTest, X11CaptureReportsAReleaseSentTwiceOnceAndAKeyHeldAtStart) {
    PrivateXServer server;
    if (server.name().empty()) GTEST_SKIP() << "Xvfb is not available";
    Display* injector = XOpenDisplay(server.name().c_str());
    ASSERT_NE(injector, nullptr);
    const KeyCode a = XKeysymToKeycode(injector, XK_a);
    const KeyCode shift = XKeysymToKeycode(injector, XK_Shift_L);
    const KeyCode control = XKeysymToKeycode(injector, XK_Control_L);
    // Control is down before the capture starts.
    XTestFakeKeyEvent(injector, control, True, 0);
    XSync(injector, False);

    X11InputCapture capture(server.name());
    EventLog log;
    ASSERT_TRUE(capture.start(log));
    // As xdotool types Shift+A: each modifier is released once more after it is up.
    XTestFakeKeyEvent(injector, shift, True, 0);
    XTestFakeKeyEvent(injector, a, True, 0);
    XTestFakeKeyEvent(injector, shift, False, 0);
    XTestFakeKeyEvent(injector, control, False, 0);
    XTestFakeKeyEvent(injector, control, False, 0);
    XTestFakeKeyEvent(injector, shift, False, 0);
    XTestFakeKeyEvent(injector, a, False, 0);
    // A last key marks the end: nothing after it is still on its way.
    XTestFakeKeyEvent(injector, a, True, 0);
    XSync(injector, False);
    ASSERT_TRUE(log.waitFor(6));
    capture.stop();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"down 16", "down 65", "up 16", "up 17",
                                                      "up 65", "down 65"}));
    XTestFakeKeyEvent(injector, a, False, 0);
    XCloseDisplay(injector);
}

}  // namespace
}  // namespace kvr::test
