// Capture on Windows: raw keyboard input to a message-only window (delivered also while another
// program has the focus) and the low-level mouse hook for the five buttons. Both live on a thread
// of their own with its own message loop, so the window's thread never delays the mouse of the
// whole desktop; every mouse event is passed on to the next hook, none is swallowed.
#include <windows.h>

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "buttons/key_table.h"
#include "macros/input_capture.h"
#include "macros/native_keys.h"
#include "platform/windows/core/system_text.h"
#include "platform/windows/input_translation.h"

namespace kvr {

namespace {

constexpr const wchar_t* kWindowClass = L"KvrInputCaptureWindow";
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;
// Raw input marks the extra bytes of some multi-byte scan sequences with this key; it is no key.
constexpr USHORT kFakeVirtualKey = 0xFF;

class WindowsInputCapture final : public InputCapture {
public:
    ~WindowsInputCapture() override { stop(); }

    bool start(InputCaptureSink& sink) override;
    void stop() override;
    std::string failure() const override { return failure_; }

private:
    // Sets up the window, the raw input and the hook on the capture thread, says through `ready`
    // whether that worked, and then runs the message loop until stop() posts WM_QUIT.
    void run(std::promise<std::string> ready);
    void keyboardInput(HRAWINPUT handle);

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam);

    std::string failure_;
    InputCaptureSink* sink_ = nullptr;
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    HHOOK hook_ = nullptr;
};

// The hook procedure has no user argument; the one running capture is found here. Only the
// capture thread reads it, between installing and removing the hook.
std::atomic<WindowsInputCapture*> activeCapture{nullptr};

bool WindowsInputCapture::start(InputCaptureSink& sink) {
    stop();
    failure_.clear();
    WindowsInputCapture* expected = nullptr;
    // The hook reaches its capture through one shared pointer, so one capture runs at a time.
    if (!activeCapture.compare_exchange_strong(expected, this)) {
        failure_ = "another capture is running";
        return false;
    }
    sink_ = &sink;
    std::promise<std::string> ready;
    std::future<std::string> result = ready.get_future();
    thread_ = std::thread([this, promise = std::move(ready)]() mutable { run(std::move(promise)); });
    const std::string error = result.get();
    if (error.empty()) return true;
    thread_.join();
    sink_ = nullptr;
    activeCapture.store(nullptr);
    failure_ = error;
    return false;
}

void WindowsInputCapture::stop() {
    if (thread_.joinable()) {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        WindowsInputCapture* self = this;
        activeCapture.compare_exchange_strong(self, nullptr);
    }
    sink_ = nullptr;
}

void WindowsInputCapture::run(std::promise<std::string> ready) {
    threadId_ = GetCurrentThreadId();
    // Makes this thread's message queue before start() can return, so WM_QUIT is never lost.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowsInputCapture::windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    // A second capture finds the class already there, which is as good.
    if (!RegisterClassExW(&windowClass)) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) {
            ready.set_value("RegisterClassEx: " + systemText(error));
            return;
        }
    }
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance, nullptr);
    if (!window_) {
        const DWORD error = GetLastError();
        ready.set_value("CreateWindowEx: " + systemText(error));
        return;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    RAWINPUTDEVICE device = {};
    device.usUsagePage = kGenericDesktopPage;
    device.usUsage = kKeyboardUsage;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = window_;
    if (!RegisterRawInputDevices(&device, 1, sizeof(device))) {
        const std::string error = "RegisterRawInputDevices: " + systemText(GetLastError());
        DestroyWindow(window_);
        window_ = nullptr;
        ready.set_value(error);
        return;
    }

    hook_ = SetWindowsHookExW(WH_MOUSE_LL, &WindowsInputCapture::mouseProc, instance, 0);
    if (!hook_) {
        const std::string error = "SetWindowsHookEx: " + systemText(GetLastError());
        device.dwFlags = RIDEV_REMOVE;
        device.hwndTarget = nullptr;
        RegisterRawInputDevices(&device, 1, sizeof(device));
        DestroyWindow(window_);
        window_ = nullptr;
        ready.set_value(error);
        return;
    }
    ready.set_value({});

    // GetMessage returns 0 for WM_QUIT and -1 on an error; both end the capture.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    device.dwFlags = RIDEV_REMOVE;
    device.hwndTarget = nullptr;
    RegisterRawInputDevices(&device, 1, sizeof(device));
    DestroyWindow(window_);
    window_ = nullptr;
}

void WindowsInputCapture::keyboardInput(HRAWINPUT handle) {
    RAWINPUT input;
    UINT size = sizeof(input);
    const UINT read =
        GetRawInputData(handle, RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER));
    // A failed read (read is (UINT)-1) loses this one event, as the recorder can do nothing
    // better with it.
    if (read == static_cast<UINT>(-1) || read < sizeof(RAWINPUTHEADER)) return;
    if (input.header.dwType != RIM_TYPEKEYBOARD) return;
    const std::optional<RawKeyEvent> event = translateRawKey(input.data.keyboard);
    if (event && sink_) sink_->keyChanged(event->virtualKey, event->down);
}

LRESULT CALLBACK WindowsInputCapture::windowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_INPUT) {
        auto* self =
            reinterpret_cast<WindowsInputCapture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) self->keyboardInput(reinterpret_cast<HRAWINPUT>(lParam));
        // The default handling frees the system's copy of the raw input.
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowsInputCapture::mouseProc(int code, WPARAM wParam, LPARAM lParam) {
    WindowsInputCapture* self = activeCapture.load();
    if (code == HC_ACTION && self && self->sink_) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (const std::optional<HookButtonEvent> button = translateMouseHook(wParam, *event))
            self->sink_->mouseButtonChanged(button->button, button->down, button->at);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::optional<RawKeyEvent> translateRawKey(const RAWKEYBOARD& key) {
    if (key.VKey == 0 || key.VKey == kFakeVirtualKey) return std::nullopt;
    switch (key.Message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return RawKeyEvent{key.VKey, true};
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return RawKeyEvent{key.VKey, false};
        default:
            return std::nullopt;
    }
}

std::optional<HookButtonEvent> translateMouseHook(WPARAM message, const MSLLHOOKSTRUCT& event) {
    HookButtonEvent out;
    out.at = ScreenPoint{event.pt.x, event.pt.y};
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            out.button = MouseButton::Left;
            out.down = message == WM_LBUTTONDOWN;
            return out;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            out.button = MouseButton::Right;
            out.down = message == WM_RBUTTONDOWN;
            return out;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            out.button = MouseButton::Middle;
            out.down = message == WM_MBUTTONDOWN;
            return out;
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP:
            out.down = message == WM_XBUTTONDOWN;
            // The high word names the extra button: the first is backward, the second forward.
            switch (HIWORD(event.mouseData)) {
                case XBUTTON1:
                    out.button = MouseButton::Backward;
                    return out;
                case XBUTTON2:
                    out.button = MouseButton::Forward;
                    return out;
                default:
                    return std::nullopt;
            }
        default:
            return std::nullopt;
    }
}

std::unique_ptr<InputCapture> makeInputCapture() {
    return std::make_unique<WindowsInputCapture>();
}

}  // namespace kvr

namespace kvr {

// Qt hands Windows key events over with their virtual-key code as the native key.
std::uint16_t nativeKeyToVirtualKey(std::uint32_t nativeKey) {
    return nativeKey < 0x100 && VirtualKeyToKeyIndex(int(nativeKey)) != kNoKey
               ? std::uint16_t(nativeKey)
               : 0;
}

}  // namespace kvr
