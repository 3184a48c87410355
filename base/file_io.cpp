#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace kvr {

namespace {

FileResult failure(const std::filesystem::path& path, int error) {
    return FileResult{false, path.string() + ": " + std::strerror(error)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failure to close is seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

// The file a save replaces: a symbolic link is followed, so the link stays and its target gets
// the new content.
std::filesystem::path saveTarget(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target;
}

FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = saveTarget(path);
    // The new file takes the old one's permissions; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &old) == 0) {
        // A device, a FIFO or a folder is never replaced by a plain file.
        if (!S_ISREG(old.st_mode)) return FileResult{false, path.string() + ": is not a regular file"};
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporary = target.string() + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) return failure(path, errno);

    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return failure(path, error);
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return discard(n < 0 ? errno : ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return discard(errno);
    // mkstemp creates the file for its owner only.
    if (::fchmod(fd.get(), mode) != 0) return discard(errno);
    if (!fd.close()) return discard(errno);

    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        ::unlink(temporary.c_str());
        return FileResult{false, path.string() + ": " + ec.message()};
    }
    // The rename itself reaches the disk with its folder.
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.get() >= 0) ::fsync(dir.get());
    return FileResult{true, {}};
}

FileBytes readFileStart(const std::filesystem::path& path, std::size_t maxBytes) {
    FileBytes out;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        out.result = failure(path, EISDIR);
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out.result = failure(path, errno ? errno : ENOENT);
        return out;
    }
    std::vector<std::uint8_t> bytes;
    char buffer[4096];
    while (bytes.size() < maxBytes && in) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        in.read(buffer, static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(in.gcount());
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (got < want) break;
    }
    if (in.bad()) {
        out.result = failure(path, EIO);
        return out;
    }
    out.bytes = std::move(bytes);
    out.result = FileResult{true, {}};
    return out;
}

}  // namespace kvr
