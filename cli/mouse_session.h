#pragma once
// One use of the mouse from the command line: search once, read it whole, change the page models,
// write them as Apply does. Messages are the window's texts in the English table.
#include <memory>
#include <optional>
#include <string>

#include "base/language_table.h"
#include "base/layout_config.h"
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

// The language the command line speaks: the built-in English table.
inline constexpr int kCtlLanguage = 2;

class MouseSession {
public:
    // The backend and pacer must outlive the session.
    MouseSession(HidBackend& backend, Pacer& pacer);
    ~MouseSession();
    MouseSession(const MouseSession&) = delete;
    MouseSession& operator=(const MouseSession&) = delete;

    // Searches once and reads the mouse whole. On failure, why, for the user.
    std::optional<std::string> open();

    // The text of a key in the English table.
    std::string text(std::string_view key) const;

    DeviceLink& link() { return link_; }
    CommandProtocol& protocol() { return protocol_; }
    ReadWriteCycle& cycle() { return *cycle_; }
    SensitivityModel& sensitivity() { return sensitivity_; }
    LightModel& light() { return light_; }
    ButtonModel& buttons() { return buttons_; }
    // The mouse's macros, parsed again whenever its macro area is read or written.
    DeviceMacros& deviceMacros() { return *macros_; }
    ProfileFiles& profileFiles() { return *profiles_; }
    const CodeNaming& naming() const { return naming_; }
    const OrgSection& org() const { return org_; }
    bool identityPasses(std::uint8_t manufacturerId, std::uint8_t productId) const;

    // A write's outcome for the user; empty when it was written.
    std::optional<std::string> writeFailure(WriteResult result) const;

private:
    class Handler;
    class QuietUi;

    std::optional<LanguageTable> table_;
    std::unique_ptr<Handler> handler_;
    std::unique_ptr<QuietUi> ui_;
    DeviceLink link_;
    CommandProtocol protocol_;
    SensitivityModel sensitivity_;
    LightModel light_;
    ButtonModel buttons_;
    CodeNaming naming_;
    OrgSection org_;
    std::unique_ptr<ReadWriteCycle> cycle_;
    std::unique_ptr<DeviceMacros> macros_;
    std::unique_ptr<ProfileFiles> profiles_;
};

}  // namespace kvr
