#pragma once
// The emulated mouse's memory kept on disk between runs of demo mode: a raw 1024-byte file.
#include <filesystem>
#include <span>
#include <string>

#include "device/emulated_mouse.h"

namespace kvr {

enum class MemoryFileState {
    Loaded,      // the whole file
    Missing,     // no file yet: the factory memory
    Short,       // the file's bytes, then the factory memory for the rest
    Long,        // the first 1024 bytes; the rest ignored
    Unreadable,  // could not be read: the factory memory, and `message` says why
};

struct MemoryFileLoad {
    MouseMemory memory{};
    MemoryFileState state = MemoryFileState::Missing;
    std::string message;
};

MemoryFileLoad loadMemoryFile(const std::filesystem::path& path);

struct MemoryFileSave {
    bool ok = false;
    std::string message;  // why it failed

    explicit operator bool() const { return ok; }
};

// Writes a temporary file beside `path` and renames it over, so a crash or a full disk never
// leaves a cut file. On failure the old file stays as it was.
[[nodiscard]] MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                                            std::span<const std::uint8_t, kMouseMemorySize> memory);

}  // namespace kvr
