#include "device/device_link.h"

#include <utility>

#include "device/pacer.h"

namespace kvr {

namespace {

bool sameInterface(const HidInterfaceInfo& a, const HidInterfaceInfo& b) {
    return a.path == b.path && a.vendorId == b.vendorId && a.productId == b.productId &&
           a.version == b.version && a.featureReportLength == b.featureReportLength;
}

}  // namespace

DeviceLink::DeviceLink(HidBackend& backend, Pacer& pacer, PresenceHandler& handler)
    : backend_(backend), pacer_(pacer), handler_(handler) {}

int DeviceLink::CountHidInterfaces() {
    int count = 0;
    for (const HidInterfaceInfo& info : backend_.enumerate()) {
        if (backend_.open(info.path)) ++count;
    }
    return count;
}

bool DeviceLink::OpenDevice(std::uint16_t vendorId, std::uint16_t productId,
                            std::uint16_t version) {
    bool found = false;
    for (const HidInterfaceInfo& info : backend_.enumerate()) {
        // The platform gives the identifiers without opening, so only a candidate is opened.
        if (info.featureReportLength != kMouseFeatureReportLength || info.vendorId != vendorId ||
            info.productId != productId || info.version != version) {
            continue;
        }
        std::unique_ptr<HidConnection> connection = backend_.open(info.path);
        if (!connection) continue;
        // A later match replaces an earlier one, which closes with its connection.
        handle_ = std::move(connection);
        openInterface_ = info;
        vendorId_ = vendorId;
        productId_ = productId;
        featureReportLength_ = kMouseFeatureReportLength;
        found = true;
    }
    return found;
}

void DeviceLink::DevTimerTimer() {
    if (timerBusy_) return;
    timerBusy_ = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{timerBusy_};

    int agreeing = 0;
    int current = 0;
    for (int round = 0; round < kCountRounds; ++round) {
        const int first = CountHidInterfaces();
        const int second = CountHidInterfaces();
        if (first == second) ++agreeing;
        current = first;
    }
    if (agreeing < kAgreeingRoundsNeeded) return;

    const int last = std::exchange(lastInterfaceCount_, current);
    if (!searched_ || current > last) {
        searched_ = true;
        interfaceArrived();
    } else if (current < last) {
        interfaceWentAway();
    } else if (handle_ && deviceVariant_ == imageVariant_ && handler_.awaitsRead()) {
        handler_.readDevInfo();
    }
}

bool DeviceLink::openInterfaceStillPresent() {
    if (!handle_ || !openInterface_) return false;
    for (const HidInterfaceInfo& info : backend_.enumerate()) {
        if (sameInterface(info, *openInterface_)) return true;
    }
    return false;
}

void DeviceLink::dropDevice() {
    handle_.reset();
    openInterface_.reset();
    vendorId_ = 0;
    productId_ = 0;
    deviceVariant_ = 0;
}

void DeviceLink::interfaceWentAway() {
    // Another HID device left while the mouse's own interface is still there: keep the mouse.
    if (openInterfaceStillPresent()) return;
    // The device is dropped before the window reacts, so nothing reaches a gone mouse while the
    // no-device message is up.
    dropDevice();
    handler_.noDeviceFound();
}

int DeviceLink::searchPair(const IdentifierPair& pair) {
    // The variant says what this search found, not what an earlier one did.
    deviceVariant_ = 0;
    if (OpenDevice(pair.vendorId, pair.productId, kVersionVariant1)) deviceVariant_ = 1;
    if (OpenDevice(pair.vendorId, pair.productId, kVersionVariant2)) deviceVariant_ = 2;
    if (deviceVariant_ == 0) return 0;
    vendorId_ = pair.vendorId;
    productId_ = pair.productId;
    if (deviceVariant_ == imageVariant_) {
        handler_.readDevInfo();
    } else {
        handler_.wrongVariant();
    }
    return deviceVariant_;
}

void DeviceLink::interfaceArrived() {
    for (const IdentifierPair& pair : accepted_) {
        if (!pair.usable()) continue;
        for (int step = 0; step < kSettleSteps; ++step) {
            pacer_.wait(kSettleStep);
            pacer_.pump();
        }
        if (searchPair(pair) != 0) return;
        // A handle from an earlier search no longer matches anything present.
        dropDevice();
        handler_.noDeviceFound();
    }
}

int DeviceLink::searchMouse() {
    for (const IdentifierPair& pair : accepted_) {
        if (!pair.usable()) continue;
        if (const int variant = searchPair(pair)) return variant;
    }
    dropDevice();
    handler_.noDeviceFound();
    return 0;
}

}  // namespace kvr
