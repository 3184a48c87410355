#include "base/command_line.h"

namespace kvr {

const char* const kUsageText =
    "Usage: kvr5507 [OPTIONS]\n"
    "Configure the KVR5507 gaming mouse.\n"
    "\n"
    "  --emulate[=FILE]     plug in the built-in emulated mouse; with FILE its 1024-byte\n"
    "                       memory is loaded from and saved to FILE\n"
    "  --screenshot FILE    start, read the mouse if one is present, save the window\n"
    "                       as an 800 x 600 PNG to FILE and exit\n"
    "  --diagnose           list the mouse's interfaces, whether they can be opened and\n"
    "                       what to do when permissions are in the way, and exit\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "The macro library is $XDG_DATA_HOME/kvr5507/Macro.bin (~/.local/share/kvr5507/Macro.bin\n"
    "when XDG_DATA_HOME is unset); a copy run from a folder of your own, other than a bin\n"
    "folder, keeps Macro.bin beside itself.\n";

const char* const kEmptyEmulateFile =
    "--emulate= needs a file name; --emulate alone keeps the mouse in memory";

CommandLineResult parseCommandLine(const std::vector<std::string>& args) {
    CommandLine options;
    // Qt consumes its own options (-platform, -display) before we see the rest.
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--emulate") {
            options.emulate = true;
        } else if (arg.rfind("--emulate=", 0) == 0) {
            options.emulate = true;
            options.emulateFile = arg.substr(10);
            if (options.emulateFile.empty()) return {std::nullopt, kEmptyEmulateFile};
        } else if (arg == "--screenshot" || arg.rfind("--screenshot=", 0) == 0) {
            if (arg == "--screenshot") {
                if (i + 1 >= args.size()) return {std::nullopt, "--screenshot needs a file name"};
                options.screenshotFile = args[++i];
            } else {
                options.screenshotFile = arg.substr(13);
            }
            if (options.screenshotFile.empty())
                return {std::nullopt, "--screenshot needs a file name"};
        } else if (arg == "--diagnose") {
            options.diagnose = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            return {std::nullopt, "unknown option: " + arg};
        }
    }
    return {options, {}};
}

}  // namespace kvr
