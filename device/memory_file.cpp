#include "device/memory_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "base/file_io.h"

namespace kvr {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

MemoryFileOpen refused(MemoryFileState state, const std::filesystem::path& path,
                       const std::string& why) {
    MemoryFileOpen result;
    result.state = state;
    result.message = path.string() + ": " + why;
    return result;
}

}  // namespace

MemoryFileOpen openMemoryFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        MemoryFileOpen created;
        created.memory = factoryMemory();
        const MemoryFileSave saved = saveMemoryFile(path, created.memory);
        if (!saved) return {created.memory, MemoryFileState::Unwritable, saved.message};
        created.state = MemoryFileState::Created;
        return created;
    }
    if (ec) return refused(MemoryFileState::Unreadable, path, ec.message());
    if (status.type() == std::filesystem::file_type::directory)
        return refused(MemoryFileState::NotAFile, path, "is a folder, not a file");
    if (status.type() != std::filesystem::file_type::regular)
        return refused(MemoryFileState::NotAFile, path, "is not a regular file");

    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return refused(MemoryFileState::Unreadable, path, ec.message());
    if (size != kMouseMemorySize) {
        return refused(MemoryFileState::WrongSize, path,
                       "holds " + std::to_string(size) + " bytes, but the mouse's memory is " +
                           std::to_string(kMouseMemorySize) + " bytes; it is left as it is");
    }

    MemoryFileOpen result;
    File in(std::fopen(path.string().c_str(), "rb"));
    if (!in) return refused(MemoryFileState::Unreadable, path, std::strerror(errno));
    if (std::fread(result.memory.data(), 1, result.memory.size(), in.get()) != result.memory.size())
        return refused(MemoryFileState::Unreadable, path, "cannot be read whole");

    // Every write of the mouse saves the file: refuse now what could not be saved then, the file
    // itself and a new file beside it for the atomic save.
    if (!File(std::fopen(path.string().c_str(), "r+b")))
        return refused(MemoryFileState::Unwritable, path, std::strerror(errno));
    // A probe of a name no other file has: another program's save or the owner's own file
    // beside this one is never touched.
    std::string probe = saveTarget(path).string() + ".XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return refused(MemoryFileState::Unwritable, path,
                       std::string("its folder takes no new file: ") + std::strerror(errno));
    }
    ::close(fd);
    ::unlink(probe.c_str());
    result.state = MemoryFileState::Loaded;
    return result;
}

MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                              std::span<const std::uint8_t, kMouseMemorySize> memory) {
    const FileResult saved = writeFileAtomically(path, memory);
    return {saved.ok, saved.error};
}

}  // namespace kvr
