#include "device/access_diagnosis.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "device/device_link.h"

namespace kvr {

namespace {

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

int variantOf(std::uint16_t version) {
    if (version == kVersionVariant1) return 1;
    if (version == kVersionVariant2) return 2;
    return 0;
}

}  // namespace

std::vector<MouseInterfaceStatus> examineMouseInterfaces(HidBackend& backend) {
    std::vector<MouseInterfaceStatus> found;
    for (const HidInterfaceInfo& info : backend.enumerate()) {
        if (info.vendorId != kMouseVendorId || info.productId != kMouseProductId) continue;
        MouseInterfaceStatus status;
        status.info = info;
        status.variant = variantOf(info.version);
        status.configurable = info.featureReportLength == kMouseFeatureReportLength;
        status.openable = backend.open(info.path) != nullptr;
        if (!status.openable) {
            status.problem = info.path + ": the interface could not be opened";
#ifndef _WIN32
            // A device node tells why through its permissions; other paths only that they failed.
            if (info.path.starts_with("/dev/") && ::access(info.path.c_str(), R_OK | W_OK) != 0) {
                status.permissionDenied = errno == EACCES || errno == EPERM;
                status.problem = info.path + ": " + std::strerror(errno);
            }
#endif
        }
        found.push_back(std::move(status));
    }
    return found;
}

std::string udevAdvice() {
    return std::string("The mouse's interfaces are not open to your user. Install the udev rule ") +
           kUdevRuleName + " into " + kUdevRuleDirectory +
           " (the kvr5507 package does this), then run\n"
           "  sudo udevadm control --reload && sudo udevadm trigger\n"
           "and plug the mouse in again. The rule reads:\n"
           "  SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"1bcf\", ATTRS{idProduct}==\"08a0\", "
           "TAG+=\"uaccess\"\n";
}

std::string diagnosisText(const std::vector<MouseInterfaceStatus>& interfaces) {
    std::string text;
    bool denied = false;
    for (const MouseInterfaceStatus& s : interfaces) {
        text += s.info.path + "  version " + hex4(s.info.version) + " (variant " +
                (s.variant ? std::to_string(s.variant) : std::string("unknown")) +
                ")  feature report " + std::to_string(s.info.featureReportLength) + " bytes";
        if (!s.configurable) text += "  not the configuration interface";
        text += s.openable ? "  opens\n" : "  does not open: " + s.problem + "\n";
        denied |= s.permissionDenied;
    }
    if (denied) text += udevAdvice();
    return text;
}

Diagnosis diagnose(HidBackend& backend) {
    Diagnosis d;
    d.interfaces = examineMouseInterfaces(backend);
    d.text = diagnosisText(d.interfaces);
    for (const MouseInterfaceStatus& s : d.interfaces) {
        d.usable |= s.configurable && s.openable && s.variant != 0;
    }
    if (d.interfaces.empty()) {
        d.problem = "No KVR5507 mouse found (USB " + hex4(kMouseVendorId) + ":" +
                    hex4(kMouseProductId) + "). Check that it is plugged in.";
    } else if (!d.usable) {
        d.problem = "No interface of the mouse can be used for its settings.";
    }
    return d;
}

}  // namespace kvr
