#pragma once
// Reading and writing the user's files whole, and locking them between programs.
//
// Only regular files are read: a FIFO, a device or a folder is refused at once (it is opened
// without blocking and looked at before any read). A save writes a new file under a unique
// temporary name beside the real target (a symbolic link is followed), with the old file's
// mode, syncs it and its folder and renames it over the target, so the file is always the old
// one or the new one. Targets that are not regular files, or are read-only, are refused and left
// as they are. Temporaries of saves that were killed are removed by the next run.
//
// Locks are advisory (flock) on the file itself: shared to read, exclusive to read, change and
// write. Errors carry the system's own message and name the file.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace kvr {

struct FileResult {
    bool ok = false;
    std::string error;  // names the file and says why when !ok
    bool busy = false;  // another program held the file's lock for longer than we wait

    explicit operator bool() const { return ok; }
};

// Writes `bytes` as the whole new content of `path` (of its target, when it is a symbolic link).
FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes);

// Creates `path` with `bytes` only when there is no such file yet; a file that appeared in the
// meantime is left as it is (ok as well).
FileResult createFileIfMissing(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes);

struct FileBytes {
    FileResult result;
    std::vector<std::uint8_t> bytes;
};

// At most `maxBytes` bytes from the start of the file; a shorter file gives what it holds.
FileBytes readFileStart(const std::filesystem::path& path,
                        std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Why `path` could not be replaced by a save, or an empty text when it can (a missing file
// can be, when its folder takes new files).
std::string saveRefusal(const std::filesystem::path& path);

// The file a save of `path` replaces: symbolic links followed, a missing last one included.
std::filesystem::path saveTarget(const std::filesystem::path& path);

// Removes the temporaries that saves of `path` left when they were killed. Saves and this take
// turns in the folder (an advisory lock on it), so no living save's temporary is ever taken.
void removeStaleSaves(const std::filesystem::path& path);

// The steps of a save, for the crash test: the hook runs just before each.
enum class SaveStep { Create, Write, SyncFile, Rename, SyncFolder, Done };
void setSaveStepHook(std::function<void(SaveStep)> hook);

enum class LockKind { Shared, Exclusive };

// An advisory lock on a file, held until unlock() or the end of the object.
class FileLock {
public:
    FileLock() = default;
    ~FileLock() { unlock(); }
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Locks the regular file at `path` (a symbolic link's target), waiting as long as
    // lockPatience() for another program to let go. A missing file is not locked and gives
    // ok with held() false. A save renaming a new file over the locked one is followed: the
    // lock is always on the file that `path` names once it is given.
    FileResult lock(const std::filesystem::path& path, LockKind kind);
    void unlock();
    bool held() const { return fd_ >= 0; }

private:
    // Windows replaces no open file: a save there lets go of this program's own locks on it.
    friend void releaseOwnLocks(const std::filesystem::path& target);
    int fd_ = -1;
};

// How long a lock waits for another program (a few seconds; tests set it to nothing).
std::chrono::milliseconds lockPatience();
void setLockPatience(std::chrono::milliseconds patience);

}  // namespace kvr
