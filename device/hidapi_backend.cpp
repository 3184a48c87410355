#include "device/hidapi_backend.h"

#include <hidapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "device/report_descriptor.h"

namespace kvr {

namespace {

constexpr std::uint8_t kFeatureReportId = 4;
// The largest report descriptor the kernel keeps.
constexpr std::size_t kMaxDescriptorSize = 4096;

struct HidDeviceCloser {
    void operator()(hid_device* device) const { hid_close(device); }
};
using HidDevicePtr = std::unique_ptr<hid_device, HidDeviceCloser>;

struct EnumerationFree {
    void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};

std::string narrow(const wchar_t* text) {
    if (!text) return {};
    std::string out;
    for (; *text; ++text) out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return out;
}

class HidapiConnection final : public HidConnection {
public:
    explicit HidapiConnection(HidDevicePtr device) : device_(std::move(device)) {}

    bool setFeature(std::span<const std::uint8_t> report) override {
        return hid_send_feature_report(device_.get(), report.data(), report.size()) >= 0;
    }

    bool getFeature(std::span<std::uint8_t> report) override {
        const int got = hid_get_feature_report(device_.get(), report.data(), report.size());
        if (got < 0) return false;
        // A short reply leaves the rest zero, so no stale byte reads as the mouse's status.
        std::fill(report.begin() + std::min<std::ptrdiff_t>(got, std::ssize(report)), report.end(),
                  std::uint8_t{0});
        return true;
    }

private:
    HidDevicePtr device_;
};

int featureLengthOf(const std::string& devicePath) {
    const auto file = reportDescriptorFile(devicePath);
    if (!file) return 0;
    std::ifstream in(*file, std::ios::binary);
    if (!in) return 0;
    std::array<std::uint8_t, kMaxDescriptorSize> buffer{};
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    const auto size = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    return featureReportLength(std::span(buffer).first(size), kFeatureReportId);
}

}  // namespace

std::optional<std::filesystem::path> reportDescriptorFile(const std::string& devicePath) {
    const std::filesystem::path path(devicePath);
    const std::string node = path.filename().string();
    const std::string prefix = "hidraw";
    if (path.parent_path() != "/dev" || node.size() <= prefix.size() ||
        node.compare(0, prefix.size(), prefix) != 0 ||
        !std::all_of(node.begin() + static_cast<std::ptrdiff_t>(prefix.size()), node.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::filesystem::path("/sys/class/hidraw") / node / "device" / "report_descriptor";
}

HidapiBackend::HidapiBackend() {
    if (hid_init() != 0) lastError_ = narrow(hid_error(nullptr));
}

HidapiBackend::~HidapiBackend() { hid_exit(); }

std::vector<HidInterfaceInfo> HidapiBackend::enumerate() {
    std::vector<HidInterfaceInfo> list;
    std::unique_ptr<hid_device_info, EnumerationFree> devices(hid_enumerate(0, 0));
    if (!devices) {
        lastError_ = narrow(hid_error(nullptr));
        return list;
    }
    lastError_.clear();
    std::unordered_set<std::string> seen;
    for (const hid_device_info* d = devices.get(); d; d = d->next) {
        if (!d->path || !seen.insert(d->path).second) continue;
        list.push_back({.path = d->path,
                        .vendorId = d->vendor_id,
                        .productId = d->product_id,
                        .version = d->release_number,
                        .featureReportLength = featureLengthOf(d->path)});
    }
    return list;
}

std::unique_ptr<HidConnection> HidapiBackend::open(const std::string& path) {
    HidDevicePtr device(hid_open_path(path.c_str()));
    if (!device) {
        lastError_ = narrow(hid_error(nullptr));
        return nullptr;
    }
    lastError_.clear();
    return std::make_unique<HidapiConnection>(std::move(device));
}

}  // namespace kvr
