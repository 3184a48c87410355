#include "device/virtual_bus.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kvr {

struct VirtualBus::State {
    struct Entry {
        VirtualInterface interface;
        std::uint64_t serial = 0;  // tells a replugged interface from the one a handle opened
    };

    std::vector<Entry> entries;
    std::uint64_t nextSerial = 1;
    int enumerations = 0;
    int opens = 0;
    std::function<void(int)> beforeEnumerate;

    Entry* find(const std::string& path) {
        auto it = std::ranges::find_if(
            entries, [&](const Entry& e) { return e.interface.info.path == path; });
        return it == entries.end() ? nullptr : &*it;
    }

    bool removeIf(const std::string& path, std::uint64_t serial) {
        const auto removed = std::erase_if(entries, [&](const Entry& e) {
            return e.interface.info.path == path && (serial == 0 || e.serial == serial);
        });
        return removed > 0;
    }
};

namespace {

// A handle on one plugged interface; every call fails once that interface is gone.
class VirtualConnection final : public HidConnection {
public:
    VirtualConnection(std::weak_ptr<VirtualBus::State> bus, std::string path, std::uint64_t serial,
                      std::shared_ptr<VirtualHidDevice> device)
        : bus_(std::move(bus)),
          path_(std::move(path)),
          serial_(serial),
          device_(std::move(device)) {}

    bool setFeature(std::span<const std::uint8_t> report) override {
        // Held for the call: the device may pull itself off the bus while answering.
        std::shared_ptr<VirtualHidDevice> device = device_;
        return present() && device && device->setFeature(report);
    }
    bool getFeature(std::span<std::uint8_t> report) override {
        std::shared_ptr<VirtualHidDevice> device = device_;
        return present() && device && device->getFeature(report);
    }

private:
    bool present() const {
        std::shared_ptr<VirtualBus::State> bus = bus_.lock();
        if (!bus) return false;
        const VirtualBus::State::Entry* entry = bus->find(path_);
        return entry && entry->serial == serial_;
    }

    std::weak_ptr<VirtualBus::State> bus_;
    std::string path_;
    std::uint64_t serial_;
    std::shared_ptr<VirtualHidDevice> device_;
};

}  // namespace

VirtualBus::VirtualBus() : state_(std::make_shared<State>()) {}

void VirtualBus::plug(VirtualInterface interface) {
    state_->removeIf(interface.info.path, 0);
    state_->entries.push_back({std::move(interface), state_->nextSerial++});
}

bool VirtualBus::unplug(const std::string& path) { return state_->removeIf(path, 0); }

bool VirtualBus::isPlugged(const std::string& path) const { return state_->find(path) != nullptr; }

std::size_t VirtualBus::interfaceCount() const { return state_->entries.size(); }

std::function<void()> VirtualBus::unplugger(const std::string& path) const {
    const State::Entry* entry = state_->find(path);
    const std::uint64_t serial = entry ? entry->serial : 0;
    std::weak_ptr<State> weak = state_;
    return [weak, path, serial] {
        if (serial == 0) return;
        if (std::shared_ptr<State> state = weak.lock()) state->removeIf(path, serial);
    };
}

std::vector<HidInterfaceInfo> VirtualBus::enumerate() {
    ++state_->enumerations;
    if (state_->beforeEnumerate) state_->beforeEnumerate(state_->enumerations);
    std::vector<HidInterfaceInfo> list;
    list.reserve(state_->entries.size());
    for (const State::Entry& e : state_->entries) list.push_back(e.interface.info);
    return list;
}

std::unique_ptr<HidConnection> VirtualBus::open(const std::string& path) {
    ++state_->opens;
    const State::Entry* entry = state_->find(path);
    if (!entry || !entry->interface.openable) return nullptr;
    return std::make_unique<VirtualConnection>(state_, path, entry->serial,
                                               entry->interface.device);
}

int VirtualBus::enumerations() const { return state_->enumerations; }

int VirtualBus::opens() const { return state_->opens; }

void VirtualBus::setBeforeEnumerate(std::function<void(int)> hook) {
    state_->beforeEnumerate = std::move(hook);
}

}  // namespace kvr
