#pragma once
// A HID bus in memory: interfaces that tests and demo mode plug in and pull out at run time. The
// emulated mouse sits behind one of them; others stand for keyboards and the like.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace kvr {

// What answers the feature reports of a virtual interface.
class VirtualHidDevice {
public:
    virtual ~VirtualHidDevice() = default;
    virtual bool setFeature(std::span<const std::uint8_t> report) = 0;
    virtual bool getFeature(std::span<std::uint8_t> report) = 0;
};

struct VirtualInterface {
    HidInterfaceInfo info;
    // False for an interface the platform lists but will not open (another program holds it).
    bool openable = true;
    // Null for an interface whose feature reports go nowhere (every call fails).
    std::shared_ptr<VirtualHidDevice> device;
};

class VirtualBus final : public HidBackend {
public:
    VirtualBus();

    // Adds the interface; one with the same path is replaced, and its open connections fail
    // from then on, as a stale handle does after a replug.
    void plug(VirtualInterface interface);
    // False when no interface has that path.
    bool unplug(const std::string& path);
    bool isPlugged(const std::string& path) const;
    std::size_t interfaceCount() const;
    // Pulls out this very interface later, unless it was replaced meanwhile. Safe to call after
    // the bus is gone.
    std::function<void()> unplugger(const std::string& path) const;

    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path) override;

    int enumerations() const;
    int opens() const;
    // Runs at the start of every enumeration with its number (1, 2, ...), so a test can change
    // the bus between two counts of one tick.
    void setBeforeEnumerate(std::function<void(int)> hook);

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace kvr
