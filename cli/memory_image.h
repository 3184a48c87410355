#pragma once
// The mouse's whole 1024-byte memory as a file: read out for safekeeping, and written back only
// when it is whole and belongs to this mouse.
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "device/emulated_mouse.h"

namespace kvr {

class MouseSession;

// Reads the whole memory of the open mouse; why not, on failure.
std::variant<MouseMemory, std::string> readWholeMemory(MouseSession& session);

// Why a memory image cannot go to the open mouse: a wrong size, a block or a macro whose checksum
// fails, a broken value pair, or another mouse's identity. Empty when it can.
std::optional<std::string> imageRefusal(std::span<const std::uint8_t> image, MouseSession& session);

// Reads the file whole; why not, on failure (including a size other than 1024 bytes).
std::variant<MouseMemory, std::string> readMemoryImage(const std::filesystem::path& path,
                                                       MouseSession& session);

// Writes the image's regions (parameter block, profile block, the macro area when the mouse
// keeps macros) to the mouse; why not, on failure.
std::optional<std::string> writeMemoryImage(const MouseMemory& image, MouseSession& session);

}  // namespace kvr
