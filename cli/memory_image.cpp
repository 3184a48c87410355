#include "cli/memory_image.h"

#include <algorithm>
#include <array>
#include <variant>

#include "base/file_io.h"
#include "cli/mouse_session.h"
#include "cycle/file_checks.h"

namespace kvr {

namespace {

// Reads move at most 255 bytes per start command, as the macro area's reads do.
constexpr std::size_t kReadPiece = 255;

}  // namespace

std::variant<MouseMemory, std::string> readWholeMemory(MouseSession& session) {
    CommandProtocol& protocol = session.protocol();
    if (!protocol.SendCommand(BeginCmd) || !protocol.SendCommand(StatusCmd) ||
        protocol.report()[1] != kStatusReplyTag) {
        return std::string("The mouse does not answer.");
    }
    if (!(protocol.report()[2] & kStatusReadyMask)) {
        (void)protocol.SendCommand(EndCmd);
        return std::string("The mouse is not ready.");
    }
    MouseMemory memory{};
    std::array<std::uint8_t, kReadPiece + kChunkSize> buffer{};
    std::string failure;
    for (std::size_t address = 0; address < kMouseMemorySize && failure.empty();
         address += kReadPiece) {
        const std::size_t length = std::min(kReadPiece, kMouseMemorySize - address);
        if (!protocol.ReadBlock(static_cast<std::uint16_t>(address),
                                static_cast<std::uint16_t>(length), buffer, length) ||
            protocol.failedChunks() != 0) {
            // A hole of 0xFF bytes would pass for memory; a dump is whole or none.
            failure = "The mouse did not give its memory from address " + std::to_string(address) +
                      "; nothing was saved.";
            break;
        }
        std::copy_n(buffer.begin(), length, memory.begin() + static_cast<std::ptrdiff_t>(address));
    }
    // The exchange is closed whatever its answer.
    (void)protocol.SendCommand(EndCmd);
    if (!failure.empty()) return failure;
    return memory;
}

Refusal imageRefusal(std::span<const std::uint8_t> image, MouseSession& session) {
    return memoryImageRefusal(image, MouseKind::of(session.cycle()));
}

std::variant<MouseMemory, std::string, FileRefusal> readMemoryImage(
    const std::filesystem::path& path, MouseSession& session) {
    // One byte more than an image holds tells a long file from a whole one.
    const FileBytes read = readFileStart(path, kMouseMemorySize + 1);
    if (!read.result) return read.result.error;
    const std::vector<std::uint8_t>& bytes = read.bytes;
    if (auto refusal = imageRefusal(bytes, session)) return *refusal;
    MouseMemory memory{};
    std::ranges::copy(bytes, memory.begin());
    return memory;
}

std::optional<std::string> writeMemoryImage(const MouseMemory& image, MouseSession& session) {
    const ParamLayout* layout = paramLayout(session.link().deviceVariant());
    if (!layout) return std::string("The mouse's memory variant is unknown.");
    DeviceImages& images = session.cycle().images();
    // The whole room of the image, so the chunk padding comes from the file too.
    const auto room = layout->variant == 1 ? std::span<std::uint8_t>(images.paramV1.bytes)
                                           : std::span<std::uint8_t>(images.paramV2.bytes);
    std::copy_n(image.begin() + kMemoryParamAddress, room.size(), room.begin());
    std::copy_n(image.begin() + kMemoryProfileAddress, images.profile.bytes.size(),
                images.profile.bytes.begin());
    std::copy_n(image.begin() + kMemoryMacroAddress, images.macroArea.bytes.size(),
                images.macroArea.bytes.begin());
    return session.writeFailure(session.cycle().WriteImagesAsTheyStand());
}

}  // namespace kvr
