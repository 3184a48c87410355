#pragma once
// One use of the mouse from the command line: search once, read it whole, change the page models,
// write them as Apply does. Messages are the window's texts in the English table.
#include <memory>
#include <optional>
#include <string>

#include "base/language_table.h"
#include "base/layout_config.h"
#include "cycle/mouse_stack.h"

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

    MouseStack& stack() { return stack_; }
    DeviceLink& link() { return stack_.link(); }
    CommandProtocol& protocol() { return stack_.protocol(); }
    ReadWriteCycle& cycle() { return stack_.cycle(); }
    SensitivityModel& sensitivity() { return stack_.sensitivity(); }
    LightModel& light() { return stack_.light(); }
    ButtonModel& buttons() { return stack_.buttons(); }
    // The mouse's macros, parsed again whenever its macro area is read or written.
    DeviceMacros& deviceMacros() { return stack_.deviceMacros(); }
    ProfileFiles& profileFiles() { return stack_.profileFiles(); }
    const CodeNaming& naming() const { return stack_.naming(); }
    const OrgSection& org() const { return org_; }
    bool identityPasses(std::uint8_t manufacturerId, std::uint8_t productId) const;

    // A write's outcome for the user; empty when it was written.
    std::optional<std::string> writeFailure(WriteResult result) const;

private:
    class Handler;

    std::optional<LanguageTable> table_;
    std::unique_ptr<Handler> handler_;
    // Nothing to show around a transfer.
    HeadlessTransferUi quiet_;
    MouseStack stack_;
    OrgSection org_;
};

}  // namespace kvr
