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

FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
    std::string temporary = path.string() + ".XXXXXX";
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
    // mkstemp creates the file for its owner only; a saved file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd.get(), 0666 & ~mask) != 0) return discard(errno);
    if (!fd.close()) return discard(errno);

    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        ::unlink(temporary.c_str());
        return FileResult{false, path.string() + ": " + ec.message()};
    }
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
