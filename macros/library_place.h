#pragma once
// Where the programs keep the PC macro library "Macro.bin". A program run from an installed
// place (a system prefix, PREFIX/bin, or a folder the user does not own or cannot write) keeps
// it in the user's data folder, $XDG_DATA_HOME/kvr5507 or ~/.local/share/kvr5507; a copy run
// from its build folder or from a portable folder the user owns keeps it beside itself. On
// Windows the data folder is %APPDATA%\kvr5507, and an installed place is one the user cannot
// write (Program Files).
#include <filesystem>
#include <string_view>

namespace kvr {

// The data folder's name under $XDG_DATA_HOME; the window once used its title instead.
inline constexpr std::string_view kUserDataFolderName = "kvr5507";
inline constexpr std::string_view kOldUserDataFolderName = "KVR5507 Gaming Mouse";

// $XDG_DATA_HOME when it is an absolute path, else HOME/.local/share, else the user's home from
// the password database; empty when none is known. On Windows: %APPDATA%, the first argument.
std::filesystem::path userDataHome(const char* xdgDataHome, const char* home);
// userDataHome of this process's environment.
std::filesystem::path userDataHome();

// The folder of the running program's file; empty when the system does not tell.
std::filesystem::path runningProgramFolder();

// Whether a program in `programFolder` runs from an installed place rather than a folder of
// the user's own.
bool runsFromInstalledPlace(const std::filesystem::path& programFolder);

// The library file for a program in `programFolder`; `dataHome` as userDataHome gives it.
// Nothing on disk is touched.
std::filesystem::path pcMacroLibraryPath(const std::filesystem::path& programFolder,
                                         const std::filesystem::path& dataHome);

// For a program that may write the library at `library`: its folder is made (private to the
// user) and a library left in the old data folder under `dataHome` moves here, once. Returns
// the file to use: the old one while it cannot be moved.
std::filesystem::path settleLibrary(const std::filesystem::path& library,
                                    const std::filesystem::path& dataHome);

// For a program that only reads: the library where it lies, the old one while no new one
// exists, or `library` itself when there is neither. Nothing on disk is touched.
std::filesystem::path existingLibrary(const std::filesystem::path& library,
                                      const std::filesystem::path& dataHome);

}  // namespace kvr
