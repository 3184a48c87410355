#include "gui/display_check.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace kvr {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Qt's options take their value from the next argument, with one or two leading dashes.
std::string qtOption(std::span<const std::string> args, std::string_view name, std::string value) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        std::string_view a = args[i];
        if (a.starts_with("--")) a.remove_prefix(1);
        if (a.size() == name.size() + 1 && a[0] == '-' && a.substr(1) == name) value = args[i + 1];
    }
    return value;
}

// Qt's own options, with one or two leading dashes: those that take the next argument, and flags.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",   "qwindowgeometry",
    "qwindowicon", "qwindowtitle",   "session",       "display",  "geometry",
    "style",    "stylesheet",         "qmljsdebugger", "title",    "name"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

constexpr const char* kHowToRunWithout =
    "; without a desktop, start it under a virtual X server: xvfb-run -a kvr5507 --emulate";

}  // namespace

std::vector<std::string> withoutQtOptions(std::span<const std::string> args) {
    std::vector<std::string> ours;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view a = args[i];
        if (a.starts_with("--")) a.remove_prefix(1);
        const std::string_view name = a.starts_with("-") ? a.substr(1) : std::string_view{};
        // "--emulate" stays ours: only names Qt knows are taken away.
        if (!name.empty() && std::ranges::find(kQtFlags, name) != std::end(kQtFlags)) continue;
        if (!name.empty() && i + 1 < args.size() &&
            std::ranges::find(kQtOptionsWithValue, name) != std::end(kQtOptionsWithValue)) {
            ++i;
            continue;
        }
        ours.push_back(args[i]);
    }
    return ours;
}

DisplayCheck checkDisplay(std::span<const std::string> args) {
    const std::string platform = qtOption(args, "platform", environment("QT_QPA_PLATFORM"));
    const std::string display = qtOption(args, "display", environment("DISPLAY"));
    const bool wayland = !environment("WAYLAND_DISPLAY").empty();

    // Qt tries the platforms listed, in order; the ones that are neither X nor Wayland (offscreen,
    // vnc, a framebuffer) need no display from us.
    bool tryX = platform.empty(), tryWayland = platform.empty();
    std::string_view rest = platform;
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        const std::string_view entry = rest.substr(0, end);
        const std::string_view name = entry.substr(0, entry.find(':'));  // "xcb:option"
        if (name == "xcb")
            tryX = true;
        else if (name.starts_with("wayland"))
            tryWayland = true;
        else if (!name.empty())
            return {};
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }

    if (tryWayland && wayland) return {};
    if (tryX && !display.empty()) {
        if (Display* d = XOpenDisplay(display.c_str()))
            return {std::nullopt, std::shared_ptr<void>(
                                      d, [](void* p) { XCloseDisplay(static_cast<Display*>(p)); })};
        return {"cannot connect to the X display " + display + kHowToRunWithout, nullptr};
    }
    if (tryX) {
        return {
            std::string("no display to show the window on (DISPLAY is not set)") + kHowToRunWithout,
            nullptr};
    }
    return {std::string("no Wayland display to show the window on (WAYLAND_DISPLAY is not set)") +
                kHowToRunWithout,
            nullptr};
}

}  // namespace kvr
