// A memory image given to `restore`: read from its file, checked against the open mouse and
// written to it. What is written must pass the check again as the mouse now holds it.
#include <cstdint>
#include <span>
#include <variant>

#include "cli/memory_image.h"
#include "cycle/file_checks.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    fuzz::EmulatedSession mouse;
    MouseSession& session = *mouse.session;
    const std::span<const std::uint8_t> bytes(data, size);
    const bool refused = imageRefusal(bytes, session).has_value();
    const auto image = readMemoryImage(fuzz::scratchFile(bytes), session);
    const MouseMemory* taken = std::get_if<MouseMemory>(&image);
    if ((taken != nullptr) == refused) fuzz::broken("restore and the image check disagree");
    if (!taken) return 0;
    if (const auto failure = writeMemoryImage(*taken, session)) {
        fuzz::broken("a sound image is not written: " + *failure);
    }
    if (const Refusal refusal = memoryImageRefusal(mouse.mouse->memory(),
                                                   MouseKind::of(session.cycle()))) {
        fuzz::broken("a restored image leaves a memory refused for " + refusal->reason);
    }
    return 0;
}
