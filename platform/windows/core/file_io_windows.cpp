// Reading, saving and locking the user's files with Windows' own calls, the paths handed to the
// wide-character API as they are. A save writes a hidden temporary beside the target, flushes
// it to the disk and moves it over the target in one step, so the file is always the old one or
// the new one. Locks are byte-range locks far past the end of the file: they keep two programs
// from changing one file at once without keeping anyone from reading its bytes.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <cctype>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

#include "base/file_io.h"
#include "base/save_files.h"
#include "platform/windows/core/system_text.h"

namespace kvr {

namespace {

namespace fs = std::filesystem;
using save_files::folderOf;
using save_files::isOwnTemporaryName;
using save_files::kRandomPart;
using save_files::step;

// The locked byte: no file of ours comes near it, so locking it never hides a byte of data.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

FileResult failure(const fs::path& path, DWORD error) {
    return FileResult{false, path.string() + ": " + systemText(error)};
}

FileResult refusal(const fs::path& path, const std::string& why) {
    return FileResult{false, path.string() + ": " + why};
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            if (valid()) CloseHandle(handle_);
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    bool close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What a path that is not a plain file on a disk is, in the user's words; empty for a file.
std::string kindRefusal(const fs::path& path, HANDLE opened = INVALID_HANDLE_VALUE) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "is a folder, not a file";
    if (opened == INVALID_HANDLE_VALUE) return {};
    switch (GetFileType(opened)) {
        case FILE_TYPE_DISK:
            return {};
        case FILE_TYPE_PIPE:
            return "is a FIFO (named pipe), not a file";
        case FILE_TYPE_CHAR:
            return "is a device, not a file";
        default:
            return "is not a regular file";
    }
}

// Opens an existing file to read, refusing a folder, a pipe or a device before a byte is read.
Handle openRegular(const fs::path& path, DWORD access, FileResult& result) {
    if (std::string why = kindRefusal(path); !why.empty()) {
        result = refusal(path, why);
        return Handle();
    }
    Handle file(CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        result = failure(path, GetLastError());
        return file;
    }
    if (std::string why = kindRefusal(path, file.get()); !why.empty()) {
        result = refusal(path, why);
        return Handle();
    }
    result = FileResult{true, {}};
    return file;
}

std::string randomPart() {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    std::minstd_rand random(static_cast<unsigned>(GetTickCount64()) ^ GetCurrentProcessId() ^
                            (counter++ * 2654435761U));
    std::string part;
    for (std::size_t i = 0; i < kRandomPart; ++i) part += kLetters[random() % kLetters.size()];
    return part;
}

// Writes `bytes` into a new temporary beside `target`. The temporary stays open, shared with
// nobody but a rename, until the returned handle is closed: that is how the clearing of killed
// saves tells a living save's temporary.
Handle writeTemporary(const fs::path& shown, const fs::path& target,
                      std::span<const std::uint8_t> bytes, fs::path& temporary,
                      FileResult& result) {
    step(SaveStep::Create);
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        std::u8string name = u8"." + target.filename().u8string();
        for (const char c : std::string(save_files::kSaveMark) + randomPart()) name += char8_t(c);
        temporary = folderOf(target) / fs::path(name);
        file = Handle(CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
                                  nullptr));
        if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file.valid()) {
        result = failure(shown, GetLastError());
        return file;
    }
    const auto discard = [&](DWORD error) {
        file.close();
        DeleteFileW(temporary.c_str());
        result = failure(shown, error);
        return Handle();
    };
    step(SaveStep::Write);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 20));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data() + written, want, &wrote, nullptr))
            return discard(GetLastError());
        if (wrote == 0) return discard(ERROR_DISK_FULL);
        written += wrote;
    }
    step(SaveStep::SyncFile);
    if (!FlushFileBuffers(file.get())) return discard(GetLastError());
    result = FileResult{true, {}};
    return file;
}

// Moves the written temporary to `target`. The temporary is still held open (so no clearing of
// killed saves takes it); a system that will not move an open file gets it closed first.
bool moveTemporary(Handle& file, const fs::path& temporary, const fs::path& target, DWORD flags,
                   DWORD& error) {
    flags |= MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(temporary.c_str(), target.c_str(), flags)) return true;
    error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
    file.close();
    if (MoveFileExW(temporary.c_str(), target.c_str(), flags)) return true;
    error = GetLastError();
    return false;
}

// Removes the temporaries that killed saves of `target` left: only one nobody holds open can be
// opened unshared, and it goes when it is closed.
void removeStaleSavesOf(const fs::path& target) {
    const std::string name = target.filename().string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(target), ec)) {
        if (!isOwnTemporaryName(entry.path().filename().string(), name)) continue;
        Handle stale(CreateFileW(entry.path().c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
    }
}

DWORD attributesOf(const fs::path& path, DWORD& error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    return attributes;
}

// The locks this program holds. Windows will not replace a file that is open, so a save lets go
// of this program's own locks on its target first: on Linux too a lock stays with the file it
// was taken on, which the save replaces.
std::mutex& heldLocksMutex() {
    static std::mutex mutex;
    return mutex;
}
std::vector<FileLock*>& heldLocks() {
    static std::vector<FileLock*> locks;
    return locks;
}

bool sameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Why `target` (symbolic links followed) cannot be replaced; empty when it can.
std::string targetRefusal(const fs::path& target) {
    DWORD error = ERROR_SUCCESS;
    const DWORD attributes = attributesOf(target, error);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder, not a file; it is left as it is";
        if (attributes & FILE_ATTRIBUTE_READONLY) return "is read-only; it is left as it is";
    } else if (!missing(error)) {
        return systemText(error);
    }
    return {};
}

}  // namespace

// Lets go of this program's own locks on `target`, so that a save may replace it.
void releaseOwnLocks(const fs::path& target) {
    FileResult opened;
    Handle named = openRegular(target, 0, opened);
    if (!named.valid()) return;
    std::vector<FileLock*> onTarget;
    {
        const std::lock_guard guard(heldLocksMutex());
        for (FileLock* lock : heldLocks())
            if (sameFile(handleOf(lock->fd_), named.get())) onTarget.push_back(lock);
    }
    for (FileLock* lock : onTarget) lock->unlock();
}

std::string saveRefusal(const fs::path& path) {
    const fs::path target = saveTarget(path);
    if (std::string why = targetRefusal(target); !why.empty()) return why;
    DWORD error = ERROR_SUCCESS;
    const DWORD folder = attributesOf(folderOf(target), error);
    if (folder == INVALID_FILE_ATTRIBUTES)
        return "its folder takes no new file: " + systemText(error);
    if (!(folder & FILE_ATTRIBUTE_DIRECTORY))
        return "its folder takes no new file: " + systemText(ERROR_DIRECTORY);
    return {};
}

FileResult writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path target = saveTarget(path);
    if (std::string why = targetRefusal(target); !why.empty()) return refusal(path, why);
    removeStaleSavesOf(target);

    fs::path temporary;
    FileResult result;
    Handle file = writeTemporary(path, target, bytes, temporary, result);
    if (!file.valid()) return result;
    step(SaveStep::Rename);
    releaseOwnLocks(target);
    DWORD error = ERROR_SUCCESS;
    if (!moveTemporary(file, temporary, target, MOVEFILE_REPLACE_EXISTING, error)) {
        file.close();
        DeleteFileW(temporary.c_str());
        return failure(path, error);
    }
    // The new file is no temporary: it is shown like any other file.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    file.close();
    // MOVEFILE_WRITE_THROUGH returns once the move is on the disk: the folder needs no flush.
    step(SaveStep::SyncFolder);
    step(SaveStep::Done);
    return FileResult{true, {}};
}

FileResult createFileIfMissing(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path target = saveTarget(path);
    fs::path temporary;
    FileResult result;
    Handle file = writeTemporary(path, target, bytes, temporary, result);
    if (!file.valid()) return result;
    // Without MOVEFILE_REPLACE_EXISTING a file another program made meanwhile is left alone.
    DWORD error = ERROR_SUCCESS;
    const bool moved = moveTemporary(file, temporary, target, 0, error);
    file.close();
    if (!moved) {
        DeleteFileW(temporary.c_str());
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return failure(path, error);
        return FileResult{true, {}};
    }
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    step(SaveStep::SyncFolder);
    return FileResult{true, {}};
}

void removeStaleSaves(const fs::path& path) { removeStaleSavesOf(saveTarget(path)); }

FileBytes readFileStart(const fs::path& path, std::size_t maxBytes) {
    FileBytes out;
    Handle file = openRegular(path, GENERIC_READ, out.result);
    if (!file.valid()) return out;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    while (bytes.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, maxBytes - bytes.size()));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, want, &got, nullptr)) {
            out.result = failure(path, GetLastError());
            return out;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    out.bytes = std::move(bytes);
    return out;
}

FileLock::FileLock(FileLock&& other) noexcept {
    const std::lock_guard guard(heldLocksMutex());
    fd_ = std::exchange(other.fd_, -1);
    std::ranges::replace(heldLocks(), &other, this);
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        unlock();
        const std::lock_guard guard(heldLocksMutex());
        fd_ = std::exchange(other.fd_, -1);
        std::ranges::replace(heldLocks(), &other, this);
    }
    return *this;
}

// The lock's handle is kept as a C runtime descriptor; closing it closes the handle and so
// lets go of the lock.
void FileLock::unlock() {
    const std::lock_guard guard(heldLocksMutex());
    if (fd_ >= 0) ::_close(std::exchange(fd_, -1));
    std::erase(heldLocks(), this);
}

FileResult FileLock::lock(const fs::path& path, LockKind kind) {
    unlock();
    const fs::path target = saveTarget(path);
    const auto deadline = std::chrono::steady_clock::now() + lockPatience();
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (kind == LockKind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    for (;;) {
        DWORD error = ERROR_SUCCESS;
        if (attributesOf(target, error) == INVALID_FILE_ATTRIBUTES && missing(error))
            return FileResult{true, {}};
        FileResult opened;
        // Shared with every other use, a rename over it included, as a lock on Linux is.
        Handle file = openRegular(target, GENERIC_READ, opened);
        if (!file.valid()) return opened;
        for (;;) {
            OVERLAPPED place{};
            place.OffsetHigh = kLockOffsetHigh;
            if (LockFileEx(file.get(), flags, 0, 1, 0, &place)) break;
            const DWORD lockError = GetLastError();
            if (lockError != ERROR_LOCK_VIOLATION && lockError != ERROR_IO_PENDING)
                return failure(path, lockError);
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                FileResult busy = refusal(path, "in use by another program");
                busy.busy = true;
                return busy;
            }
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                std::chrono::milliseconds(20), deadline - now));
        }
        // A save may have put a new file in its place while we waited: lock that one.
        FileResult again;
        Handle current = openRegular(target, 0, again);
        if (current.valid() && sameFile(file.get(), current.get())) {
            const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_RDONLY);
            if (fd < 0) return failure(path, ERROR_TOO_MANY_OPEN_FILES);
            file.release();
            const std::lock_guard guard(heldLocksMutex());
            fd_ = fd;
            heldLocks().push_back(this);
            return FileResult{true, {}};
        }
    }
}

}  // namespace kvr
