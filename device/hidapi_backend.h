#pragma once
// Real mice through hidapi (hidraw on Linux).
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace kvr {

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    // One entry per interface (hidapi lists a device once per top-level collection).
    std::vector<HidInterfaceInfo> enumerate() override;
    // Shared access: other programs may hold the interface open too.
    std::unique_ptr<HidConnection> open(const std::string& path) override;

    // The platform's words for the last failed enumeration or open; empty after a success.
    const std::string& lastError() const { return lastError_; }

private:
    std::string lastError_;
};

// Where the kernel shows the report descriptor of a hidraw node ("/dev/hidraw3"); empty for a
// path that is not a hidraw node.
std::optional<std::filesystem::path> reportDescriptorFile(const std::string& devicePath);

}  // namespace kvr
