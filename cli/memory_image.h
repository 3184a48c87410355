#pragma once
// The mouse's whole 1024-byte memory as a file: read out for safekeeping, and written back only
// when it is whole and belongs to this mouse.
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "base/file_refusal.h"
#include "device/emulated_mouse.h"

namespace kvr {

class MouseSession;

// Reads the whole memory of the open mouse; why not, on failure.
std::variant<MouseMemory, std::string> readWholeMemory(MouseSession& session);

// Why a memory image cannot go to the open mouse (memoryImageRefusal); empty when it can.
Refusal imageRefusal(std::span<const std::uint8_t> image, MouseSession& session);

// Reads the file whole; the system's message when it cannot be read, the refusal when it is
// not a whole image of this mouse.
std::variant<MouseMemory, std::string, FileRefusal> readMemoryImage(
    const std::filesystem::path& path, MouseSession& session);

// Writes the image's regions (parameter block, profile block, the macro area when the mouse
// keeps macros) to the mouse; why not, on failure.
std::optional<std::string> writeMemoryImage(const MouseMemory& image, MouseSession& session);

}  // namespace kvr
