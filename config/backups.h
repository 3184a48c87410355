#pragma once
// Backups of the mouse's whole memory, saved before a command changes it: the newest few kept in
// the user's data folder, listed with a one-line summary, and taken back by their number.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/emulated_mouse.h"

namespace kvr {

// How many backups are kept; the oldest beyond these are removed.
inline constexpr std::size_t kBackupsKept = 20;

// The user's data folder: $XDG_DATA_HOME/kvr5507, else ~/.local/share/kvr5507; empty when neither
// can be told.
std::filesystem::path userDataFolder();
std::filesystem::path backupFolder();

struct Backup {
    std::filesystem::path file;
    std::string date;     // "2026-12-11 01:02:03"
    std::string summary;  // "4 levels, 2 macros: Copy, Paste"
};

// The backups, newest first; number N of `backup list` is element N - 1.
std::vector<Backup> listBackups();

// Saves `memory` as backups/YYYY-MM-DDTHHMMSS.bin (with -2, -3... when that second is taken), then
// keeps only the newest kBackupsKept. Why not, when it cannot be saved.
std::optional<std::string> saveBackup(const MouseMemory& memory);

// A one-line description of a memory image.
std::string memorySummary(const MouseMemory& memory);

}  // namespace kvr
