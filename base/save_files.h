#pragma once
// What the system-specific halves of file_io share: the names of a save's temporaries, the
// steps the crash test watches, and how a save finds its target.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace kvr::save_files {

// Temporaries are hidden, named after their target and end in six random characters:
// ".Macro.bin.kvr-save-Ab12Cd". Nothing else is ever removed.
inline constexpr std::string_view kSaveMark = ".kvr-save-";
inline constexpr std::size_t kRandomPart = 6;

// Whether `name` is a temporary of a save of the file named `target`.
bool isOwnTemporaryName(const std::string& name, const std::string& target);

// The folder `file` is in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file);

// Runs the crash test's hook, if one is set, just before `step`.
void step(SaveStep step);

}  // namespace kvr::save_files
