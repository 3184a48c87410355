#pragma once
// Reading and writing the user's files whole. A save goes to a temporary file in the same folder,
// is flushed to the disk and then renamed over the old file, so a failed or interrupted save
// leaves the previous file as it was. Errors carry the system's own message.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace kvr {

struct FileResult {
    bool ok = false;
    std::string error;  // the system's message when !ok

    explicit operator bool() const { return ok; }
};

// The file a save of `path` replaces: a symbolic link's target.
std::filesystem::path saveTarget(const std::filesystem::path& path);

// Writes `bytes` as the whole new content of `path` (of its target when it is a symbolic link),
// atomically, with the old file's permissions; a path that is not a regular file is refused.
FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes);

struct FileBytes {
    FileResult result;
    std::vector<std::uint8_t> bytes;
};

// At most `maxBytes` bytes from the start of the file; a shorter file gives what it holds.
FileBytes readFileStart(const std::filesystem::path& path,
                        std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

}  // namespace kvr
