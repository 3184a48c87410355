#pragma once
// kvr5507ctl: the mouse's settings from the command line, on the same core as the window.
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>

namespace kvr {

class EmulatedMouse;
class HidBackend;

// Exit codes.
inline constexpr int kExitDone = 0;
inline constexpr int kExitMouse = 1;  // the mouse refused, is missing or not accessible
inline constexpr int kExitUsage = 2;  // bad arguments
inline constexpr int kExitBadFile = 2;  // a file that fails its check (profile, macro, image)

struct CtlEnvironment {
    // Searched instead of the machine's HID interfaces (tests; an empty bus is a missing mouse).
    HidBackend* hid = nullptr;
    // Sees the mouse of --emulate before the command runs (tests: wire log and faults).
    std::function<void(const std::shared_ptr<EmulatedMouse>&)> onEmulatedMouse;
};

// `args` excludes the program name. Results go to `out`, messages to `err`.
int runCtl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const CtlEnvironment& environment = {});

}  // namespace kvr
