#include "cli/ctl_program.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <variant>

#include "cli/memory_image.h"
#include "cli/mouse_session.h"
#include "cli/setting_changes.h"
#include "cli/show_report.h"
#include "device/access_diagnosis.h"
#include "device/emulated_mouse.h"
#include "device/hidapi_backend.h"
#include "device/memory_file.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"

namespace kvr {

namespace {

constexpr const char* kProgram = "kvr5507ctl";

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFU);
    return text;
}

struct Options {
    std::string emulateFile;
    bool emulate = false;
    bool json = false;
    std::vector<std::string> settings;
    std::string file;
};

// Where the commands find the mouse: the machine's interfaces, or the emulated mouse.
struct Bus {
    std::unique_ptr<HidapiBackend> hidapi;
    std::unique_ptr<VirtualBus> virtualBus;
    std::shared_ptr<EmulatedMouse> mouse;
    std::unique_ptr<Pacer> pacer;
    HidBackend* backend = nullptr;
    // A memory file that could not be saved after a write.
    std::string saveFailure;
};

class Command {
public:
    Command(const Options& options, std::ostream& out, std::ostream& err,
            const CtlEnvironment& environment)
        : options_(options), out_(out), err_(err), environment_(environment) {}

    // The bus, or the exit code when the emulated mouse's file cannot be read.
    int makeBus() {
        if (environment_.hid) {
            bus_.backend = environment_.hid;
            bus_.pacer = std::make_unique<VirtualPacer>();
        } else if (options_.emulate) {
            MouseMemory memory = factoryMemory();
            const std::string file = options_.emulateFile;
            if (!file.empty()) {
                MemoryFileLoad load = loadMemoryFile(file);
                if (load.state == MemoryFileState::Unreadable)
                    return fail(kExitMouse, load.message);
                memory = load.memory;
            }
            bus_.virtualBus = std::make_unique<VirtualBus>();
            bus_.mouse = std::make_shared<EmulatedMouse>(1, memory);
            if (!file.empty()) {
                bus_.mouse->onMemoryWritten = [this, file](const MouseMemory& m) {
                    if (MemoryFileSave saved = saveMemoryFile(file, m); !saved) {
                        bus_.saveFailure = saved.message;
                    }
                };
            }
            plugMouse(*bus_.virtualBus, bus_.mouse, "emulated:kvr5507");
            if (environment_.onEmulatedMouse) environment_.onEmulatedMouse(bus_.mouse);
            bus_.backend = bus_.virtualBus.get();
            // The emulated mouse answers at once; there is nothing to wait for.
            bus_.pacer = std::make_unique<VirtualPacer>();
        } else {
            bus_.hidapi = std::make_unique<HidapiBackend>();
            bus_.backend = bus_.hidapi.get();
            bus_.pacer = std::make_unique<SleepPacer>();
        }
        return kExitDone;
    }

    int list() {
        const Diagnosis d = diagnose(*bus_.backend);
        if (options_.json) {
            nlohmann::ordered_json list = nlohmann::ordered_json::array();
            for (const MouseInterfaceStatus& s : d.interfaces) {
                list.push_back({{"path", s.info.path},
                                {"variant", s.variant},
                                {"version", hex4(s.info.version)},
                                {"featureReportLength", s.info.featureReportLength},
                                {"configurable", s.configurable},
                                {"openable", s.openable},
                                {"problem", s.problem}});
            }
            out_ << nlohmann::ordered_json{{"interfaces", list}}.dump(2) << "\n";
            if (!d.usable) err_ << d.text;
        } else {
            (d.usable ? out_ : err_) << d.text;
        }
        return d.usable ? kExitDone : kExitMouse;
    }

    // Searches once and reads the mouse; the exit code when that fails.
    int openMouse() {
        session_ = std::make_unique<MouseSession>(*bus_.backend, *bus_.pacer);
        if (auto failure = session_->open()) {
            if (!options_.emulate && !environment_.hid) {
                const auto interfaces = examineMouseInterfaces(*bus_.backend);
                bool denied = false;
                for (const MouseInterfaceStatus& s : interfaces) denied |= s.permissionDenied;
                if (denied) *failure += "\n" + udevAdvice();
            }
            return fail(kExitMouse, *failure);
        }
        return kExitDone;
    }

    int show() {
        const nlohmann::ordered_json doc = showDocument(*session_);
        if (options_.json) {
            out_ << doc.dump(2) << "\n";
        } else {
            out_ << showText(doc);
        }
        return kExitDone;
    }

    int set(const std::vector<SettingChange>& changes) {
        if (auto error = applySettingChanges(changes, *session_)) return usage("set", *error);
        return written(session_->writeFailure(session_->cycle().DownloadParameter()));
    }

    int reset() { return written(session_->writeFailure(session_->cycle().DefaultParameter())); }

    int dump() {
        auto memory = readWholeMemory(*session_);
        if (auto* failure = std::get_if<std::string>(&memory)) return fail(kExitMouse, *failure);
        if (MemoryFileSave saved = saveMemoryFile(options_.file, std::get<MouseMemory>(memory));
            !saved) {
            return fail(kExitMouse, saved.message);
        }
        return kExitDone;
    }

    int restore() {
        auto image = readMemoryImage(options_.file, *session_);
        if (auto* refusal = std::get_if<std::string>(&image)) return fail(kExitMouse, *refusal);
        return written(writeMemoryImage(std::get<MouseMemory>(image), *session_));
    }

    int usage(std::string_view command, const ArgumentError& error) {
        err_ << kProgram << ": " << command << ": " << error.argument << ": " << error.message
             << "\n";
        return kExitUsage;
    }

private:
    int fail(int code, const std::string& message) {
        err_ << kProgram << ": " << message << "\n";
        return code;
    }

    int written(const std::optional<std::string>& failure) {
        if (failure) return fail(kExitMouse, *failure);
        if (!bus_.saveFailure.empty()) return fail(kExitMouse, bus_.saveFailure);
        return kExitDone;
    }

    const Options& options_;
    std::ostream& out_;
    std::ostream& err_;
    const CtlEnvironment& environment_;
    Bus bus_;
    std::unique_ptr<MouseSession> session_;
};

}  // namespace

int runCtl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const CtlEnvironment& environment) {
    Options options;
    CLI::App app{"Reads and changes the settings of a KVR5507 gaming mouse.", kProgram};
    app.fallthrough();
    // At most one command; a missing one is reported below, so that an unknown word is named.
    app.require_subcommand(0, 1);
    // The file is optional; a command word after --emulate is never taken for it.
    app.add_option("--emulate", options.emulateFile,
                   "Use an emulated mouse instead of a real one; with =FILE its 1024-byte memory "
                   "is kept in FILE")
        ->expected(0, 1)
        ->type_name("[=FILE]");
    app.set_version_flag("--version", std::string(kProgram) + " 1.0");
    app.add_flag("--json", options.json, "Print results as JSON");
    app.add_subcommand("list", "List the mouse's HID interfaces and whether they can be opened");
    app.add_subcommand("show", "Print every setting read from the mouse");
    CLI::App* set = app.add_subcommand(
        "set",
        "Change settings in one write: levels N, level N=STEP, current N, color N=C, "
        "button N FUNCTION, mcpi on|off, effect on|off, mode NAME, and the light times "
        "nt1-time nt2-time nt2-hold nt3-time nt3-count off-time rise-time light-time fall-time V");
    set->add_option("settings", options.settings, "The settings and their values")->required();
    app.add_subcommand("reset", "Write the factory settings");
    CLI::App* dump = app.add_subcommand("dump", "Save the mouse's whole 1024-byte memory to FILE");
    dump->add_option("FILE", options.file, "Where to save the memory")->required();
    CLI::App* restore = app.add_subcommand(
        "restore",
        "Write a memory image saved by dump back; a damaged or foreign image is refused");
    restore->add_option("FILE", options.file, "The memory image")->required();

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitDone : kExitUsage;
    }
    if (app.get_subcommands().empty()) {
        err << kProgram << ": a command is required: list, show, set, reset, dump or restore\n"
            << "Run with --help for more information.\n";
        return kExitUsage;
    }
    options.emulate = app.get_option("--emulate")->count() > 0;

    std::vector<SettingChange> changes;
    if (set->parsed()) {
        auto parsed = parseSettingChanges(options.settings);
        if (auto* error = std::get_if<ArgumentError>(&parsed)) {
            // Checked before the mouse is searched: a bad call never touches it.
            err << kProgram << ": set: " << error->argument << ": " << error->message << "\n";
            return kExitUsage;
        }
        changes = std::get<std::vector<SettingChange>>(parsed);
    }

    Command command(options, out, err, environment);
    if (const int code = command.makeBus(); code != kExitDone) return code;
    if (app.got_subcommand("list")) return command.list();
    if (const int code = command.openMouse(); code != kExitDone) return code;
    if (app.got_subcommand("show")) return command.show();
    if (set->parsed()) return command.set(changes);
    if (app.got_subcommand("reset")) return command.reset();
    if (dump->parsed()) return command.dump();
    return command.restore();
}

}  // namespace kvr
