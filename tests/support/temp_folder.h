#pragma once
// A new, empty folder of the test's own under the system's temporary folder, named
// PREFIX-XXXXXX; empty when none could be made.
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#endif

namespace kvr::test {

inline std::filesystem::path makeTempFolder(const std::string& prefix) {
#ifdef _WIN32
    static int made = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() /
            (prefix + "-" + std::to_string(_getpid()) + "-" + std::to_string(++made));
        std::error_code ec;
        if (std::filesystem::create_directory(folder, ec)) return folder;
    }
    return {};
#else
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    return ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
#endif
}

}  // namespace kvr::test
