#pragma once
// The program's options. Unknown options are an error with a message, never ignored.
#include <optional>
#include <string>
#include <vector>

namespace kvr {

struct CommandLine {
    bool emulate = false;
    std::string emulateFile;     // empty: the emulated mouse keeps its memory only while running
    std::string screenshotFile;  // non-empty: save the window as PNG and exit
    bool diagnose = false;  // describe the mouse's interfaces and access to them, then exit
    bool help = false;
    bool version = false;
};

struct CommandLineResult {
    std::optional<CommandLine> options;
    std::string error;  // set when options is empty
};

CommandLineResult parseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsageText;
// Both programs refuse "--emulate=" with no name after it: a mouse kept only in memory is
// "--emulate" alone.
extern const char* const kEmptyEmulateFile;

}  // namespace kvr
