#pragma once
// Why the mouse can or cannot be used: its HID interfaces, whether each opens, and when one does
// not, what stands in the way. Both programs print it (kvr5507 --diagnose, kvr5507ctl list).
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace kvr {

// The udev rule that gives the logged-in user the mouse's hidraw interfaces.
inline constexpr const char* kUdevRuleName = "70-kvr5507.rules";
inline constexpr const char* kUdevRuleDirectory = "/usr/lib/udev/rules.d";

struct MouseInterfaceStatus {
    HidInterfaceInfo info;
    int variant = 0;  // 1 or 2 by the HID version; 0 for a version the program does not know
    // Only an interface with an 8-byte feature report 4 is the configuration interface.
    bool configurable = false;
    bool openable = false;
    bool permissionDenied = false;
    std::string problem;  // why it does not open; empty when it does
};

// Every present interface with the mouse's vendor and product id, each opened once and closed.
std::vector<MouseInterfaceStatus> examineMouseInterfaces(HidBackend& backend);

// The interfaces as lines of text, with advice on the udev rule when permissions are in the way;
// empty when there are none.
std::string diagnosisText(const std::vector<MouseInterfaceStatus>& interfaces);

struct Diagnosis {
    std::vector<MouseInterfaceStatus> interfaces;
    std::string text;
    // Some interface of a known variant is the configuration interface and opens.
    bool usable = false;
    // Why the mouse cannot be used, one sentence for the error output; empty when it can.
    std::string problem;
};

// The mouse's interfaces on `backend` examined and described.
Diagnosis diagnose(HidBackend& backend);

// What to do when the mouse's interfaces are not readable and writable by the user.
std::string udevAdvice();

}  // namespace kvr
