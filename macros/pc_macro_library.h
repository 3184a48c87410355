#pragma once
// The library of up to 100 macros kept on the computer in "Macro.bin": 100 records of 272 bytes
// (16-byte name, 256-byte content), no header; a free slot is 272 zero bytes. A slot is in use
// when its name's first or second byte is not zero, and the slots in use are always 0..count-1,
// so list index and slot index are the same. Every change is saved at once, atomically; a change
// whose save fails is not made, so the file and the library always agree.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "base/file_refusal.h"
#include "macros/macro_codec.h"

namespace kvr {

inline constexpr std::size_t kPCMacroSlots = 100;
inline constexpr std::size_t kPCMacroRecordSize = kMacroNameSize + kMacroContentSize;  // 272
inline constexpr std::size_t kPCMacroFileSize = kPCMacroSlots * kPCMacroRecordSize;    // 27200
inline constexpr std::string_view kPCMacroFileName = "Macro.bin";
inline constexpr std::string_view kDefaultLibraryResource = "PCMacroData";

struct PCMacroSlot {
    MacroName name{};
    MacroContent content{};

    bool inUse() const { return macroNameInUse(name); }
    friend bool operator==(const PCMacroSlot&, const PCMacroSlot&) = default;
};

using PCMacroSlots = std::array<PCMacroSlot, kPCMacroSlots>;

enum class LibraryResult {
    Done,
    Duplicate,    // the name is taken already (Str106); nothing changed
    Full,         // no room for another entry; nothing changed
    NoSuchEntry,  // the index holds no entry; nothing changed
    FileError,    // a file could not be read or written; nothing changed, see error()
    Refused,      // an imported file or an entry fails its check; nothing changed, see refusal()
};

class PCMacroLibrary {
public:
    // The library works on the file at `path`; nothing is read until CheckPCMacro. With an empty
    // path it lives in memory only (a window that must leave the user's files alone).
    explicit PCMacroLibrary(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // CheckPCMacro: loads the file, or creates it from `defaultLibrary` (the built-in
    // "PCMacroData") when there is none. A short file of whole records fills only the records
    // it holds; records in use after a free slot move up to close the gap. FileError when the
    // file cannot be read or created, is not a regular file, or is not a library at all (not
    // whole records, or more than 100): the library then holds the defaults in memory, and a
    // file that is not a library is never written. Every change reads the file again and saves
    // it under its exclusive lock, so changes of other programs in between are kept.
    LibraryResult CheckPCMacro(std::span<const std::uint8_t> defaultLibrary);

    // Number of entries in use; the slots 0..count-1.
    std::size_t count() const;
    bool full() const { return count() >= kPCMacroSlots; }
    const PCMacroSlots& allSlots() const { return slots_; }
    const PCMacroSlot& slot(std::size_t index) const { return slots_.at(index); }
    // RefreshPCMacroName: the names of the entries in use, in slot order.
    std::vector<std::string> names() const;
    std::string name(std::size_t index) const;

    // ApplyMacroName for a new entry: appended after the last one with an empty content. The
    // name is stored cut to 8 UTF-16 units. Duplicate when it equals an entry's name exactly.
    LibraryResult addEntry(std::string_view name);
    // ApplyMacroName for a rename; renaming an entry to its own name is a duplicate too.
    LibraryResult rename(std::size_t index, std::string_view name);
    // Btn_DelPCMacroClick: the later entries move down one slot; slot 99 becomes free.
    LibraryResult remove(std::size_t index);
    // A recording or an edit stored into an entry's content.
    LibraryResult setContent(std::size_t index, const MacroContent& content);

    // Btn_ImportOneClick: the file's first record as a new last entry; only while fewer than 99
    // entries are in use. Duplicate when its 16 name bytes equal an entry's. Refused when the file
    // fails macroFileRefusal. On Done `index` is the new entry.
    LibraryResult importOne(const std::filesystem::path& file, std::size_t* index = nullptr);
    // Btn_ImportClick: the file's records replace the library's slot by slot as far as the file
    // goes; later slots keep theirs; gaps are closed. Refused when the file fails
    // macroFileRefusal: one damaged record and none is taken.
    LibraryResult importAll(const std::filesystem::path& file);
    // Btn_ExportOneClick: one 272-byte record.
    LibraryResult exportOne(std::size_t index, const std::filesystem::path& file);
    // Btn_ExportClick: all 100 records.
    LibraryResult exportAll(const std::filesystem::path& file);

    // RefreshPCMacro: saves all 100 records.
    LibraryResult RefreshPCMacro();

    // The 27200 bytes of the file.
    std::vector<std::uint8_t> fileBytes() const;
    // The message of the last FileError.
    const std::string& error() const { return error_; }
    // The reason of the last Refused.
    const FileRefusal& refusal() const { return refusal_; }

private:
    // One read-change-write of the file under its exclusive lock: the file is read again,
    // `edit` changes the slots, and they are saved; on Done they become the library.
    LibraryResult change(const std::function<LibraryResult(PCMacroSlots&)>& edit);
    // The file's records become the library; FileError for a file that is not a library.
    LibraryResult reload();
    LibraryResult fileError(const FileResult& result);
    LibraryResult refused(const FileRefusal& refusal);
    LibraryResult notALibrary(const std::string& message);
    LibraryResult unusableFile();

    std::filesystem::path path_;
    PCMacroSlots slots_{};
    std::string error_;
    FileRefusal refusal_;
    // The file is not a library: it is never written; why, as found at start.
    bool refusedFile_ = false;
    Refusal fileRefusal_;
    std::string fileError_;
};

// Records read from library bytes into `slots`, as far as the bytes go (a partial last record
// is read as far as it goes too); the used slots are then made contiguous.
void readLibraryRecords(std::span<const std::uint8_t> bytes, PCMacroSlots& slots);
std::size_t usedSlots(const PCMacroSlots& slots);
// Closes gaps: slots in use keep their order and move to 0..count-1.
void compactLibrary(PCMacroSlots& slots);
std::vector<std::uint8_t> libraryBytes(const PCMacroSlots& slots);
std::array<std::uint8_t, kPCMacroRecordSize> recordBytes(const PCMacroSlot& slot);

}  // namespace kvr
