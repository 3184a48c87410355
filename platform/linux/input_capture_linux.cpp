#include <cstdlib>
#include <string_view>

#include "macros/input_capture.h"
#include "platform/linux/input_capture_evdev.h"
#include "platform/linux/input_capture_x11.h"

namespace kvr {

namespace {

bool hasEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

std::unique_ptr<InputCapture> makeInputCapture() {
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland =
        hasEnv("WAYLAND_DISPLAY") || (session && std::string_view(session) == "wayland");
    // Under Wayland an X connection sees only the input of X programs, so the devices are read.
    if (!wayland && hasEnv("DISPLAY") && X11InputCapture::available())
        return std::make_unique<X11InputCapture>();
    if (EvdevInputCapture::available()) return std::make_unique<EvdevInputCapture>();
    return std::make_unique<UnavailableCapture>(kCaptureUnavailableText);
}

}  // namespace kvr
