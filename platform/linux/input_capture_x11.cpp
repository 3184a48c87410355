#include "platform/linux/input_capture_x11.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/linux/key_map_x11.h"
#include "platform/linux/library_functions.h"

namespace kvr {

namespace {

// XInput 2, opened when recording first asks for it.
#define KVR_XI_FUNCTIONS(X) X(XIQueryVersion) X(XISelectEvents)
struct Xi {
    KVR_XI_FUNCTIONS(KVR_FUNCTION_FIELD)
};

const Xi* xi() {
    return openedLibrary<Xi>("libXi.so.6", [](const FunctionBinder& bind, Xi& f) {
        return true KVR_XI_FUNCTIONS(KVR_BIND_FUNCTION);
    });
}

Display* openDisplay(const std::string& name) {
    return XOpenDisplay(name.empty() ? nullptr : name.c_str());
}

// The XInput opcode, or 0 when the server lacks XInput 2.
int xinput2Opcode(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) return 0;
    int major = 2;
    int minor = 2;
    if (!xi() || xi()->XIQueryVersion(display, &major, &minor) != Success) return 0;
    return opcode;
}

}  // namespace

bool X11InputCapture::available(const std::string& displayName) {
    Display* display = openDisplay(displayName);
    if (!display) return false;
    const bool ok = xinput2Opcode(display) != 0;
    XCloseDisplay(display);
    return ok;
}

bool X11InputCapture::buttonOf(int xButton, MouseButton& button) {
    switch (xButton) {
        case 1:
            button = MouseButton::Left;
            return true;
        case 2:
            button = MouseButton::Middle;
            return true;
        case 3:
            button = MouseButton::Right;
            return true;
        case 8:
            button = MouseButton::Backward;
            return true;
        case 9:
            button = MouseButton::Forward;
            return true;
        default:
            return false;
    }
}

bool X11InputCapture::start(InputCaptureSink& sink) {
    stop();
    failure_.clear();
    Display* display = openDisplay(displayName_);
    if (!display) {
        failure_ = kCaptureUnavailableText;
        return false;
    }
    xiOpcode_ = xinput2Opcode(display);
    if (xiOpcode_ == 0) {
        XCloseDisplay(display);
        failure_ = kCaptureUnavailableText;
        return false;
    }

    keyMap_.fill(0);
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    for (int code = std::max(minKeycode, 0); code <= std::min(maxKeycode, 255); ++code) {
        const KeySym sym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0);
        keyMap_[static_cast<std::size_t>(code)] =
            keysymToVirtualKey(static_cast<std::uint32_t>(sym));
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    xi()->XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    // Asked once the selection holds: a key pressed from now on is seen by its raw event.
    char keymap[32] = {};
    XQueryKeymap(display, keymap);
    std::array<bool, 256> down{};
    for (std::size_t code = 0; code < down.size(); ++code)
        down[code] = (static_cast<unsigned char>(keymap[code / 8]) >> (code % 8)) & 1;
    keys_.reset(down);

    if (pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        XCloseDisplay(display);
        failure_ = kCaptureUnavailableText;
        return false;
    }
    display_ = display;
    sink_ = &sink;
    reader_ = std::thread([this] { run(); });
    return true;
}

void X11InputCapture::stop() {
    if (reader_.joinable()) {
        const char stopByte = 1;
        [[maybe_unused]] const auto written = write(wakeFds_[1], &stopByte, 1);
        reader_.join();
    }
    if (display_) {
        XCloseDisplay(static_cast<Display*>(display_));
        display_ = nullptr;
    }
    for (int& fd : wakeFds_) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    sink_ = nullptr;
}

std::optional<ScreenPoint> X11InputCapture::pointerPosition(void* connection) {
    // A raw event carries no position; the pointer, asked at once, has not moved on from the
    // click in any way that matters.
    Display* display = static_cast<Display*>(connection);
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                       &windowY, &buttons))
        return std::nullopt;
    return ScreenPoint{rootX, rootY};
}

void X11InputCapture::run() {
    Display* display = static_cast<Display*>(display_);
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    for (;;) {
        // Events already read into Xlib's queue are handled before sleeping in poll.
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xiOpcode_) continue;
            if (!XGetEventData(display, cookie)) continue;
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            MouseButton button{};
            switch (cookie->evtype) {
                case XI_RawKeyPress:
                case XI_RawKeyRelease:
                    if (keys_.changes(raw->detail, cookie->evtype == XI_RawKeyPress))
                        sink_->keyChanged(keyMap_[static_cast<std::size_t>(raw->detail)],
                                          cookie->evtype == XI_RawKeyPress);
                    break;
                case XI_RawButtonPress:
                case XI_RawButtonRelease:
                    if (buttonOf(raw->detail, button))
                        sink_->mouseButtonChanged(button, cookie->evtype == XI_RawButtonPress,
                                                  pointerPosition(display));
                    break;
                default:
                    break;
            }
            XFreeEventData(display, cookie);
        }
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents & POLLIN) return;
        if (fds[0].revents & (POLLERR | POLLHUP)) return;
    }
}

}  // namespace kvr
