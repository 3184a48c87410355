#include <iostream>
#include <string>
#include <vector>

#include "cli/ctl_program.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// Windows hands the arguments over as UTF-16; the program speaks UTF-8 throughout, so that
// file names with any letters reach the wide-character calls unchanged.
namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(utf8(argv[i]));
    // The same bytes as on Linux: "\n" stays "\n", and UTF-8 text is written as it is.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    return kvr::runCtl(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kvr::runCtl(args, std::cout, std::cerr);
}
#endif
