#include "macros/pc_macro_library.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "macros/macro_checks.h"

namespace kvr {

namespace {

void readRecord(std::span<const std::uint8_t> bytes, std::size_t at, PCMacroSlot& slot) {
    const auto copy = [&](std::size_t from, std::span<std::uint8_t> to) {
        if (from >= bytes.size()) return;
        const std::size_t n = std::min(to.size(), bytes.size() - from);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), n, to.begin());
    };
    copy(at, slot.name);
    copy(at + kMacroNameSize, slot.content);
}

}  // namespace

std::filesystem::path pcMacroLibraryPath(const std::filesystem::path& programFolder,
                                         const std::filesystem::path& userDataFolder) {
    if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0) {
        return programFolder / kPCMacroFileName;
    }
    std::error_code ec;
    std::filesystem::create_directories(userDataFolder, ec);
    return userDataFolder / kPCMacroFileName;
}

void readLibraryRecords(std::span<const std::uint8_t> bytes, PCMacroSlots& slots) {
    for (std::size_t i = 0; i < kPCMacroSlots; ++i) {
        const std::size_t at = i * kPCMacroRecordSize;
        if (at >= bytes.size()) break;
        readRecord(bytes, at, slots[i]);
    }
    compactLibrary(slots);
}

void compactLibrary(PCMacroSlots& slots) {
    const auto end = std::stable_partition(slots.begin(), slots.end(),
                                           [](const PCMacroSlot& s) { return s.inUse(); });
    std::fill(end, slots.end(), PCMacroSlot{});
}

std::array<std::uint8_t, kPCMacroRecordSize> recordBytes(const PCMacroSlot& slot) {
    std::array<std::uint8_t, kPCMacroRecordSize> record{};
    std::ranges::copy(slot.name, record.begin());
    std::ranges::copy(slot.content, record.begin() + kMacroNameSize);
    return record;
}

std::vector<std::uint8_t> libraryBytes(const PCMacroSlots& slots) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kPCMacroFileSize);
    for (const PCMacroSlot& slot : slots) {
        const auto record = recordBytes(slot);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

PCMacroLibrary::PCMacroLibrary(std::filesystem::path path) : path_(std::move(path)) {}

LibraryResult PCMacroLibrary::fileError(const FileResult& result) {
    error_ = result.error;
    return LibraryResult::FileError;
}

LibraryResult PCMacroLibrary::refused(const FileRefusal& refusal) {
    refusal_ = refusal;
    return LibraryResult::Refused;
}

LibraryResult PCMacroLibrary::CheckPCMacro(std::span<const std::uint8_t> defaultLibrary) {
    std::error_code ec;
    if (!path_.empty() && std::filesystem::exists(path_, ec)) {
        FileBytes file = readFileStart(path_, kPCMacroFileSize);
        if (!file.result) {
            readLibraryRecords(defaultLibrary, slots_);
            return fileError(file.result);
        }
        readLibraryRecords(file.bytes, slots_);
        return LibraryResult::Done;
    }
    readLibraryRecords(defaultLibrary, slots_);
    return RefreshPCMacro();
}

std::size_t PCMacroLibrary::count() const {
    return static_cast<std::size_t>(std::ranges::count_if(slots_, &PCMacroSlot::inUse));
}

std::vector<std::string> PCMacroLibrary::names() const {
    std::vector<std::string> list;
    for (const PCMacroSlot& slot : slots_) {
        if (!slot.inUse()) break;
        list.push_back(macroNameText(slot.name));
    }
    return list;
}

std::string PCMacroLibrary::name(std::size_t index) const {
    if (index >= count()) return {};
    return macroNameText(slots_[index].name);
}

bool PCMacroLibrary::nameTaken(std::string_view text) const {
    return std::ranges::any_of(names(), [&](const std::string& n) { return n == text; });
}

LibraryResult PCMacroLibrary::commit(const PCMacroSlots& candidate) {
    if (path_.empty()) {
        slots_ = candidate;
        return LibraryResult::Done;
    }
    const FileResult saved = writeFileAtomically(path_, libraryBytes(candidate));
    if (!saved) return fileError(saved);
    slots_ = candidate;
    return LibraryResult::Done;
}

LibraryResult PCMacroLibrary::RefreshPCMacro() { return commit(slots_); }

LibraryResult PCMacroLibrary::addEntry(std::string_view text) {
    if (full()) return LibraryResult::Full;
    // The list compares the typed text with the shown names, as the user sees them.
    if (nameTaken(text)) return LibraryResult::Duplicate;
    const MacroName name = MacroNameStrToUnicode(text);
    if (!macroNameInUse(name)) return LibraryResult::NoSuchEntry;
    PCMacroSlots candidate = slots_;
    candidate[count()] = PCMacroSlot{.name = name, .content = {}};
    return commit(candidate);
}

LibraryResult PCMacroLibrary::rename(std::size_t index, std::string_view text) {
    if (index >= count()) return LibraryResult::NoSuchEntry;
    if (nameTaken(text)) return LibraryResult::Duplicate;
    const MacroName name = MacroNameStrToUnicode(text);
    if (!macroNameInUse(name)) return LibraryResult::NoSuchEntry;
    PCMacroSlots candidate = slots_;
    candidate[index].name = name;
    return commit(candidate);
}

LibraryResult PCMacroLibrary::remove(std::size_t index) {
    if (index >= count()) return LibraryResult::NoSuchEntry;
    PCMacroSlots candidate = slots_;
    std::move(candidate.begin() + static_cast<std::ptrdiff_t>(index + 1), candidate.end(),
              candidate.begin() + static_cast<std::ptrdiff_t>(index));
    candidate.back() = PCMacroSlot{};
    return commit(candidate);
}

LibraryResult PCMacroLibrary::setContent(std::size_t index, const MacroContent& content) {
    if (index >= count()) return LibraryResult::NoSuchEntry;
    PCMacroSlots candidate = slots_;
    candidate[index].content = content;
    return commit(candidate);
}

LibraryResult PCMacroLibrary::importOne(const std::filesystem::path& file, std::size_t* index) {
    const std::size_t n = count();
    if (n + 1 >= kPCMacroSlots) return LibraryResult::Full;
    // One byte past a library tells a file too long from a whole one.
    FileBytes bytes = readFileStart(file, kPCMacroFileSize + 1);
    if (!bytes.result) return fileError(bytes.result);
    if (auto refusal = macroFileRefusal(bytes.bytes, true)) return refused(*refusal);
    PCMacroSlot incoming = slots_[n];
    readRecord(bytes.bytes, 0, incoming);
    for (std::size_t i = 0; i < n; ++i) {
        if (slots_[i].name == incoming.name) return LibraryResult::Duplicate;
    }
    PCMacroSlots candidate = slots_;
    candidate[n] = incoming;
    const LibraryResult result = commit(candidate);
    if (result == LibraryResult::Done && index) *index = n;
    return result;
}

LibraryResult PCMacroLibrary::importAll(const std::filesystem::path& file) {
    FileBytes bytes = readFileStart(file, kPCMacroFileSize + 1);
    if (!bytes.result) return fileError(bytes.result);
    if (auto refusal = macroFileRefusal(bytes.bytes, false)) return refused(*refusal);
    PCMacroSlots candidate = slots_;
    readLibraryRecords(bytes.bytes, candidate);
    return commit(candidate);
}

LibraryResult PCMacroLibrary::exportOne(std::size_t index, const std::filesystem::path& file) {
    if (index >= count()) return LibraryResult::NoSuchEntry;
    const auto record = recordBytes(slots_[index]);
    const FileResult saved = writeFileAtomically(file, record);
    return saved ? LibraryResult::Done : fileError(saved);
}

LibraryResult PCMacroLibrary::exportAll(const std::filesystem::path& file) {
    const FileResult saved = writeFileAtomically(file, libraryBytes(slots_));
    return saved ? LibraryResult::Done : fileError(saved);
}

std::vector<std::uint8_t> PCMacroLibrary::fileBytes() const { return libraryBytes(slots_); }

}  // namespace kvr
