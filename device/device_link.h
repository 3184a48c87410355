#pragma once
// The link to the mouse: finding it among the HID interfaces, holding its open interface, and the
// presence tick that notices mice coming and going.
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "device/hid_backend.h"

namespace kvr {

class Pacer;

inline constexpr std::uint16_t kMouseVendorId = 0x1BCF;
inline constexpr std::uint16_t kMouseProductId = 0x08A0;
// The HID version number tells the mouse's memory variant.
inline constexpr std::uint16_t kVersionVariant1 = 0x0102;
inline constexpr std::uint16_t kVersionVariant2 = 0x0103;
// Only an interface whose feature report 4 has this length (report ID included) is the mouse.
inline constexpr int kMouseFeatureReportLength = 8;

inline constexpr std::chrono::milliseconds kPresenceTimerInterval{3500};
// A newly arrived device is given this long to settle before it is opened, in pumped steps.
inline constexpr int kSettleSteps = 21;
inline constexpr std::chrono::milliseconds kSettleStep{100};
// A tick counts the interfaces in rounds of two counts; it acts only on agreeing rounds.
inline constexpr int kCountRounds = 5;
inline constexpr int kAgreeingRoundsNeeded = 2;

struct IdentifierPair {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    // A pair with a zero member is not searched for.
    bool usable() const { return vendorId != 0 && productId != 0; }
};

// The window's reactions to what the presence tick finds.
class PresenceHandler {
public:
    virtual ~PresenceHandler() = default;
    // The no-device state. The link has already dropped the device and its variant.
    virtual void noDeviceFound() = 0;
    // A mouse of the image's variant was opened: check its identity and read it.
    virtual void readDevInfo() = 0;
    // A mouse of the other variant was opened. It stays open but is not read.
    virtual void wrongVariant() = 0;
    // Whether the open mouse still waits for its first full read (it did not answer when it was
    // found); the next tick then tries again.
    virtual bool awaitsRead() const { return false; }
};

class DeviceLink {
public:
    // The backend, pacer and handler must outlive the link.
    DeviceLink(HidBackend& backend, Pacer& pacer, PresenceHandler& handler);

    // How many present HID interfaces can be opened; each is opened and closed again.
    int CountHidInterfaces();
    // Opens the interface with these identifiers and an 8-byte feature report. Every interface is
    // examined and a later match replaces an earlier one. False, and the link unchanged, when
    // none matches.
    bool OpenDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t version);
    // One search for the mouse with the accepted pairs, without the settle wait: a program that
    // looks only once at start (the command line). Sets the device variant (0 when nothing
    // matched) and tells the handler, as a tick that saw a new interface does.
    int searchMouse();
    // One tick of the presence timer: the first searches, later ones search when the count of
    // interfaces rose and take the mouse as lost when it fell; an open mouse that was never read
    // is read again. Returns at once while a tick is already running (the handler's reactions
    // pump events).
    void DevTimerTimer();

    // The open interface, or null when there is none.
    HidConnection* connection() const { return handle_.get(); }
    bool hasDevice() const { return handle_ != nullptr; }
    // The device handle becomes none; identifiers and variant stay (a mouse that is not ready,
    // the window closing).
    void closeHandle() { handle_.reset(); }

    std::uint16_t vendorId() const { return vendorId_; }
    std::uint16_t productId() const { return productId_; }
    int featureReportLength() const { return featureReportLength_; }
    // 0 none, 1 or 2.
    int deviceVariant() const { return deviceVariant_; }
    // The layout of the program's own default image; fixed at start-up.
    int imageVariant() const { return imageVariant_; }
    void setImageVariant(int variant) { imageVariant_ = variant; }

    const std::array<IdentifierPair, 2>& acceptedIdentifiers() const { return accepted_; }
    void setAcceptedIdentifiers(const std::array<IdentifierPair, 2>& pairs) { accepted_ = pairs; }

    int lastInterfaceCount() const { return lastInterfaceCount_; }
    bool timerBusy() const { return timerBusy_; }

private:
    void interfaceWentAway();
    void interfaceArrived();
    // Searches one pair; the variant found, 0 for none.
    int searchPair(const IdentifierPair& pair);
    bool openInterfaceStillPresent();
    void dropDevice();

    HidBackend& backend_;
    Pacer& pacer_;
    PresenceHandler& handler_;

    std::unique_ptr<HidConnection> handle_;
    // What the open interface was when it was taken; tells whether it is still there.
    std::optional<HidInterfaceInfo> openInterface_;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    int featureReportLength_ = 0;
    int deviceVariant_ = 0;
    int imageVariant_ = 1;
    std::array<IdentifierPair, 2> accepted_{IdentifierPair{kMouseVendorId, kMouseProductId},
                                            IdentifierPair{}};
    int lastInterfaceCount_ = 0;
    bool timerBusy_ = false;
    // The first tick searches whatever it counts, so that a machine without any openable
    // interface still hears that no mouse was found.
    bool searched_ = false;
};

}  // namespace kvr
