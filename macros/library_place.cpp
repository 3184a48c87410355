#include "macros/library_place.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
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

}  // namespace

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
