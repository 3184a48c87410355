// A profile file loaded onto an open mouse and written to it. A file the check takes must leave
// a memory that passes the same checks as a memory image.
#include <cstdint>
#include <span>

#include "cycle/file_checks.h"
#include "cycle/profile_file.h"
#include "cycle/read_write_cycle.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    fuzz::EmulatedSession mouse;
    MouseSession& session = *mouse.session;
    const auto file = fuzz::scratchFile(std::span(data, size));
    const ProfileLoad loaded = session.profileFiles().load(file);
    if (!loaded) return 0;
    if (session.cycle().DownloadParameter() != WriteResult::Written) {
        fuzz::broken("a loaded profile is not written");
    }
    if (const Refusal refusal = memoryImageRefusal(mouse.mouse->memory(),
                                                   MouseKind::of(session.cycle()))) {
        fuzz::broken("a loaded profile leaves a memory refused for " + refusal->reason);
    }
    return 0;
}
