#pragma once
// The emulated mouse's memory kept on disk between runs of demo mode: a raw 1024-byte file.
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "base/file_io.h"
#include "device/emulated_mouse.h"

namespace kvr {

enum class MemoryFileState {
    Loaded,      // the whole file
    Created,     // there was no file: it now holds the factory memory
    Missing,     // there is no file and none was made (a read): the factory memory
    NotAFile,    // a folder or another kind of entry
    WrongSize,   // not exactly the memory's size: some other file, never taken as the memory
    Unreadable,  // could not be read
    Unwritable,  // could not be created, or later saves could not replace it
    Busy,        // another program kept it locked for longer than we wait
};

// What the program means to do with the file: reading neither creates nor changes anything.
enum class MemoryFileUse { Read, Write };

struct MemoryFileOpen {
    MouseMemory memory{};
    MemoryFileState state = MemoryFileState::NotAFile;
    std::string message;  // names the file and says why, when it is refused

    bool ok() const {
        return state == MemoryFileState::Loaded || state == MemoryFileState::Created ||
               state == MemoryFileState::Missing;
    }
};

// Loads the memory from `path` under a lock: shared to read, exclusive to write. To write, a
// missing file is created with the factory memory, and a file that later saves could not
// replace is refused. A file that cannot be the mouse's memory is refused and left exactly as it
// was. With `lock` the lock is kept there for the caller's read-change-write; without, it ends
// with the call. Temporaries of killed saves are cleared first.
MemoryFileOpen openMemoryFile(const std::filesystem::path& path,
                              MemoryFileUse use = MemoryFileUse::Write, FileLock* lock = nullptr);

struct MemoryFileSave {
    bool ok = false;
    std::string message;  // why it failed, naming `path`

    explicit operator bool() const { return ok; }
};

// Replaces the file whole (see writeFileAtomically), so a crash or a full disk never leaves a cut
// file. On failure the old file stays as it was.
[[nodiscard]] MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                                            std::span<const std::uint8_t, kMouseMemorySize> memory);

// Demo mode's window: the file is the mouse's memory, which other programs change too. Every
// transfer takes the file's exclusive lock and reads it at BeginCmd, saves it once at EndCmd when
// the transfer wrote, and lets go; the window never holds it between transfers. `onError` gets
// the message of a file that could not be had or saved; the mouse then leaves that transfer
// unanswered.
void bindMemoryFile(EmulatedMouse& mouse, const std::filesystem::path& path,
                    std::function<void(const std::string&)> onError);

}  // namespace kvr
