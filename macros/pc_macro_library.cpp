#include "macros/pc_macro_library.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
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

LibraryResult PCMacroLibrary::notALibrary(const std::string& message) {
    fileError_ = message;
    return fileError(FileResult{false, message});
}

// The file found at start is not a library: every change says so again, naming it.
LibraryResult PCMacroLibrary::unusableFile() {
    if (fileRefusal_) return refused(*fileRefusal_);
    error_ = fileError_;
    return LibraryResult::FileError;
}

LibraryResult PCMacroLibrary::CheckPCMacro(std::span<const std::uint8_t> defaultLibrary) {
    refusedFile_ = false;
    fileRefusal_.reset();
    readLibraryRecords(defaultLibrary, slots_);
    if (path_.empty()) return LibraryResult::Done;
    removeStaleSaves(path_);
    std::error_code ec;
    if (!std::filesystem::exists(saveTarget(path_), ec) && !ec) {
        // Made from the built-in macros; one another program made meanwhile is kept.
        if (const FileResult made = createFileIfMissing(path_, libraryBytes(slots_)); !made)
            return fileError(made);
    }
    FileLock lock;
    if (const FileResult locked = lock.lock(path_, LockKind::Shared); !locked)
        return fileError(locked);
    return reload();
}

LibraryResult PCMacroLibrary::reload() {
    FileBytes file = readFileStart(path_, kPCMacroFileSize + 1);
    if (!file.result) return fileError(file.result);
    // Longer than a library, or whole records that no library holds (a profile, a memory
    // image): some other file, never taken and never overwritten with a library. A short last
    // record is read as far as it goes.
    if (file.bytes.size() > kPCMacroFileSize) {
        refusedFile_ = true;
        return notALibrary(path_.string() + ": holds " + std::to_string(file.bytes.size()) +
                       " bytes, more than a macro library (" + std::to_string(kPCMacroFileSize) +
                       " bytes); it is left as it is");
    }
    PCMacroSlots read{};
    for (std::size_t i = 0; (i + 1) * kPCMacroRecordSize <= file.bytes.size(); ++i) {
        readRecord(file.bytes, i * kPCMacroRecordSize, read[i]);
        if (!read[i].inUse()) continue;
        if (auto refusal = libraryRecordRefusal(read[i], i + 1)) {
            refusedFile_ = true;
            fileRefusal_ = refusal;
            return refused(*refusal);
        }
    }
    slots_ = PCMacroSlots{};
    readLibraryRecords(file.bytes, slots_);
    return LibraryResult::Done;
}

std::size_t usedSlots(const PCMacroSlots& slots) {
    return static_cast<std::size_t>(std::ranges::count_if(slots, &PCMacroSlot::inUse));
}

std::size_t PCMacroLibrary::count() const { return usedSlots(slots_); }

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

namespace {

bool nameTaken(const PCMacroSlots& slots, std::string_view text) {
    return std::ranges::any_of(slots, [&](const PCMacroSlot& s) {
        return s.inUse() && macroNameText(s.name) == text;
    });
}

}  // namespace

LibraryResult PCMacroLibrary::change(const std::function<LibraryResult(PCMacroSlots&)>& edit) {
    PCMacroSlots candidate = slots_;
    if (path_.empty()) {
        const LibraryResult result = edit(candidate);
        if (result == LibraryResult::Done) slots_ = candidate;
        return result;
    }
    if (refusedFile_) return unusableFile();
    // The whole read-change-write under the lock: a change another program saved meanwhile is
    // read first and kept.
    FileLock lock;
    if (const FileResult locked = lock.lock(path_, LockKind::Exclusive); !locked)
        return fileError(locked);
    if (lock.held()) {
        if (const LibraryResult read = reload(); read != LibraryResult::Done) return read;
        candidate = slots_;
    }
    const LibraryResult result = edit(candidate);
    if (result != LibraryResult::Done) return result;
    const FileResult saved = writeFileAtomically(path_, libraryBytes(candidate));
    if (!saved) return fileError(saved);
    slots_ = candidate;
    return LibraryResult::Done;
}

LibraryResult PCMacroLibrary::RefreshPCMacro() {
    if (path_.empty()) return LibraryResult::Done;
    if (refusedFile_) return unusableFile();
    FileLock lock;
    if (const FileResult locked = lock.lock(path_, LockKind::Exclusive); !locked)
        return fileError(locked);
    const FileResult saved = writeFileAtomically(path_, libraryBytes(slots_));
    return saved ? LibraryResult::Done : fileError(saved);
}

LibraryResult PCMacroLibrary::addEntry(std::string_view text) {
    const MacroName name = MacroNameStrToUnicode(text);
    return change([&](PCMacroSlots& slots) {
        const std::size_t n = usedSlots(slots);
        if (n >= kPCMacroSlots) return LibraryResult::Full;
        // The list compares the typed text with the shown names, as the user sees them.
        if (nameTaken(slots, text)) return LibraryResult::Duplicate;
        if (!macroNameInUse(name)) return LibraryResult::NoSuchEntry;
        slots[n] = PCMacroSlot{.name = name, .content = {}};
        return LibraryResult::Done;
    });
}

LibraryResult PCMacroLibrary::rename(std::size_t index, std::string_view text) {
    const MacroName name = MacroNameStrToUnicode(text);
    return change([&](PCMacroSlots& slots) {
        if (index >= usedSlots(slots)) return LibraryResult::NoSuchEntry;
        if (nameTaken(slots, text)) return LibraryResult::Duplicate;
        if (!macroNameInUse(name)) return LibraryResult::NoSuchEntry;
        slots[index].name = name;
        return LibraryResult::Done;
    });
}

LibraryResult PCMacroLibrary::remove(std::size_t index) {
    return change([&](PCMacroSlots& slots) {
        if (index >= usedSlots(slots)) return LibraryResult::NoSuchEntry;
        std::move(slots.begin() + static_cast<std::ptrdiff_t>(index + 1), slots.end(),
                  slots.begin() + static_cast<std::ptrdiff_t>(index));
        slots.back() = PCMacroSlot{};
        return LibraryResult::Done;
    });
}

LibraryResult PCMacroLibrary::setContent(std::size_t index, const MacroContent& content) {
    return change([&](PCMacroSlots& slots) {
        if (index >= usedSlots(slots)) return LibraryResult::NoSuchEntry;
        slots[index].content = content;
        return LibraryResult::Done;
    });
}

LibraryResult PCMacroLibrary::importOne(const std::filesystem::path& file, std::size_t* index) {
    // One byte past a library tells a file too long from a whole one.
    FileBytes bytes = readFileStart(file, kPCMacroFileSize + 1);
    if (!bytes.result) return fileError(bytes.result);
    if (auto refusal = macroFileRefusal(bytes.bytes, true)) return refused(*refusal);
    std::size_t at = 0;
    const LibraryResult result = change([&](PCMacroSlots& slots) {
        const std::size_t n = usedSlots(slots);
        if (n + 1 >= kPCMacroSlots) return LibraryResult::Full;
        PCMacroSlot incoming = slots[n];
        readRecord(bytes.bytes, 0, incoming);
        for (std::size_t i = 0; i < n; ++i) {
            if (slots[i].name == incoming.name) return LibraryResult::Duplicate;
        }
        slots[n] = incoming;
        at = n;
        return LibraryResult::Done;
    });
    if (result == LibraryResult::Done && index) *index = at;
    return result;
}

LibraryResult PCMacroLibrary::importAll(const std::filesystem::path& file) {
    FileBytes bytes = readFileStart(file, kPCMacroFileSize + 1);
    if (!bytes.result) return fileError(bytes.result);
    if (auto refusal = macroFileRefusal(bytes.bytes, false)) return refused(*refusal);
    return change([&](PCMacroSlots& slots) {
        readLibraryRecords(bytes.bytes, slots);
        return LibraryResult::Done;
    });
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
