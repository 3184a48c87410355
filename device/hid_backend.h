#pragma once
// The platform's HID layer, as the device link needs it: enumerate interfaces, open one
// without exclusive access, and exchange feature reports on it.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kvr {

struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;  // bcdDevice
    // Length of feature report 4 including the report ID byte (7 data bytes give 8).
    int featureReportLength = 0;
};

class HidConnection {
public:
    virtual ~HidConnection() = default;
    // Both take the whole report with its report ID in byte 0. They return whether the platform
    // call succeeded; the command protocol judges an exchange only by the status byte.
    virtual bool setFeature(std::span<const std::uint8_t> report) = 0;
    virtual bool getFeature(std::span<std::uint8_t> report) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The HID interfaces present now; empty when the device list cannot be had.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;
    // Opens an interface without exclusive access; null when the open fails.
    virtual std::unique_ptr<HidConnection> open(const std::string& path) = 0;
};

}  // namespace kvr
