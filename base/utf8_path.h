#pragma once
// A path from UTF-8 text, the program's own encoding for the names it is given and shows.
// Windows would read a narrow text in the system's code page and find no such file.
#include <filesystem>
#include <string>
#include <string_view>

namespace kvr {

inline std::filesystem::path utf8Path(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

}  // namespace kvr
