#pragma once
// Checks of a profile file and a memory image before either goes to the mouse: the whole file is
// taken or none of it. A block whose checksum fails would come back as the built-in template, and
// another mouse's identity, capability or macro area would lock this program out of the mouse or
// lose its macros; so such a file is refused with the reason.
#include <cstdint>
#include <functional>
#include <span>

#include "base/file_refusal.h"
#include "params/param_layout.h"

namespace kvr {

class ReadWriteCycle;

// What a file must agree with: the connected mouse's kind.
struct MouseKind {
    const ParamLayout* layout = nullptr;
    bool macroSupport = false;
    std::function<bool(std::uint8_t manufacturerId, std::uint8_t productId)> identityPasses;

    static MouseKind of(const ReadWriteCycle& cycle);
};

// A parameter block of `kind.layout->blockSize` bytes: its checksum, its value pairs, the
// identity, the USB ids where the variant keeps them, and a macro capability that agrees.
Refusal paramBlockRefusal(std::span<const std::uint8_t> param, const MouseKind& kind);
// The button block of profile_block::kSize bytes: its checksum.
Refusal profileBlockRefusal(std::span<const std::uint8_t> profile);
// A profile file: the size this mouse's profile has (with the macro area exactly when the mouse
// keeps macros), then each block.
Refusal profileFileRefusal(std::span<const std::uint8_t> file, const MouseKind& kind);
// A whole memory image of 1024 bytes: each block at its address.
Refusal memoryImageRefusal(std::span<const std::uint8_t> image, const MouseKind& kind);

}  // namespace kvr
