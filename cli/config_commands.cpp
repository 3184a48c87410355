#include "cli/config_commands.h"

#include <ostream>
#include <variant>

#include "base/file_io.h"
#include "base/utf8_path.h"
#include "cli/ctl_program.h"
#include "cli/mouse_config.h"
#include "cli/mouse_session.h"

namespace kvr {

namespace {

constexpr const char* kProgram = "kvr5507ctl";
// Far more than any configuration takes; a larger file is not one.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

}  // namespace

int exportConfigFile(MouseSession& session, const std::string& file, std::ostream& out,
                     std::ostream& err) {
    const std::string text = configText(mouseConfig(session));
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
    const FileBytes read = readFileStart(utf8Path(file), kMaxConfigBytes + 1);
    if (!read.result) {
        err << kProgram << ": " << read.result.error << "\n";
        return {kExitMouse, false};
    }
    if (read.bytes.size() > kMaxConfigBytes) {
        err << kProgram << ": " << file << ": larger than " << kMaxConfigBytes
            << " bytes; not a configuration file\n";
        return {kExitBadFile, false};
    }
    const std::string text(read.bytes.begin(), read.bytes.end());
    const MouseConfig before = mouseConfig(session);
    const auto applied = applyConfigText(text, file, session);
    if (const auto* error = std::get_if<ConfigError>(&applied)) {
        err << file << ":" << error->line << ":" << error->column << ": " << error->message
            << "\n";
        return {kExitBadFile, false};
    }
    const std::vector<std::string> changes = configChanges(before, mouseConfig(session));
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
