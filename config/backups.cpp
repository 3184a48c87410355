#include "config/backups.h"

#include "macros/library_place.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>

#include "base/file_io.h"
#include "macros/device_macro_table.h"
#include "params/param_layout.h"

namespace kvr {

namespace {

constexpr const char* kBackupExtension = ".bin";
// "YYYY-MM-DDTHHMMSS"
constexpr std::size_t kStampLength = 17;

// The order of a backup's name: its time, then the number that parts two of the same second.
struct BackupKey {
    std::string stamp;
    int number = 1;
    auto operator<=>(const BackupKey&) const = default;
};

std::optional<BackupKey> backupKey(const std::filesystem::path& file) {
    if (file.extension() != kBackupExtension) return std::nullopt;
    const std::string stem = file.stem().string();
    if (stem.size() < kStampLength || stem[10] != 'T') return std::nullopt;
    for (std::size_t i = 0; i < kStampLength; ++i) {
        if (i == 4 || i == 7 || i == 10) continue;
        if (stem[i] < '0' || stem[i] > '9') return std::nullopt;
    }
    BackupKey key{stem.substr(0, kStampLength)};
    if (stem.size() == kStampLength) return key;
    const std::string_view rest = std::string_view(stem).substr(kStampLength);
    if (!rest.starts_with('-')) return std::nullopt;
    const auto [end, ec] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), key.number);
    if (ec != std::errc() || end != rest.data() + rest.size() || key.number < 2) return std::nullopt;
    return key;
}

// The backups with their keys, oldest first.
std::vector<std::pair<BackupKey, std::filesystem::path>> backupFiles() {
    std::vector<std::pair<BackupKey, std::filesystem::path>> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(backupFolder(), ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (const auto key = backupKey(entry.path())) files.emplace_back(*key, entry.path());
    }
    std::ranges::sort(files, {}, &std::pair<BackupKey, std::filesystem::path>::first);
    return files;
}

}  // namespace

std::filesystem::path userDataFolder() {
    const std::filesystem::path home = userDataHome();
    return home.empty() ? home : home / kUserDataFolderName;
}

std::filesystem::path backupFolder() {
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "backups";
}

std::string memorySummary(const MouseMemory& memory) {
    const ParamLayout& layout = kParamLayoutV1;
    std::string summary = std::to_string(memory[layout.dpiLevelCount]) + " levels";
    if (memory[layout.tail + param_tail::kMacroCapability] != kMacroCapabilityPresent)
        return summary + ", no macro memory";
    std::array<std::uint8_t, kDeviceMacroAreaSize> area{};
    std::copy_n(memory.begin() + kMemoryMacroAddress, area.size(), area.begin());
    DeviceMacroTable table;
    table.parse(area);
    summary += ", " + std::to_string(table.count()) + (table.count() == 1 ? " macro" : " macros");
    for (std::size_t i = 0; i < table.count(); ++i) summary += (i ? ", " : ": ") + table.name(i);
    return summary;
}

std::vector<Backup> listBackups() {
    std::vector<Backup> backups;
    const auto files = backupFiles();
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const std::string& s = it->first.stamp;
        Backup backup{it->second,
                      s.substr(0, 10) + " " + s.substr(11, 2) + ":" + s.substr(13, 2) + ":" +
                          s.substr(15, 2),
                      {}};
        const FileBytes read = readFileStart(backup.file, kMouseMemorySize + 1);
        if (!read.result || read.bytes.size() != kMouseMemorySize) {
            backup.summary = "not a whole memory image";
        } else {
            MouseMemory memory{};
            std::ranges::copy(read.bytes, memory.begin());
            backup.summary = memorySummary(memory);
        }
        backups.push_back(std::move(backup));
    }
    return backups;
}

std::optional<std::string> saveBackup(const MouseMemory& memory) {
    const std::filesystem::path folder = backupFolder();
#ifdef _WIN32
    if (folder.empty()) return "there is no data folder: APPDATA is not set";
#else
    if (folder.empty()) return "there is no data folder: neither XDG_DATA_HOME nor HOME is set";
#endif
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return folder.string() + ": " + ec.message();

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H%M%S", &local);
    std::filesystem::path file = folder / (std::string(stamp) + kBackupExtension);
    for (int n = 2; std::filesystem::exists(file, ec); ++n)
        file = folder / (std::string(stamp) + "-" + std::to_string(n) + kBackupExtension);
    if (const FileResult saved = writeFileAtomically(file, memory); !saved) return saved.error;

    const auto files = backupFiles();
    for (std::size_t i = 0; i + kBackupsKept < files.size(); ++i)
        std::filesystem::remove(files[i].second, ec);
    return std::nullopt;
}

}  // namespace kvr
