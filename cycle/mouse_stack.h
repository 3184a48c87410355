#pragma once
// The mouse as every front end uses it: the link and the command protocol on it, the three page
// models, the names of button codes, the read/write cycle over them, the mouse's macros and the
// profile files, built in one order. Whoever shows what happens (the window, the command line, a
// test) lends its presence handler and its side of a transfer.
#include <cstdint>
#include <span>

#include "base/text_lookup.h"
#include "buttons/button_model.h"
#include "buttons/button_names.h"
#include "cycle/device_macros.h"
#include "cycle/profile_file.h"
#include "cycle/read_write_cycle.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "settings/light_model.h"
#include "settings/sensitivity_model.h"

namespace kvr {

class HidBackend;
class Pacer;

// What the mouse runs on and reports to; all of it must outlive the MouseStack.
struct MouseStackUser {
    HidBackend& backend;
    Pacer& pacer;
    // Hears when the presence tick finds a mouse or loses it.
    PresenceHandler& presence;
    // What is shown around a transfer. Its device macro list is refreshed after the mouse's
    // macro table already follows the macro area.
    TransferUi& ui;
    // The texts of the current language: level captions, the names of fallback functions.
    TextLookup texts;
};

class MouseStack {
public:
    // On the built-in default image.
    explicit MouseStack(MouseStackUser user);
    // On `defaultImage`, which must outlive the stack.
    MouseStack(MouseStackUser user, std::span<const std::uint8_t> defaultImage);
    MouseStack(const MouseStack&) = delete;
    MouseStack& operator=(const MouseStack&) = delete;

    // False when there was no default image at all; the cycle then has variant 0 and never
    // reads or writes a mouse.
    bool hasDefaultImage() const { return !defaultImage_.empty(); }

    DeviceLink& link() { return link_; }
    const DeviceLink& link() const { return link_; }
    CommandProtocol& protocol() { return protocol_; }
    SensitivityModel& sensitivity() { return sensitivity_; }
    LightModel& light() { return light_; }
    ButtonModel& buttons() { return buttons_; }
    // Buttons that run a macro are named after it.
    const CodeNaming& naming() const { return naming_; }
    ReadWriteCycle& cycle() { return cycle_; }
    const ReadWriteCycle& cycle() const { return cycle_; }
    // The mouse's macros, parsed again whenever its macro area is read, reset or loaded.
    DeviceMacros& deviceMacros() { return macros_; }
    ProfileFiles& profileFiles() { return profiles_; }

private:
    // The macro table follows the macro area before the list on show is refreshed and before
    // the pages name buttons after their macros.
    void macroAreaChanged();

    std::span<const std::uint8_t> defaultImage_;
    TransferUi& ui_;
    DeviceLink link_;
    CommandProtocol protocol_;
    SensitivityModel sensitivity_;
    LightModel light_;
    ButtonModel buttons_;
    CodeNaming naming_;
    ReadWriteCycle cycle_;
    DeviceMacros macros_;
    ProfileFiles profiles_;
};

}  // namespace kvr
