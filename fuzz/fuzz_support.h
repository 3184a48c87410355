#pragma once
// What the fuzz drivers share: the input as a file for the readers that take a path, and a
// mouse on a virtual bus for the readers that check a file against the connected mouse.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "cli/mouse_session.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"

namespace kvr::fuzz {

// Writes `bytes` to a file of this process's own scratch folder and returns its path; `name`
// tells apart the files one input needs at once. The folder goes when the process ends.
std::filesystem::path scratchFile(std::span<const std::uint8_t> bytes,
                                  const std::string& name = "input");
// A path in the scratch folder where nothing is yet.
std::filesystem::path scratchPath(const std::string& name);

// A found and read mouse holding `memory`, as a command sees it (the built-in image is that of
// a variant 1 mouse); a mouse that does not open stops the run.
struct EmulatedSession {
    explicit EmulatedSession(const MouseMemory& memory = factoryMemory());
    VirtualBus bus;
    std::shared_ptr<EmulatedMouse> mouse;
    VirtualPacer pacer;
    std::unique_ptr<MouseSession> session;
};

// Stops the run with a message when a reader broke its promise; the fuzzer keeps the input.
[[noreturn]] void broken(const std::string& what);

}  // namespace kvr::fuzz
