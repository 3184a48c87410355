#include "device/memory_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace kvr {

MemoryFileLoad loadMemoryFile(const std::filesystem::path& path) {
    MemoryFileLoad result;
    result.memory = factoryMemory();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        result.state = MemoryFileState::Missing;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec)) {
        result.state = MemoryFileState::Unreadable;
        result.message = path.string() + ": cannot be opened for reading";
        return result;
    }
    MouseMemory bytes = result.memory;
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) {
        result.state = MemoryFileState::Unreadable;
        result.message = path.string() + ": read error";
        return result;
    }
    // A short file keeps what it has; the factory bytes fill the rest, as a new mouse would.
    result.memory = bytes;
    if (got < kMouseMemorySize) {
        result.state = MemoryFileState::Short;
    } else {
        result.state = in.peek() == std::ifstream::traits_type::eof() ? MemoryFileState::Loaded
                                                                      : MemoryFileState::Long;
    }
    return result;
}

MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                              std::span<const std::uint8_t, kMouseMemorySize> memory) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    auto fail = [&](const std::string& what) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return MemoryFileSave{false, what};
    };

    std::FILE* file = std::fopen(temp.string().c_str(), "wb");
    if (!file) return fail(temp.string() + ": " + std::strerror(errno));
    const std::size_t written = std::fwrite(memory.data(), 1, memory.size(), file);
    const bool flushed = std::fflush(file) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (written != memory.size() || !flushed || !closed) {
        return fail(temp.string() + ": " + std::strerror(writeErrno ? writeErrno : EIO));
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) return fail(path.string() + ": " + ec.message());
    return {true, {}};
}

}  // namespace kvr
