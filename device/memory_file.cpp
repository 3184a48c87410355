#include "device/memory_file.h"

#include <algorithm>
#include <memory>

namespace kvr {

namespace {

MemoryFileOpen refused(MemoryFileState state, std::string message) {
    MemoryFileOpen result;
    result.state = state;
    result.message = std::move(message);
    return result;
}

}  // namespace

MemoryFileOpen openMemoryFile(const std::filesystem::path& path, MemoryFileUse use,
                              FileLock* lock) {
    removeStaleSaves(path);
    bool created = false;
    std::error_code ec;
    if (use == MemoryFileUse::Write && !std::filesystem::exists(saveTarget(path), ec) && !ec) {
        if (const FileResult made = createFileIfMissing(path, factoryMemory()); !made)
            return refused(MemoryFileState::Unwritable, made.error);
        created = true;
    }

    FileLock own;
    FileLock& held = lock ? *lock : own;
    const FileResult locked =
        held.lock(path, use == MemoryFileUse::Write ? LockKind::Exclusive : LockKind::Shared);
    if (!locked) {
        if (locked.busy) return refused(MemoryFileState::Busy, locked.error);
        const auto type = std::filesystem::status(path, ec).type();
        return refused(type != std::filesystem::file_type::regular &&
                               type != std::filesystem::file_type::not_found
                           ? MemoryFileState::NotAFile
                           : MemoryFileState::Unreadable,
                       locked.error);
    }
    if (!held.held()) {
        // No file, and a read makes none: the mouse is new.
        MemoryFileOpen fresh;
        fresh.memory = factoryMemory();
        fresh.state = MemoryFileState::Missing;
        return fresh;
    }

    const FileBytes read = readFileStart(path, kMouseMemorySize + 1);
    if (!read.result) return refused(MemoryFileState::Unreadable, read.result.error);
    if (read.bytes.size() != kMouseMemorySize) {
        const std::uintmax_t size = std::filesystem::file_size(saveTarget(path), ec);
        return refused(MemoryFileState::WrongSize,
                       path.string() + ": holds " + std::to_string(ec ? read.bytes.size() : size) +
                           " bytes, but the mouse's memory is " +
                           std::to_string(kMouseMemorySize) + " bytes; it is left as it is");
    }
    // Every write of the mouse saves the file: refuse now what could not be saved then.
    if (use == MemoryFileUse::Write) {
        if (const std::string why = saveRefusal(path); !why.empty())
            return refused(MemoryFileState::Unwritable, path.string() + ": " + why);
    }
    MemoryFileOpen result;
    std::copy_n(read.bytes.begin(), kMouseMemorySize, result.memory.begin());
    result.state = created ? MemoryFileState::Created : MemoryFileState::Loaded;
    return result;
}

MemoryFileSave saveMemoryFile(const std::filesystem::path& path,
                              std::span<const std::uint8_t, kMouseMemorySize> memory) {
    const FileResult saved = writeFileAtomically(path, memory);
    return {saved.ok, saved.error};
}

void bindMemoryFile(EmulatedMouse& mouse, const std::filesystem::path& path,
                    std::function<void(const std::string&)> onError) {
    auto lock = std::make_shared<FileLock>();
    mouse.onTransferBegin = [&mouse, path, lock, onError] {
        // A transfer the host never closed keeps what it has.
        if (lock->held()) return true;
        const MemoryFileOpen opened = openMemoryFile(path, MemoryFileUse::Write, lock.get());
        if (!opened.ok()) {
            lock->unlock();
            onError(opened.message);
            return false;
        }
        std::ranges::copy(opened.memory, mouse.memory().begin());
        return true;
    };
    mouse.onMemoryWritten = [path, onError](const MouseMemory& memory) {
        if (const MemoryFileSave saved = saveMemoryFile(path, memory); !saved)
            onError(saved.message);
    };
    mouse.onTransferEnd = [lock] { lock->unlock(); };
}

}  // namespace kvr
