#include "cli/config_commands.h"

#include <ostream>
#include <variant>

#include "base/file_io.h"
#include "base/utf8_path.h"
#include "cli/ctl_program.h"
#include "cli/mouse_session.h"
#include "config/mouse_config.h"

namespace kvr {

namespace {

constexpr const char* kProgram = "kvr5507ctl";

ConfiguredMouse configured(MouseSession& session) {
    return {session.cycle(), session.deviceMacros()};
}

}  // namespace

int exportConfigFile(MouseSession& session, const std::string& file, std::ostream& out,
                     std::ostream& err) {
    const std::string text = configText(mouseConfig(configured(session)));
    if (file.empty()) {
        out << text;
        return kExitDone;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const FileResult saved = writeFileAtomically(utf8Path(file), {bytes, text.size()}); !saved) {
        err << kProgram << ": " << saved.error << "\n";
        return kExitMouse;
    }
    return kExitDone;
}

ApplyPlan applyConfigFile(MouseSession& session, const std::string& file, bool dryRun,
                          std::ostream& out, std::ostream& err) {
    const ConfigFileText read = readConfigFile(utf8Path(file));
    if (read.tooLarge) {
        err << kProgram << ": " << file << ": " << read.error << "\n";
        return {kExitBadFile, false};
    }
    if (!read.error.empty()) {
        err << kProgram << ": " << read.error << "\n";
        return {kExitMouse, false};
    }
    const std::string& text = read.text;
    const MouseConfig before = mouseConfig(configured(session));
    const auto applied = applyConfigText(text, file, configured(session));
    if (const auto* error = std::get_if<ConfigError>(&applied)) {
        err << file << ":" << error->line << ":" << error->column << ": " << error->message
            << "\n";
        return {kExitBadFile, false};
    }
    const std::vector<std::string> changes =
        configChanges(before, mouseConfig(configured(session)));
    if (!session.cycle().hasUnappliedChanges()) {
        out << "Nothing to change: the mouse already has these settings.\n";
        return {kExitDone, false};
    }
    for (const std::string& change : changes) out << change << "\n";
    if (dryRun) {
        out << "Nothing written (--dry-run).\n";
        return {kExitDone, false};
    }
    return {kExitDone, true};
}

}  // namespace kvr
