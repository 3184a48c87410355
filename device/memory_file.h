#pragma once
// The emulated mouse's memory kept on disk between runs of demo mode: a raw 1024-byte file.
#include <filesystem>
#include <span>
#include <string>

#include "device/emulated_mouse.h"

namespace kvr {

enum class MemoryFileState {
    Loaded,      // the whole file
    Created,     // there was no file: it now holds the factory memory
    NotAFile,    // a folder or another kind of entry
    WrongSize,   // not exactly the memory's size: some other file, never taken as the memory
    Unreadable,  // could not be read
    Unwritable,  // could not be created, or later saves could not replace it
};

struct MemoryFileOpen {
    MouseMemory memory{};
    MemoryFileState state = MemoryFileState::NotAFile;
    std::string message;  // names the file and says why, when it is refused

    bool ok() const {
        return state == MemoryFileState::Loaded || state == MemoryFileState::Created;
    }
};

// Loads the memory from `path`, or creates the file with the factory memory when there is none.
// A file that cannot be the mouse's memory, or that later saves could not replace, is refused
// and left exactly as it was.
MemoryFileOpen openMemoryFile(const std::filesystem::path& path);

struct MemoryFileSave {
    bool ok = false;
    std::string message;  // why it failed, naming `path`

    explicit operator bool() const { return ok; }
};

// Writes a temporary file beside `path` and renames it over, so a crash or a full disk never
// leaves a cut file. On failure the old file stays as it was.
[[nodiscard]] MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                                            std::span<const std::uint8_t, kMouseMemorySize> memory);

}  // namespace kvr
