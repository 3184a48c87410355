#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace kvr::fuzz {
namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvr-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) broken("cannot make a scratch folder");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

}  // namespace

std::filesystem::path scratchPath(const std::string& name) {
    const std::filesystem::path path = scratchFolder() / name;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return path;
}

std::filesystem::path scratchFile(std::span<const std::uint8_t> bytes, const std::string& name) {
    const std::filesystem::path path = scratchPath(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) broken("cannot write " + path.string());
    return path;
}

EmulatedSession::EmulatedSession(const MouseMemory& memory)
    : mouse(std::make_shared<EmulatedMouse>(1, memory)) {
    plugMouse(bus, mouse, "emulated:kvr5507");
    session = std::make_unique<MouseSession>(bus, pacer);
    if (const auto failure = session->open()) {
        broken("the emulated mouse does not open: " + *failure);
    }
}

void broken(const std::string& what) {
    std::fprintf(stderr, "broken promise: %s\n", what.c_str());
    std::abort();
}

}  // namespace kvr::fuzz
