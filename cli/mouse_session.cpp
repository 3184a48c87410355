#include "cli/mouse_session.h"

#include "base/layout_target.h"
#include "device/pacer.h"

namespace kvr {

namespace {

// The command line places no controls; the layout reader only hands it the reserve identity.
class NoLayout final : public LayoutTarget {
public:
    bool loadPicture(std::string_view, std::string_view) override { return true; }
    PictureSize imageSize(std::string_view) const override { return {}; }
    void move(std::string_view, int, int) override {}
    void setGeometry(std::string_view, int, int, int, int) override {}
    void setVisible(std::string_view, bool) override {}
    void setFontSize(std::string_view, int) override {}
    void setFontColour(std::string_view, Colour) override {}
    void setBackColour(std::string_view, Colour) override {}
    void setBorderColour(std::string_view, Colour) override {}
};

}  // namespace

// What the search found, kept for open() to report.
class MouseSession::Handler final : public PresenceHandler {
public:
    void noDeviceFound() override { outcome = Outcome::None; }
    void readDevInfo() override {
        outcome = Outcome::Read;
        if (session) result = session->cycle().ReadDevInfo();
    }
    void wrongVariant() override { outcome = Outcome::WrongVariant; }

    enum class Outcome { NotSearched, None, Read, WrongVariant };
    Outcome outcome = Outcome::NotSearched;
    DevInfoResult result = DevInfoResult::NoAnswer;
    MouseSession* session = nullptr;
};

MouseSession::MouseSession(HidBackend& backend, Pacer& pacer)
    : table_(LanguageTable::LoadLanguageTable(kCtlLanguage).table),
      handler_(std::make_unique<Handler>()),
      stack_(
          {backend, pacer, *handler_, quiet_, [this](std::string_view key) { return text(key); }}) {
    NoLayout noLayout;
    // Without the table only the program's own identity is accepted.
    (void)LoadOrgSection(noLayout, org_);
    stack_.cycle().setReserveIdentity(org_.ReserveVendorId, org_.ReserveProductId);
    handler_->session = this;
}

MouseSession::~MouseSession() = default;

std::string MouseSession::text(std::string_view key) const {
    return table_ ? table_->text(key) : std::string();
}

bool MouseSession::identityPasses(std::uint8_t manufacturerId, std::uint8_t productId) const {
    return stack_.cycle().identityPasses(manufacturerId, productId);
}

std::optional<std::string> MouseSession::open() {
    if (cycle().imageVariant() == 0) return "The built-in default image is missing or damaged.";
    cycle().InitNoDevice();
    link().searchMouse();
    switch (handler_->outcome) {
        case Handler::Outcome::NotSearched:
        case Handler::Outcome::None:
            return text("Str100") + ". " + text("Str101") + ".";
        case Handler::Outcome::WrongVariant:
            return text("Str102");
        case Handler::Outcome::Read:
            break;
    }
    switch (handler_->result) {
        case DevInfoResult::Read:
            // A block that did not come whole would show, and be written back as, a template.
            if (cycle().mouseMemory() != MouseReadState::Read) {
                return "The mouse's memory could not be read whole; nothing is shown or written.";
            }
            return std::nullopt;
        case DevInfoResult::NoAnswer:
            return "The mouse does not answer.";
        case DevInfoResult::NotReady:
            return "The mouse is not ready.";
        case DevInfoResult::IdentityError:
            return text("Str107");
        case DevInfoResult::WrongVariant:
            return text("Str102");
    }
    return "The mouse could not be read.";
}

std::optional<std::string> MouseSession::writeFailure(WriteResult result) const {
    switch (result) {
        case WriteResult::Written:
            return std::nullopt;
        case WriteResult::Refused:
            return "The mouse's memory was not read whole; nothing was written.";
        case WriteResult::NotOpened:
            return "The mouse does not answer; nothing was written.";
        case WriteResult::NotReady:
            return "The mouse is not ready; nothing was written.";
        case WriteResult::Incomplete:
            return text("Str108");
    }
    return "The mouse refused the write.";
}

}  // namespace kvr
