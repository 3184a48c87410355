#include "macros/library_place.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <array>
#include <cstring>
#include <system_error>

#include "macros/pc_macro_library.h"

namespace kvr {

namespace fs = std::filesystem;

namespace {

fs::path oldLibrary(const fs::path& dataHome) {
    return dataHome / kOldUserDataFolderName / kPCMacroFileName;
}

bool present(const fs::path& file) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(file, ec));
}

#ifndef _WIN32
// Folders of the system's own programs, whoever runs them.
bool underSystemPrefix(const fs::path& folder) {
    static constexpr std::array<std::string_view, 6> kPrefixes = {"/usr", "/bin", "/sbin",
                                                                  "/opt", "/snap", "/app"};
    for (std::string_view prefix : kPrefixes) {
        const fs::path p(prefix);
        auto [end, _] = std::mismatch(p.begin(), p.end(), folder.begin(), folder.end());
        if (end == p.end()) return true;
    }
    return false;
}
#endif

}  // namespace

#ifdef _WIN32
// Windows keeps a user's data in the roaming application data folder; no password database.
// %APPDATA% as UTF-8 stands in for $XDG_DATA_HOME; there is no home fallback.
fs::path userDataHome(const char* appData, const char*) {
    if (!appData) return {};
    const fs::path folder(std::u8string(appData, appData + std::strlen(appData)));
    return folder.is_absolute() ? folder : fs::path();
}

fs::path userDataHome() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData) return {};
    const fs::path folder(appData);
    return folder.is_absolute() ? folder : fs::path();
}

// A folder of the user's own is one the program may write: the installers' folders under
// Program Files are not, whoever runs the program.
bool runsFromInstalledPlace(const fs::path& programFolder) {
    if (programFolder.empty() || !programFolder.is_absolute()) return true;
    const fs::path probe = programFolder / L".kvr5507-write-check";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;
    CloseHandle(file);
    return false;
}

fs::path runningProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}
#else
fs::path userDataHome(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && *xdgDataHome == '/') return xdgDataHome;
    if (home && *home == '/') return fs::path(home) / ".local" / "share";
    if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_dir && *user->pw_dir == '/')
        return fs::path(user->pw_dir) / ".local" / "share";
    return {};
}

fs::path userDataHome() { return userDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

bool runsFromInstalledPlace(const fs::path& programFolder) {
    if (programFolder.empty() || !programFolder.is_absolute()) return true;
    const fs::path folder = programFolder.lexically_normal();
    // PREFIX/bin is where an install puts programs, ~/.local/bin and a staged tree included.
    const fs::path name = folder.has_filename() ? folder.filename() : folder.parent_path().filename();
    if (name == "bin" || name == "sbin") return true;
    if (underSystemPrefix(folder)) return true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return true;
    return info.st_uid != ::geteuid() || ::access(folder.c_str(), W_OK) != 0;
}

fs::path runningProgramFolder() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
}
#endif

fs::path pcMacroLibraryPath(const fs::path& programFolder, const fs::path& dataHome) {
    if (!runsFromInstalledPlace(programFolder)) return programFolder / kPCMacroFileName;
    return dataHome / kUserDataFolderName / kPCMacroFileName;
}

fs::path settleLibrary(const fs::path& library, const fs::path& dataHome) {
    std::error_code ec;
    const fs::path folder = library.parent_path();
    if (!folder.empty() && !fs::exists(folder, ec)) {
        fs::create_directories(folder, ec);
        // The macros are the user's own: the folder is theirs alone, as for other user data.
        if (!ec) fs::permissions(folder, fs::perms::owner_all, ec);
    }
    const fs::path old = oldLibrary(dataHome);
    if (dataHome.empty() || present(library) || !present(old) || old == library) return library;
    fs::rename(old, library, ec);
    if (ec) return old;
    // The old folder goes when the library was all it held.
    fs::remove(old.parent_path(), ec);
    return library;
}

fs::path existingLibrary(const fs::path& library, const fs::path& dataHome) {
    if (present(library) || dataHome.empty()) return library;
    const fs::path old = oldLibrary(dataHome);
    return present(old) ? old : library;
}

}  // namespace kvr
