#include "base/save_files.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

namespace kvr {

namespace {

std::function<void(SaveStep)>& saveStepHook() {
    static std::function<void(SaveStep)> hook;
    return hook;
}

std::chrono::milliseconds& patience() {
    static std::chrono::milliseconds value{5000};
    return value;
}

}  // namespace

namespace save_files {

bool isOwnTemporaryName(const std::string& name, const std::string& target) {
    const std::string prefix = "." + target + std::string(kSaveMark);
    if (name.size() != prefix.size() + kRandomPart || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

void step(SaveStep s) {
    if (saveStepHook()) saveStepHook()(s);
}

}  // namespace save_files

std::filesystem::path saveTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    // As the system does, a chain of links ends after 40 steps.
    for (int links = 0; links < 40; ++links) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(target, ec)) break;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) break;
        target = next.is_absolute() ? next : save_files::folderOf(target) / next;
    }
    return target;
}

void setSaveStepHook(std::function<void(SaveStep)> hook) { saveStepHook() = std::move(hook); }

std::chrono::milliseconds lockPatience() { return patience(); }
void setLockPatience(std::chrono::milliseconds value) { patience() = value; }

}  // namespace kvr
