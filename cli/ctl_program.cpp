#include "cli/ctl_program.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <variant>

#include "base/command_line.h"
#include "base/resources.h"
#include "base/utf8_path.h"
#include "cli/config_commands.h"
#include "cli/memory_image.h"
#include "cli/mouse_session.h"
#include "cli/setting_changes.h"
#include "cli/show_report.h"
#include "config/backups.h"
#include "device/access_diagnosis.h"
#include "device/emulated_mouse.h"
#include "device/hidapi_backend.h"
#include "device/memory_file.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "macros/library_place.h"
#include "macros/pc_macro_library.h"

namespace kvr {

namespace {

constexpr const char* kProgram = "kvr5507ctl";
// Where the user's data folder is, in the words of the system the program runs on.
#ifdef _WIN32
constexpr const char* kBackupPlace = "%APPDATA%\\kvr5507\\backups";
constexpr const char* kLibraryPlace = "%APPDATA%\\kvr5507\\Macro.bin";
#else
constexpr const char* kBackupPlace = "$XDG_DATA_HOME/kvr5507/backups";
constexpr const char* kLibraryPlace =
    "$XDG_DATA_HOME/kvr5507/Macro.bin or ~/.local/share/kvr5507/Macro.bin";
#endif

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFU);
    return text;
}

// The window's library, in the user's data folder or beside a copy of the programs that the
// user owns. A command that only reads it changes nothing on disk, not even its folder.
std::filesystem::path defaultLibraryPath(bool writes) {
    const std::filesystem::path dataHome = userDataHome();
    const std::filesystem::path library = pcMacroLibraryPath(runningProgramFolder(), dataHome);
    return writes ? settleLibrary(library, dataHome) : existingLibrary(library, dataHome);
}

struct Options {
    std::string emulateFile;
    std::string library;
    std::string name;
    bool emulate = false;
    bool json = false;
    bool dryRun = false;
    bool noBackup = false;
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
    // The memory file as read, locked for the whole command: shared for a command that only
    // reads the mouse, exclusive for one that writes it.
    FileLock memoryLock;
    MouseMemory loaded{};
};

class Command {
public:
    Command(Options& options, std::ostream& out, std::ostream& err,
            const CtlEnvironment& environment)
        : options_(options), out_(out), err_(err), environment_(environment) {}

    // The bus, or the exit code when the emulated mouse's file cannot be read. A command that
    // `writes` the mouse has the file created when missing; one that reads creates nothing.
    int makeBus(bool writes) {
        if (environment_.hid) {
            bus_.backend = environment_.hid;
            bus_.pacer = std::make_unique<VirtualPacer>();
        } else if (options_.emulate) {
            MouseMemory memory = factoryMemory();
            const std::string file = options_.emulateFile;
            if (!file.empty()) {
                // A file that cannot be the mouse's memory is refused and left as it is.
                const MemoryFileOpen opened = openMemoryFile(
                    utf8Path(file), writes ? MemoryFileUse::Write : MemoryFileUse::Read, &bus_.memoryLock);
                if (!opened.ok()) return fail(kExitMouse, opened.message);
                memory = opened.memory;
            }
            bus_.loaded = memory;
            bus_.virtualBus = std::make_unique<VirtualBus>();
            bus_.mouse = std::make_shared<EmulatedMouse>(1, memory);
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
        } else {
            out_ << d.text;
        }
        return d.usable ? kExitDone : fail(kExitMouse, d.problem);
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
        if (const int code = backupFirst(); code != kExitDone) return code;
        return written(session_->writeFailure(session_->cycle().DownloadParameter()));
    }

    int reset() {
        if (const int code = backupFirst(); code != kExitDone) return code;
        return written(session_->writeFailure(session_->cycle().DefaultParameter()));
    }

    int dump() {
        auto memory = readWholeMemory(*session_);
        if (auto* failure = std::get_if<std::string>(&memory)) return fail(kExitMouse, *failure);
        if (MemoryFileSave saved = saveMemoryFile(utf8Path(options_.file), std::get<MouseMemory>(memory));
            !saved) {
            return fail(kExitMouse, saved.message);
        }
        return kExitDone;
    }

    int restore() {
        // A number names a backup of `backup list`, unless a file has that name.
        std::error_code ec;
        if (!options_.file.empty() &&
            std::ranges::all_of(options_.file, [](char c) { return c >= '0' && c <= '9'; }) &&
            !std::filesystem::exists(utf8Path(options_.file), ec)) {
            const std::vector<Backup> backups = listBackups();
            const std::size_t number = options_.file.size() > 4 ? 0 : std::stoul(options_.file);
            if (number < 1 || number > backups.size()) {
                return usage("restore",
                             {options_.file, backups.empty()
                                                 ? "there are no backups"
                                                 : "a backup's number from 1 to " +
                                                       std::to_string(backups.size()) +
                                                       " (kvr5507ctl backup list)"});
            }
            options_.file = backups[number - 1].file.string();
        }
        auto image = readMemoryImage(utf8Path(options_.file), *session_);
        if (auto* failure = std::get_if<std::string>(&image)) return fail(kExitMouse, *failure);
        if (auto* refusal = std::get_if<FileRefusal>(&image)) return refused(options_.file, *refusal);
        if (const int code = backupFirst(); code != kExitDone) return code;
        return written(writeMemoryImage(std::get<MouseMemory>(image), *session_));
    }

    // The PC library, read or created from the built-in macros; the exit code when it cannot be.
    // A command that only reads it takes the built-in macros from memory when there is no file.
    int openLibrary(bool writes) {
        libraryFile_ = options_.library.empty() ? defaultLibraryPath(writes)
                                                : utf8Path(options_.library);
        std::error_code ec;
        const bool inMemory = !writes && !std::filesystem::exists(libraryFile_, ec);
        library_ = std::make_unique<PCMacroLibrary>(inMemory ? std::filesystem::path() : libraryFile_);
        const auto builtIn = findResource(kDefaultLibraryResource);
        switch (library_->CheckPCMacro(builtIn ? *builtIn : std::span<const std::uint8_t>())) {
            case LibraryResult::FileError:
                return fail(kExitMouse, library_->error());
            case LibraryResult::Refused:
                return refused(libraryFile_.string(), library_->refusal());
            default:
                break;
        }
        return kExitDone;
    }

    int macroList() {
        const nlohmann::ordered_json mouse = deviceMacroList(*session_);
        const nlohmann::ordered_json library = libraryMacroList(*library_);
        if (options_.json) {
            out_ << nlohmann::ordered_json{{"mouse", mouse},
                                           {"library",
                                            {{"file", libraryFile_.string()},
                                             {"macros", library}}}}
                        .dump(2)
                 << "\n";
            return kExitDone;
        }
        if (session_->cycle().macroSupport()) {
            out_ << "In the mouse: " << mouse.size() << " of " << kDeviceMacroSlots << " macros, "
                 << session_->deviceMacros().table().totalSize() << " of " << kDeviceMacroAreaSize
                 << " bytes\n"
                 << macroListText(mouse, "  ");
        } else {
            out_ << "The mouse keeps no macros.\n";
        }
        out_ << "In the library " << libraryFile_.string() << ": " << library.size() << " of "
             << kPCMacroSlots << " macros\n"
             << macroListText(library, "  ");
        return kExitDone;
    }

    // Add to Mouse: the library macro goes into the mouse and is written.
    int macroAdd() {
        if (!session_->cycle().macroSupport())
            return fail(kExitMouse, "The mouse keeps no macros.");
        const std::vector<std::string> names = library_->names();
        const auto found = std::ranges::find(names, options_.name);
        if (found == names.end()) {
            return usage("macro add", {options_.name, "the library " + libraryFile_.string() +
                                                          " holds no macro of this name"});
        }
        const auto index = static_cast<std::size_t>(found - names.begin());
        if (const int code = backupFirst(); code != kExitDone) return code;
        const AddToMouseOutcome outcome =
            session_->deviceMacros().Btn_AddMacroClick(library_->slot(index), index + 1);
        if (outcome.refusal) return refused(libraryFile_.string(), *outcome.refusal);
        if (outcome.result == AddMacroResult::NoFreeSlot) {
            return fail(kExitMouse, "The mouse holds " + std::to_string(kDeviceMacroSlots) +
                                        " macros already; delete one first.");
        }
        if (outcome.result == AddMacroResult::AreaFull) {
            return fail(kExitMouse, session_->text("Str103"));
        }
        return written(outcome.write ? session_->writeFailure(*outcome.write)
                                     : std::optional<std::string>("The macro was not written."));
    }

    // Delete in the mouse: the buttons that ran the macro follow it, or get their own function
    // back.
    int macroDel() {
        if (!session_->cycle().macroSupport())
            return fail(kExitMouse, "The mouse keeps no macros.");
        const auto index = session_->deviceMacros().table().lastIndexOf(options_.name);
        if (!index) {
            return usage("macro del", {options_.name, "the mouse holds no macro of this name"});
        }
        if (const int code = backupFirst(); code != kExitDone) return code;
        const auto result = session_->deviceMacros().Btn_DelMacroClick(*index);
        return written(result ? session_->writeFailure(*result)
                              : std::optional<std::string>("The macro was not deleted."));
    }

    // Export One: one library entry as a 272-byte record.
    int macroExport() {
        const std::vector<std::string> names = library_->names();
        const auto found = std::ranges::find(names, options_.name);
        if (found == names.end()) {
            return usage("macro export",
                         {options_.name, "the library " + libraryFile_.string() +
                                             " holds no macro of this name"});
        }
        if (library_->exportOne(static_cast<std::size_t>(found - names.begin()), utf8Path(options_.file)) ==
            LibraryResult::FileError) {
            return fail(kExitMouse, library_->error());
        }
        return kExitDone;
    }

    // Import One: the file's first record as the library's new last entry.
    int macroImport() {
        std::size_t index = 0;
        switch (library_->importOne(utf8Path(options_.file), &index)) {
            case LibraryResult::Done:
                out_ << "Imported \"" << library_->name(index) << "\" into "
                     << libraryFile_.string() << "\n";
                return kExitDone;
            case LibraryResult::Duplicate:
                return usage("macro import", {options_.file, LanguageText(kCtlLanguage, "Str106")});
            case LibraryResult::Full:
                return fail(kExitMouse, "The library " + libraryFile_.string() +
                                            " has no room for another macro.");
            case LibraryResult::Refused:
                return refused(options_.file, library_->refusal());
            case LibraryResult::NoSuchEntry:
            case LibraryResult::FileError:
                break;
        }
        return fail(kExitMouse, library_->error().empty() ? options_.file + ": cannot be imported"
                                                          : library_->error());
    }

    int profileSave() {
        const FileResult saved = session_->profileFiles().save(utf8Path(options_.file));
        if (!saved) return fileFailure(saved);
        return kExitDone;
    }

    // Load, then Apply: the file's settings and macros are written in one go.
    int profileLoad() {
        const ProfileLoad loaded = session_->profileFiles().load(utf8Path(options_.file));
        if (!loaded.read) return fileFailure(loaded.read);
        if (loaded.refusal) return refused(options_.file, *loaded.refusal);
        if (const int code = backupFirst(); code != kExitDone) return code;
        return written(session_->writeFailure(session_->cycle().DownloadParameter()));
    }

    int exportConfig() { return exportConfigFile(*session_, options_.file, out_, err_); }

    // The whole file checked first, then what differs written in one go, as Apply does.
    int applyConfig() {
        const ApplyPlan plan = applyConfigFile(*session_, options_.file, options_.dryRun, out_, err_);
        if (!plan.write) return plan.code;
        if (const int code = backupFirst(); code != kExitDone) return code;
        return written(session_->writeFailure(session_->cycle().DownloadParameter()));
    }

    // Before a write changes the mouse: its memory as read, saved among the backups. A backup that
    // cannot be saved stops the write unless --no-backup says to go on without one.
    int backupFirst() {
        if (options_.noBackup) return kExitDone;
        MouseMemory memory = bus_.loaded;
        if (!bus_.mouse) {
            auto read = readWholeMemory(*session_);
            if (auto* failure = std::get_if<std::string>(&read)) return fail(kExitMouse, *failure);
            memory = std::get<MouseMemory>(read);
        }
        if (const auto failure = saveBackup(memory)) {
            return fail(kExitMouse, "no backup of the mouse's memory could be saved (" + *failure +
                                        "); nothing was written. Free some room, or run again "
                                        "with --no-backup to write without one.");
        }
        return kExitDone;
    }

    int backupList() {
        const std::vector<Backup> backups = listBackups();
        if (backups.empty()) {
            out_ << "No backups in " << backupFolder().string() << "\n";
            return kExitDone;
        }
        out_ << "Backups in " << backupFolder().string() << ", newest first:\n";
        for (std::size_t i = 0; i < backups.size(); ++i) {
            out_ << "  " << i + 1 << "  " << backups[i].date << "  " << backups[i].summary << "\n";
        }
        return kExitDone;
    }

    int usage(std::string_view command, const ArgumentError& error) {
        err_ << kProgram << ": " << command << ": " << error.argument << ": " << error.message
             << "\n";
        return kExitUsage;
    }

private:
    int fileFailure(const FileResult& result) {
        return fail(kExitMouse,
                    result.error.empty() ? options_.file + ": cannot be used" : result.error);
    }

    // A file that fails its check: the file and the reason, nothing changed.
    int refused(const std::string& file, const FileRefusal& refusal) {
        return fail(kExitBadFile, refusalMessage(file, refusal, [this](std::string_view key) {
                        return LanguageText(kCtlLanguage, key);
                    }));
    }

    int fail(int code, const std::string& message) {
        err_ << kProgram << ": " << message << "\n";
        return code;
    }

    int written(const std::optional<std::string>& failure) {
        // The emulated mouse's file is saved once, when the command is over: it always holds the
        // memory between two whole commands. A write cut short is kept as the mouse holds it.
        std::optional<std::string> saveFailure;
        if (bus_.mouse && !options_.emulateFile.empty() && !std::ranges::equal(bus_.mouse->memory(), bus_.loaded)) {
            if (MemoryFileSave saved = saveMemoryFile(utf8Path(options_.emulateFile), bus_.mouse->memory());
                !saved) {
                saveFailure = saved.message;
            }
        }
        if (failure) return fail(kExitMouse, *failure);
        if (saveFailure) return fail(kExitMouse, *saveFailure);
        return kExitDone;
    }

    Options& options_;
    std::ostream& out_;
    std::ostream& err_;
    const CtlEnvironment& environment_;
    Bus bus_;
    std::unique_ptr<MouseSession> session_;
    std::unique_ptr<PCMacroLibrary> library_;
    std::filesystem::path libraryFile_;
};

}  // namespace

int runCtl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const CtlEnvironment& environment) {
    Options options;
    CLI::App app{"Reads and changes the settings of a KVR5507 gaming mouse.", kProgram};
    // Every complaint names the program, as a message in a script's log must.
    app.failure_message([](const CLI::App* a, const CLI::Error& e) {
        return std::string(kProgram) + ": " + CLI::FailureMessage::simple(a, e);
    });
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
        "Write a memory image saved by dump, or backup N of backup list, back; a damaged or "
        "foreign image is refused");
    restore->add_option("FILE", options.file, "The memory image, or a backup's number")->required();
    app.add_flag("--no-backup", options.noBackup,
                 "Write without first saving the mouse's memory among the backups");
    CLI::App* backup = app.add_subcommand(
        "backup", "The backups saved before every change, in " + std::string(kBackupPlace));
    backup->require_subcommand(1);
    CLI::App* backupList =
        backup->add_subcommand("list", "List the backups, newest first, with a summary");

    app.add_option("--library", options.library,
                   std::string("The PC macro library for the macro commands (default: the "
                               "window's, ") +
                       kLibraryPlace +
                       "; Macro.bin beside the program for a copy run from a folder of your own)")
        ->type_name("FILE");
    CLI::App* macro = app.add_subcommand("macro", "The macros in the mouse and in the PC library");
    macro->require_subcommand(1);
    macro->add_subcommand("list", "List the macros in the mouse and in the library");
    CLI::App* macroAdd = macro->add_subcommand("add", "Copy the library macro NAME into the mouse");
    macroAdd->add_option("NAME", options.name, "The library macro")->required();
    CLI::App* macroDel = macro->add_subcommand(
        "del",
        "Delete the macro NAME from the mouse; buttons running a macro follow it or get their "
        "own function back");
    macroDel->add_option("NAME", options.name, "The macro in the mouse")->required();
    CLI::App* macroExport =
        macro->add_subcommand("export", "Save the library macro NAME to FILE (one record)");
    macroExport->add_option("FILE", options.file, "Where to save the macro")->required();
    macroExport->add_option("NAME", options.name, "The library macro")->required();
    CLI::App* macroImport = macro->add_subcommand(
        "import", "Add the macro in FILE (saved by export) to the library as its last entry");
    macroImport->add_option("FILE", options.file, "The macro file")->required();
    CLI::App* profile = app.add_subcommand(
        "profile", "The mouse's settings and macros in a profile file, as the window keeps them");
    profile->require_subcommand(1);
    CLI::App* profileSave = profile->add_subcommand("save", "Save the mouse's settings to FILE");
    profileSave->add_option("FILE", options.file, "Where to save the profile")->required();
    CLI::App* profileLoad =
        profile->add_subcommand("load", "Write the profile in FILE to the mouse in one go");
    profileLoad->add_option("FILE", options.file, "The profile file")->required();

    CLI::App* exportConfig = app.add_subcommand(
        "export", "Print the mouse's whole configuration as TOML, or save it to FILE");
    exportConfig->add_option("FILE", options.file, "Where to save the configuration");
    CLI::App* applyConfig = app.add_subcommand(
        "apply",
        "Write a configuration saved by export in one go, after checking all of it; only what "
        "differs is written");
    applyConfig->add_option("FILE", options.file, "The configuration file")->required();
    applyConfig->add_flag("--dry-run", options.dryRun, "Print what would change, write nothing");

    if (std::ranges::find(args, "--emulate=") != args.end()) {
        err << kProgram << ": " << kEmptyEmulateFile << "\nRun with --help for more information.\n";
        return kExitUsage;
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitDone : kExitUsage;
    }
    if (app.get_subcommands().empty()) {
        err << kProgram
            << ": a command is required: list, show, set, reset, dump, restore, macro, "
               "profile, export, apply or backup\n"
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
    // The library's own commands need no mouse.
    if (macroExport->parsed() || macroImport->parsed()) {
        if (const int code = command.openLibrary(macroImport->parsed()); code != kExitDone)
            return code;
        return macroExport->parsed() ? command.macroExport() : command.macroImport();
    }
    if (macro->parsed()) {
        // A command that changes something makes the library as the window does; a look at it
        // leaves the disk as it is.
        if (const int code = command.openLibrary(macroAdd->parsed() || macroDel->parsed());
            code != kExitDone)
            return code;
    }
    const bool writes = set->parsed() || app.got_subcommand("reset") || restore->parsed() ||
                        macroAdd->parsed() || macroDel->parsed() || profileLoad->parsed() ||
                        (applyConfig->parsed() && !options.dryRun);
    if (backupList->parsed()) return command.backupList();
    if (const int code = command.makeBus(writes); code != kExitDone) return code;
    if (app.got_subcommand("list")) return command.list();
    if (const int code = command.openMouse(); code != kExitDone) return code;
    if (app.got_subcommand("show")) return command.show();
    if (set->parsed()) return command.set(changes);
    if (app.got_subcommand("reset")) return command.reset();
    if (dump->parsed()) return command.dump();
    if (macroAdd->parsed()) return command.macroAdd();
    if (macroDel->parsed()) return command.macroDel();
    if (macro->parsed()) return command.macroList();
    if (profileSave->parsed()) return command.profileSave();
    if (profileLoad->parsed()) return command.profileLoad();
    if (exportConfig->parsed()) return command.exportConfig();
    if (applyConfig->parsed()) return command.applyConfig();
    return command.restore();
}

}  // namespace kvr
