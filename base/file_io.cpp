#include "base/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cctype>
#include <system_error>
#include <thread>
#include <utility>

#include "base/save_files.h"

namespace kvr {

namespace {

using save_files::folderOf;
using save_files::isOwnTemporaryName;
using save_files::kRandomPart;
using save_files::kSaveMark;
using save_files::step;

FileResult failure(const std::filesystem::path& path, int error) {
    return FileResult{false, path.string() + ": " + std::strerror(error)};
}

FileResult refusal(const std::filesystem::path& path, const std::string& why) {
    return FileResult{false, path.string() + ": " + why};
}

// What a path that is not a regular file is, in the user's words.
std::string kindRefusal(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a FIFO (named pipe), not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
    if (S_ISSOCK(mode)) return "is a socket, not a file";
    return "is not a regular file";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    // Closes now, so that a failure to close is seen.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// Opens an existing file for reading without waiting on a FIFO or a device, and refuses
// anything but a regular file before a byte is read.
FileDescriptor openRegular(const std::filesystem::path& path, FileResult& result) {
    struct stat st{};
    // Looked at first, so that a device is never opened at all.
    if (::stat(path.c_str(), &st) != 0) {
        result = failure(path, errno);
        return FileDescriptor(-1);
    }
    if (!S_ISREG(st.st_mode)) {
        result = refusal(path, kindRefusal(st.st_mode));
        return FileDescriptor(-1);
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        result = failure(path, errno);
        return fd;
    }
    // It may have been swapped for something else in between.
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result = refusal(path, kindRefusal(st.st_mode));
        return FileDescriptor(-1);
    }
    result = FileResult{true, {}};
    return fd;
}

// Writes `bytes` into a new temporary beside `target`, made like the target; the temporary stays
// locked (a living save) until the returned descriptor is closed.
FileDescriptor writeTemporary(const std::filesystem::path& shown, const std::filesystem::path& target,
                              std::span<const std::uint8_t> bytes, mode_t mode,
                              std::string& temporary, FileResult& result) {
    temporary = (folderOf(target) / ("." + target.filename().string() + std::string(kSaveMark) +
                                     std::string(kRandomPart, 'X')))
                    .string();
    step(SaveStep::Create);
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        result = failure(shown, errno);
        return fd;
    }
    (void)::flock(fd.get(), LOCK_EX | LOCK_NB);
    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        result = failure(shown, error);
        return FileDescriptor(-1);
    };
    step(SaveStep::Write);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return discard(n < 0 ? errno : ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd.get(), mode) != 0) return discard(errno);
    step(SaveStep::SyncFile);
    if (::fsync(fd.get()) != 0) return discard(errno);
    result = FileResult{true, {}};
    return fd;
}

void syncFolder(const std::filesystem::path& file) {
    step(SaveStep::SyncFolder);
    FileDescriptor dir(::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) (void)::fsync(dir.get());
}

// Saves and the clearing of killed saves' temporaries take turns in a folder: a temporary exists
// only while its save holds this lock, so whoever holds it may remove every temporary it finds.
// A folder that cannot be opened is not locked; the check of each temporary's own lock remains.
FileDescriptor lockFolder(const std::filesystem::path& file) {
    FileDescriptor dir(::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        while (::flock(dir.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return dir;
}

// Removes the temporaries killed saves of `target` left; the caller holds the folder's lock.
void removeStaleSavesLocked(const std::filesystem::path& target) {
    const std::string name = target.filename().string();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(target), ec)) {
        if (!isOwnTemporaryName(entry.path().filename().string(), name)) continue;
        // A save of a program that takes no folder lock still holds its temporary locked.
        FileDescriptor fd(
            ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat st{};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        ::unlink(entry.path().c_str());
    }
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string saveRefusal(const std::filesystem::path& path) {
    const std::filesystem::path target = saveTarget(path);
    struct stat st{};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return kindRefusal(st.st_mode) + "; it is left as it is";
        // The owner's own bits say read-only even to a user whom the system would let write.
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return "is read-only; it is left as it is";
    } else if (errno != ENOENT) {
        return std::strerror(errno);
    }
    if (::access(folderOf(target).c_str(), W_OK | X_OK) != 0)
        return std::string("its folder takes no new file: ") + std::strerror(errno);
    return {};
}

FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = saveTarget(path);
    mode_t mode = newFileMode();
    struct stat st{};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return refusal(path, kindRefusal(st.st_mode) + "; it is left as it is");
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return refusal(path, "is read-only; it is left as it is");
        mode = st.st_mode & 07777;
    }
    const FileDescriptor folder = lockFolder(target);
    removeStaleSavesLocked(target);

    std::string temporary;
    FileResult result;
    FileDescriptor fd = writeTemporary(path, target, bytes, mode, temporary, result);
    if (fd.get() < 0) return result;
    step(SaveStep::Rename);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(path, error);
    }
    fd.close();
    syncFolder(target);
    step(SaveStep::Done);
    return FileResult{true, {}};
}

FileResult createFileIfMissing(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = saveTarget(path);
    const FileDescriptor folder = lockFolder(target);
    std::string temporary;
    FileResult result;
    FileDescriptor fd = writeTemporary(path, target, bytes, newFileMode(), temporary, result);
    if (fd.get() < 0) return result;
    // A link, unlike a rename, never replaces a file another program made meanwhile.
    const int linked = ::link(temporary.c_str(), target.c_str());
    const int error = errno;
    ::unlink(temporary.c_str());
    if (linked != 0 && error != EEXIST) return failure(path, error);
    fd.close();
    syncFolder(target);
    return FileResult{true, {}};
}

void removeStaleSaves(const std::filesystem::path& path) {
    const std::filesystem::path target = saveTarget(path);
    const FileDescriptor folder = lockFolder(target);
    removeStaleSavesLocked(target);
}

FileBytes readFileStart(const std::filesystem::path& path, std::size_t maxBytes) {
    FileBytes out;
    FileDescriptor fd = openRegular(path, out.result);
    if (fd.get() < 0) return out;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t got = ::read(fd.get(), buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            out.result = failure(path, errno);
            return out;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    out.bytes = std::move(bytes);
    return out;
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        unlock();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void FileLock::unlock() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

FileResult FileLock::lock(const std::filesystem::path& path, LockKind kind) {
    unlock();
    const std::filesystem::path target = saveTarget(path);
    const auto deadline = std::chrono::steady_clock::now() + lockPatience();
    const int operation = (kind == LockKind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    for (;;) {
        struct stat st{};
        if (::stat(target.c_str(), &st) != 0 && errno == ENOENT) return FileResult{true, {}};
        FileResult opened;
        FileDescriptor fd = openRegular(target, opened);
        if (fd.get() < 0) return opened;
        while (::flock(fd.get(), operation) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK) return failure(path, errno);
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                FileResult busy = refusal(path, "in use by another program");
                busy.busy = true;
                return busy;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(std::chrono::milliseconds(20),
                                                              deadline - now));
        }
        // A save may have put a new file in its place while we waited: lock that one.
        struct stat locked{};
        struct stat named{};
        if (::fstat(fd.get(), &locked) == 0 && ::stat(target.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            fd_ = fd.release();
            return FileResult{true, {}};
        }
    }
}

}  // namespace kvr
